#pragma once
// TAG_USERDATA: everything the application knows. One per process, built by the
// UI thread right after the main window and handed to every command and body
// handler.
//
// Threads: initialised on the UI thread before the worker exists; then used by
// the worker (commands, updates, drawing); shut down on the UI thread after the
// worker has ended.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "edx/EdxBody.h"
#include "edx/EdxColors.h"
#include "platform/AudioLibrary.h"
#include "platform/Geometry.h"
#include "platform/Menu.h"
#include "platform/PlatformServices.h"
#include "platform/WindowHost.h"
#include "player/Player.h"
#include "skin/SkinResources.h"
#include "state/AppHooks.h"

namespace dz {

class EdxWorld;

class TAG_USERDATA {
public:
    static constexpr int kMenuCount = 20;
    static constexpr ColorRef kDefaultKeySubstitute = 0x000100;  // red 0, green 1, blue 0

    // Builds the player first (pxtone_Ready, loop off, random seed), then the defaults.
    TAG_USERDATA(WindowHost* window, AudioLibrary& library, AppHooks hooks = {});
    TAG_USERDATA(const TAG_USERDATA&) = delete;
    TAG_USERDATA& operator=(const TAG_USERDATA&) = delete;
    // Runs the shutdown sequence if it has not run.
    virtual ~TAG_USERDATA();

    // Menus, library release, skin resources; runs once (shut_down).
    void shutdown();

    // ---- fields, in record order ----
    WindowHost* main_window;
    tagPLAYER player;
    SkinResources skin;  // cursor_images, skin_images, skin_colors, region_normal/shade
    ColorRef transparent_key = 0;
    ColorRef key_substitute = kDefaultKeySubstitute;
    std::string ini_path;   // settings file path
    std::string skin_name;  // selected skin
    int skin_menu_base = 0;
    int japanese = 0;
    std::array<std::shared_ptr<Menu>, kMenuCount> menus{};  // [1] Options, [2] Skins
    EdxBody* body_main = nullptr;
    EdxBody* body_main_shade = nullptr;
    EdxBody* body_pledit = nullptr;
    EdxBody* body_pledit_shade = nullptr;
    EdxBody* body_strip_cover = nullptr;
    EdxBody* body_strip_add = nullptr;
    EdxBody* body_strip_rem = nullptr;
    EdxBody* body_strip_sel = nullptr;
    EdxBody* body_strip_misc = nullptr;
    EdxBody* body_strip_list = nullptr;
    int visible_player = 1;
    int shade_player = 0;
    int visible_pledit = 0;
    int shade_pledit = 0;
    int options_held = 0;
    int always_on_top = 0;  // the user's wish, saved as Active
    // 1: the window system does not keep windows on top (Wayland). The Always-on-top item
    // is then grayed and unchecked, and always_on_top keeps the wish it had.
    int topmost_refused = 0;
    int double_size = 0;
    int easy_move = 1;
    int shuffle = 0;
    int repeat = 0;
    int time_reverse = 0;
    int seek_dragging = 0;
    float seek_target_seconds = 0;
    float seek_ratio = 0;
    int volume_dragging = 0;
    int list_dirty = 0;
    // 1: entries got their information after the playlist was last saved (saved once
    // the background reads are done).
    int list_info_unsaved = 0;
    int list_cursor = -1;
    int row_height = 14;
    int scroll_page = 4;
    int scroll_top = 0;
    int scroll_max = 0;
    int shut_down = 0;

    // ---- not part of the record's layout ----
    AppHooks hooks;             // module entry points
    PlatformServices services;  // dialogs, pop-up menus, text, images, URLs
    EdxWorld* world = nullptr;  // set when the world is attached
    // Posts a command id to the worker, as a menu choice does (any thread).
    std::function<void(int id)> post_command;
    // A left release on a main-menu button opens the main menu only once the double-click
    // time has passed without a second click (which closes the window instead): the menu
    // would otherwise take the second click. Worker thread.
    bool main_menu_pending = false;
    std::chrono::steady_clock::time_point main_menu_due;
    Point main_menu_point;
};

}  // namespace dz
