#include "app/ModuleHooks.h"

#include "app/Layout.h"
#include "app/TagUserData.h"
#include "app/UiCall.h"
#include "app/commands/Commands.h"
#include "app/commands/DropFiles.h"
#include "io/AtomicFile.h"
#include "io/PlaylistStore.h"
#include "io/SettingsSections.h"
#include "platform/Dialogs.h"
#include "platform/HttpClient.h"

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
    c.add_path = [](TAG_USERDATA& d, const std::string& path) { Store(d).AddPath(path); };
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
    // Add Files: a playing tune is paused around the additions and the Play command
    // runs afterwards, as around a drop (a tune that was paused is resumed by the pause
    // step and stopped by the play step). The chosen files are tunes: each goes to
    // add_file, and the list is saved once at the end.
    c.add_files_dialog = [](TAG_USERDATA& d) {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return;
        bool japanese = d.japanese != 0;
        std::vector<std::string> files =
            RunOnUiThread(d, [dialogs, japanese] { return dialogs->open_files(japanese); });
        if (files.empty()) return;
        bool paused = pause_for_list_change(d);
        for (const std::string& f : files) d.player.add_file(f);
        d.list_dirty = 1;
        Store(d).SavePlaylist();
        if (paused) cmd_play(&d);
    };
    // Open Playlist: the chosen file replaces the playlist, which is then mirrored into
    // the settings file.
    c.open_playlist_dialog = [](TAG_USERDATA& d) {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return;
        bool japanese = d.japanese != 0;
        std::optional<std::string> path =
            RunOnUiThread(d, [dialogs, japanese] { return dialogs->open_playlist(japanese); });
        if (!path || path->empty()) return;
        PlaylistStore store = Store(d);
        store.OpenPlaylist(*path);
        d.list_dirty = 1;
        store.SavePlaylist();
    };
    // Save Playlist: the playlist is written to the chosen file only.
    c.save_playlist_dialog = [](TAG_USERDATA& d) {
        Dialogs* dialogs = d.services.dialogs;
        if (!dialogs) return;
        bool japanese = d.japanese != 0;
        std::optional<std::string> path =
            RunOnUiThread(d, [dialogs, japanese] { return dialogs->save_playlist(japanese); });
        if (!path || path->empty()) return;
        Store(d).SavePlaylist(*path);
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
    InstallSettings(hooks);
    InstallDialogs(hooks.commands);
    hooks.run_layout = [](TAG_USERDATA& d) { RunLayout(d); };
    hooks.apply_shape = ApplyShapeMask;
    // Still empty until their modules land: menus and skins (ui, skin), bodies (ui); the
    // Preferences and File Info dialogs.
    return hooks;
}

}  // namespace dz
