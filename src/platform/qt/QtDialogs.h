#pragma once
// The dialogs on Qt. The file and folder choosers are Qt's own; About, File Info,
// Add URL and Preferences are simple Qt dialogs until their layouts are built.

#include "platform/Dialogs.h"

namespace dz {

class QtDialogs : public Dialogs {
public:
    void about(bool japanese) override;
    void file_info(const FileInfoText& info, bool japanese) override;
    std::optional<std::string> add_url(bool japanese) override;
    std::optional<PreferenceValues> preferences(const PreferenceValues& current,
                                                bool japanese) override;
    std::vector<std::string> open_files(bool japanese) override;
    std::optional<std::string> choose_folder(bool japanese) override;
    std::optional<std::string> open_playlist(bool japanese) override;
    std::optional<std::string> save_playlist(bool japanese) override;
};

}  // namespace dz
