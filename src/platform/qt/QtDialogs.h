#pragma once
// The dialogs on Qt, each modal to the owner (the main window): About, File Info,
// Add URL and Preferences laid out like their templates, the jump box, and Qt's file dialogs for
// Add Files, Add Folder, Open Playlist and Save Playlist. UI thread only.

#include "platform/Dialogs.h"

class QFileDialog;
class QWidget;

namespace dz {

class QtDialogs : public Dialogs {
public:
    // `owner` may be null (no owner). With `native_file_dialogs` false the file dialogs are
    // always Qt's own widgets, whatever the desktop offers (tests drive those).
    explicit QtDialogs(QWidget* owner = nullptr, bool native_file_dialogs = true);

    void about(bool japanese) override;
    void file_info(const FileInfoText& info, bool japanese) override;
    std::optional<std::string> add_url(bool japanese) override;
    std::optional<PreferenceValues> preferences(const PreferenceValues& current,
                                                bool japanese) override;
    std::vector<std::string> open_files(bool japanese) override;
    std::optional<std::string> choose_folder(bool japanese) override;
    std::optional<std::string> open_playlist(bool japanese) override;
    std::optional<std::string> save_playlist(bool japanese) override;
    std::optional<int> jump_to_entry(const std::vector<JumpEntry>& entries, int current,
                                     bool japanese) override;

private:
    void prepare(QFileDialog& dialog) const;

    QWidget* owner_;
    bool native_file_dialogs_;
};

}  // namespace dz
