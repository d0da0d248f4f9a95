#include "app/AppCallback.h"

#include <filesystem>
#include <system_error>

#include "app/CommandTable.h"
#include "edx/EdxCodes.h"
#include "edx/EdxRender.h"
#include "edx/EdxWorld.h"
#include "state/HookCalls.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// The settings file lives in the current directory (not the program's folder). The whole
// path is kept: a shortened path would read and write some other file.
std::string MakeIniPath() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    if (ec) return "Dezidu.ini";
    std::string s = dir.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s + "Dezidu.ini";
}

// A file "japanese.ico" in the current directory chooses the Japanese texts for the run.
int DetectJapanese() {
    std::error_code ec;
    return std::filesystem::is_regular_file("japanese.ico", ec) ? 1 : 0;
}

}  // namespace

// Background reads and downloads that finished go into their entries. Rows are rebuilt
// when entries left; the list is saved after downloads (rare, and what they brought is
// worth keeping) and, for the titles and lengths read, once when no read is left, not
// after every batch of a large playlist being read.
void ApplyLoadedEntries(TAG_USERDATA& data) {
    const int changes = data.player.apply_loaded();
    if (changes & tagPLAYER::kEntriesRemoved) data.list_dirty = 1;
    if (changes & tagPLAYER::kInfoApplied) data.list_info_unsaved = 1;
    const bool reads_done = !data.player.loads_pending();
    if ((data.list_info_unsaved && reads_done) ||
        (changes & (tagPLAYER::kEntriesRemoved | tagPLAYER::kDownloadsApplied))) {
        save_playlist(data);
        if (reads_done) data.list_info_unsaved = 0;
    }
    if (changes & tagPLAYER::kFilesDownloaded)
        call_hook(data.hooks.commands.open_downloaded_playlists, data);
}

void RunInitialisation(TAG_USERDATA& data) {
    build_accelerators(&data);                                                     // 1
    if (data.main_window) data.main_window->set_colour_key(data.transparent_key);  // 2
    data.ini_path = MakeIniPath();                                                 // 3
    data.japanese = DetectJapanese();                                              // 4
    call_hook(data.hooks.read_setting_section, data);                              // 5
    call_hook(data.hooks.read_position_section, data);                             // 6
    call_hook(data.hooks.open_stored_playlist, data);                              // 7
    call_hook(data.hooks.read_property_section, data);                             // 8
    call_hook(data.hooks.build_menus, data);                                       // 9
    call_hook(data.hooks.select_skin, data);                                       // 10
    call_hook(data.hooks.create_bodies, data);                                     // 11
    call_hook(data.hooks.run_layout, data);                                        // 12
}

bool ShapeApplies(const TAG_USERDATA& data) {
    if (data.shade_player) {
        return data.body_main_shade && !data.skin.region_shade.polygons.empty();
    }
    return data.body_main && !data.skin.region_normal.polygons.empty();
}

void ComposeAppFrame(TAG_USERDATA& data) {
    if (!data.world) return;
    std::function<void(EdxWorld*)> cut;
    if (data.hooks.apply_shape && ShapeApplies(data)) {
        cut = [&data](EdxWorld* w) { data.hooks.apply_shape(data, *w); };
    }
    ComposeFrame(data.world, data.transparent_key, data.key_substitute, cut);
}

int AppWorldHandler(EdxBody* body, int code, TAG_USERDATA* data) {
    if (!data) return 0;
    EdxWorld* world = body->world;
    switch (code) {
        case EDX_CREATE:
            data->world = world;
            RunInitialisation(*data);
            return 0;
        case EDX_UPDATE:
            ApplyLoadedEntries(*data);
            data->player.tick();
            RequestCursor(world);
            return 0;
        case EDX_FRAME:
            ComposeAppFrame(*data);
            return 0;
        case EDX_SET_CURSOR:
            return static_cast<int>(SetBodyCursor(world, kArrowCursor));
        default:
            return 0;
    }
}

}  // namespace dz
