#include "app/ModuleHooks.h"

#include "app/CommandTable.h"
#include "app/Layout.h"
#include "app/PlaylistStore.h"
#include "app/SettingsSections.h"
#include "app/UiCall.h"
#include "app/commands/AddPaths.h"
#include "app/commands/Commands.h"
#include "io/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/HttpClient.h"
#include "skin/SkinArchive.h"
#include "skin/SkinSelection.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"

namespace dz {

namespace {

// Without a URL client no URL exists and nothing downloads.
class NoHttp : public HttpClient {
public:
    bool exists(const std::string&) override { return false; }
    std::optional<std::string> fetch(const std::string&) override { return std::nullopt; }
};

// The playlist in files, over the state's player and settings path.
PlaylistStore Store(TAG_USERDATA& d) {
    static NoHttp no_http;
    return PlaylistStore(d.player, d.services.http ? *d.services.http : no_http, d.ini_path,
                         &d.list_dirty);
}

// Start-up steps 5-8 (UI thread, before the worker exists) and the writers the commands
// call (worker thread).
void InstallSettings(AppHooks& h) {
    h.read_setting_section = [](TAG_USERDATA& d) {
        // Saves killed before their rename leave whole copies beside the file; clear the
        // old ones (a write in progress in another instance keeps its fresh file).
        remove_stale_temp_files(d.ini_path);
        ReadSettingSection(d);
    };
    h.read_position_section = [](TAG_USERDATA& d) {
        Rect r = d.main_window ? d.main_window->window_rect() : Rect{};
        PositionValues v = ReadPositionSection(d, r.left, r.top);
        if (d.main_window && (v.window_left != r.left || v.window_top != r.top)) {
            d.main_window->move_window(v.window_left, v.window_top);
        }
    };
    h.open_stored_playlist = [](TAG_USERDATA& d) { Store(d).OpenPlaylist(); };
    h.read_property_section = [](TAG_USERDATA& d) { ReadPropertySection(d); };

    CommandHooks& c = h.commands;
    c.add_paths = [](TAG_USERDATA& d, const std::vector<std::string>& paths) {
        return Store(d).AddPaths(paths);
    };
    c.open_playlist_file = [](TAG_USERDATA& d, const std::string& path) {
        return Store(d).OpenPlaylist(path);
    };
    c.save_playlist_file = [](TAG_USERDATA& d, const std::string& path) {
        return Store(d).SavePlaylist(path);
    };
    c.save_settings = [](TAG_USERDATA& d) { WriteSettingSection(d); };
    c.save_playlist = [](TAG_USERDATA& d) { Store(d).SavePlaylist(); };
    c.save_position = [](TAG_USERDATA& d) {
        WindowHost* host = d.main_window;
        Rect r{};
        // A window that cannot be read (the UI thread takes no calls) keeps its stored
        // position rather than being saved at 0, 0.
        if (host && !host->call_on_ui_thread([host, &r]() -> std::intptr_t {
                r = host->window_rect();
                return 1;
            }))
            return;
        WritePositionSection(d, r.left, r.top);
    };
}

// The dialogs of the Dialogs seam, opened on the UI thread while the worker waits;
// each gives the user's answer, nothing once the UI thread stopped taking calls.
template <class Answer>
Answer Ask(TAG_USERDATA& d, Answer (Dialogs::*ask)(bool japanese)) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return Answer{};
    bool japanese = d.japanese != 0;
    return RunOnUiThread(d, [dialogs, japanese, ask] { return (dialogs->*ask)(japanese); });
}

void InstallDialogs(CommandHooks& c) {
    c.ask_url = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::add_url); };
    c.choose_folder = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::choose_folder); };
    c.choose_files = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::open_files); };
    c.choose_playlist_to_open = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::open_playlist); };
    c.choose_playlist_to_save = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::save_playlist); };
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

// The Skins menu (menus[2]) with its fixed items and the skin items. The menus module
// builds all twenty menus once it lands and appends the skins with BuildSkinMenu.
void MakeSkinsMenu(TAG_USERDATA& d) {
    auto menu = std::make_shared<Menu>();
    MenuItem reload;
    reload.id = 54;
    reload.text = d.japanese ? "スキンフォルダを再読み込み(&R)" : "Reload Skins Folder";
    menu->items.push_back(reload);
    MenuItem separator;
    separator.separator = true;
    menu->items.push_back(separator);
    d.menus[2] = std::move(menu);
    BuildSkinMenu(d);
    CheckSkinItems(d);
}

// Start-up step 9-10 (UI thread) and the skin commands (worker thread).
void InstallSkins(AppHooks& h) {
    h.build_menus = MakeSkinsMenu;
    h.select_skin = [](TAG_USERDATA& d) {
        // Members unpacked by a process killed during a skin load.
        RemoveStaleZtmFiles();
        SelectSkin(d.skin_name, d);
    };
    h.skin_menu_command = SkinMenuCommand;
    h.commands.rebuild_menus = MakeSkinsMenu;
    h.commands.update_menu_checks = CheckSkinItems;
}

}  // namespace

AppHooks DefaultAppHooks() {
    AppHooks hooks;
    hooks.drop_files = drop_files;
    InstallSettings(hooks);
    InstallDialogs(hooks.commands);
    hooks.run_layout = [](TAG_USERDATA& d) { RunLayout(d); };
    hooks.create_bodies = CreateTopLevelBodies;
    hooks.run_command = [](TAG_USERDATA& d, int id) { dispatch_command(id, &d); };
    hooks.apply_shape = ApplyShapeMask;
    // Still empty until their modules land: menus and skins (ui, skin), bodies (ui); the
    // Preferences and File Info dialogs.
    InstallSkins(hooks);
    // Still empty until their modules land: the menus (ui), bodies and layout (ui, edx),
    // the shape; the Preferences and File Info dialogs.
    return hooks;
}

}  // namespace dz
