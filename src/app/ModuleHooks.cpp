#include "app/ModuleHooks.h"

#include "app/TagUserData.h"
#include "app/UiCall.h"
#include "app/commands/DropFiles.h"
#include "platform/Dialogs.h"

namespace dz {

namespace {

// The dialogs of the Dialogs seam, opened on the UI thread while the worker waits.
void InstallDialogs(CommandHooks& c) {
    c.ask_url = [](TAG_USERDATA& d) -> std::optional<std::string> {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return std::nullopt;
        bool japanese = d.japanese != 0;
        return RunOnUiThread(d, [dialogs, japanese] { return dialogs->add_url(japanese); });
    };
    c.choose_folder = [](TAG_USERDATA& d) -> std::optional<std::string> {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return std::nullopt;
        bool japanese = d.japanese != 0;
        return RunOnUiThread(d, [dialogs, japanese] { return dialogs->choose_folder(japanese); });
    };
    c.add_files_dialog = [](TAG_USERDATA& d) {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return;
        bool japanese = d.japanese != 0;
        std::vector<std::string> files =
            RunOnUiThread(d, [dialogs, japanese] { return dialogs->open_files(japanese); });
        for (const std::string& f : files) add_path(d, f);
    };
    c.about_dialog = [](TAG_USERDATA& d) {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return;
        bool japanese = d.japanese != 0;
        RunOnUiThread(d, [dialogs, japanese] {
            dialogs->about(japanese);
            return 0;
        });
    };
}

}  // namespace

AppHooks DefaultAppHooks() {
    AppHooks hooks;
    hooks.drop_files = drop_files;
    InstallDialogs(hooks.commands);
    // Still empty until their modules land: the settings sections, the stored playlist and
    // add_path (io), menus and skins (ui, skin), bodies and layout (ui, edx), the shape.
    return hooks;
}

}  // namespace dz
