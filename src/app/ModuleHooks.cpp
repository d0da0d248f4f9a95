#include "app/ModuleHooks.h"

#include "app/CommandTable.h"
#include "app/DialogHooks.h"
#include "app/Layout.h"
#include "app/PlaylistStore.h"
#include "app/ResumePoint.h"
#include "app/SettingsSections.h"
#include "app/SkinChoice.h"
#include "app/commands/AddPaths.h"
#include "app/commands/Commands.h"
#include "io/AtomicFile.h"
#include "platform/HttpClient.h"
#include "skin/SkinArchive.h"
#include "skin/SkinSelection.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"
#include "ui/menus/CheckMarks.h"
#include "ui/menus/MenuBuilder.h"

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
    h.restore_resume_point = RestoreResumePoint;
    h.save_resume_point = SaveResumePoint;

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
    c.open_downloaded_playlists = [](TAG_USERDATA& d) {
        PlaylistStore::Opened opened = Store(d).OpenDownloadedPlaylists();
        if (opened == PlaylistStore::Opened::None) return;
        d.list_dirty = 1;
        if (opened == PlaylistStore::Opened::PlayFirst && !d.player.playlist.empty())
            d.player.play(0, 0);
    };
    c.save_settings = [](TAG_USERDATA& d) { WriteSettingSection(d); };
    c.save_playlist = [](TAG_USERDATA& d) { Store(d).SavePlaylist(); };
    c.save_position = [](TAG_USERDATA& d) {
        WindowHost* host = d.main_window;
        Rect r{};
        bool placed = true;
        // A window that cannot be read (the UI thread takes no calls) keeps its stored
        // position rather than being saved at 0, 0.
        if (host && !host->call_on_ui_thread([host, &r, &placed]() -> std::intptr_t {
                r = host->window_rect();
                placed = host->places_window();
                return 1;
            }))
            return;
        if (!placed) {
            // The window system placed the window and its position is unknown: the stored
            // one stays (a later run where the program places its window uses it).
            PositionValues stored{r.left, r.top, d.scroll_page};
            read_position_section(ProfileFile::load_or_empty(d.ini_path), stored);
            r.left = stored.window_left;
            r.top = stored.window_top;
        }
        WritePositionSection(d, r.left, r.top);
    };
}

// The skin names the Skins menu lists: the skins folder's, sorted.
std::vector<std::string> SkinMenuNames(TAG_USERDATA&) {
    return ListSkinNames(SkinsFolder());
}

// Start-up step 9 (UI thread), Reload Skins Folder and the check marks (worker thread).
void InstallMenus(AppHooks& h) {
    h.build_menus = [](TAG_USERDATA& d) { BuildMenus(d, SkinMenuNames(d)); };
    h.commands.rebuild_menus = h.build_menus;
    h.commands.update_menu_checks = RefreshCheckMarks;
}

// Start-up step 10 (UI thread) and the skin command (worker thread).
void InstallSkins(AppHooks& h) {
    h.select_skin = [](TAG_USERDATA& d) {
        // Members unpacked by a process killed during a skin load.
        RemoveStaleZtmFiles();
        SelectSkin(d.skin_name, d);
    };
    h.skin_menu_command = SkinMenuCommand;
}

}  // namespace

AppHooks DefaultAppHooks() {
    AppHooks hooks;
    hooks.drop_files = drop_files;
    hooks.open_paths = open_paths;
    InstallSettings(hooks);
    InstallDialogHooks(hooks.commands);
    InstallMenus(hooks);
    hooks.run_layout = [](TAG_USERDATA& d) { RunLayout(d); };
    hooks.create_bodies = CreateTopLevelBodies;
    hooks.run_command = [](TAG_USERDATA& d, int id) { dispatch_command(id, &d); };
    hooks.apply_shape = ApplyShapeMask;
    InstallSkins(hooks);
    return hooks;
}

}  // namespace dz
