#pragma once
// The program's dialogs. UI thread only; each blocks until closed (worker code
// reaches them through WindowHost::call_on_ui_thread).

#include <optional>
#include <string>
#include <vector>

namespace dz {

// What the File Info dialog shows about one tune, every field already formatted as
// UTF-8 text.
struct FileInfoText {
    std::string path;
    std::string name;
    std::string beats;     // beats per measure, decimal
    std::string tempo;     // beats per minute, no decimals
    std::string measures;  // measures played, decimal
    std::string length;    // "m:ss" of one play-through
    std::string format;    // the file's kind by its extension: "ptcop" or "pttune"
    std::string comment;
};

// The output choices of the Preferences dialog (values of PreferenceChoices.h), the
// output device by its listed name (empty: the default output), and how a tune plays with
// repeat off (loops and fade-out, in the ranges of PreferenceChoices.h).
struct PreferenceValues {
    int channels = 2;
    int sample_rate = 44100;
    int bits = 16;
    float buffer_seconds = 0.1f;
    bool direct_sound = true;
    std::string device;
    int play_loops = 1;
    int fade_seconds = 0;
    // The devices the output list offers after "Default", as the sound system lists them
    // when the dialog opens. Not changed by the dialog.
    std::vector<std::string> device_choices;
};

// One playlist entry as the jump box lists it, as UTF-8 text: the title the window shows and
// the file name (the last component of its path or URL).
struct JumpEntry {
    std::string title;
    std::string file_name;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void about(bool japanese) = 0;
    virtual void file_info(const FileInfoText& info, bool japanese) = 0;
    // The typed URL, or nullopt when cancelled.
    virtual std::optional<std::string> add_url(bool japanese) = 0;
    // Opens with `current`; the values confirmed with OK, or nullopt when cancelled. A list
    // left without a choice keeps its value from `current`; a buffer text that is no
    // number gives 0 seconds. A current device the choices lack is offered too, so OK
    // keeps it.
    virtual std::optional<PreferenceValues> preferences(const PreferenceValues& current,
                                                        bool japanese) = 0;
    // Chosen tune files, in the order the dialog gives them (empty when cancelled).
    virtual std::vector<std::string> open_files(bool japanese) = 0;
    virtual std::optional<std::string> choose_folder(bool japanese) = 0;
    virtual std::optional<std::string> open_playlist(bool japanese) = 0;
    // The file to write; ".ptlist" is appended to a name typed without an extension.
    virtual std::optional<std::string> save_playlist(bool japanese) = 0;
    // The jump box: a text field over the entries whose title or file name contains the
    // typed text (case folded, any script), in list order; `current` (an index into
    // `entries`, or -1) is chosen while the field is empty. The index of the entry chosen
    // with Enter, or nullopt when closed.
    virtual std::optional<int> jump_to_entry(const std::vector<JumpEntry>& entries, int current,
                                             bool japanese) = 0;
};

}  // namespace dz
