#pragma once
// Dialogs for tests: each returns the answer the test set and counts its calls.

#include <map>
#include <string>

#include "platform/Dialogs.h"

namespace dz {

class FakeDialogs : public Dialogs {
public:
    std::map<std::string, int> calls;  // by dialog name
    std::optional<std::string> url;
    std::optional<PreferenceValues> preference_answer;
    std::vector<std::string> files;
    std::optional<std::string> folder;
    std::optional<std::string> playlist_to_open;
    std::optional<std::string> playlist_to_save;
    std::optional<int> jump_answer;
    FileInfoText last_info;
    PreferenceValues last_preferences;  // what preferences() was opened with
    std::vector<JumpEntry> last_jump_entries;
    int last_jump_current = -1;

    void about(bool) override { ++calls["about"]; }
    void file_info(const FileInfoText& info, bool) override {
        ++calls["file_info"];
        last_info = info;
    }
    std::optional<std::string> add_url(bool) override {
        ++calls["add_url"];
        return url;
    }
    std::optional<PreferenceValues> preferences(const PreferenceValues& current, bool) override {
        ++calls["preferences"];
        last_preferences = current;
        return preference_answer;
    }
    std::vector<std::string> open_files(bool) override {
        ++calls["open_files"];
        return files;
    }
    std::optional<std::string> choose_folder(bool) override {
        ++calls["choose_folder"];
        return folder;
    }
    std::optional<std::string> open_playlist(bool) override {
        ++calls["open_playlist"];
        return playlist_to_open;
    }
    std::optional<std::string> save_playlist(bool) override {
        ++calls["save_playlist"];
        return playlist_to_save;
    }
    std::optional<int> jump_to_entry(const std::vector<JumpEntry>& entries, int current,
                                     bool) override {
        ++calls["jump_to_entry"];
        last_jump_entries = entries;
        last_jump_current = current;
        return jump_answer;
    }
};

}  // namespace dz
