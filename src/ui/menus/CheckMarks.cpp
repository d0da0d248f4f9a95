#include "ui/menus/CheckMarks.h"

#include <optional>
#include <string_view>

#include "state/CommandId.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

constexpr std::size_t kSkinNameCompare = 260;

std::optional<bool> CheckedFor(const TAG_USERDATA& d, const MenuItem& item) {
    switch (item.id) {
        case kCmdAlwaysOnTop:
            // Shown on only where the window is kept on top.
            return d.always_on_top == 1 && d.topmost_refused == 0;
        case kCmdDoubleSize:
            return d.double_size == 1;
        case kCmdEasyMove:
            return d.easy_move == 1;
        case kCmdShuffle:
            return d.shuffle == 1;
        case kCmdRepeat:
            return d.repeat == 1;
        case kCmdPlaylistEditor:
            return d.visible_pledit == 1;
        case kCmdShowElapsed:
            return d.time_reverse == 0;
        case kCmdShowRemaining:
            return d.time_reverse == 1;
        default:
            break;
    }
    if (item.id >= kCmdFirstSkin) {
        std::string_view text = std::string_view(item.text).substr(0, kSkinNameCompare);
        std::string_view skin = std::string_view(d.skin_name).substr(0, kSkinNameCompare);
        return text == skin;
    }
    return std::nullopt;
}

void Refresh(const TAG_USERDATA& d, Menu& menu) {
    for (MenuItem& item : menu.items) {
        if (item.separator) continue;
        if (item.submenu) {
            Refresh(d, *item.submenu);
            continue;
        }
        if (std::optional<bool> checked = CheckedFor(d, item)) item.checked = *checked;
        if (item.id == kCmdAlwaysOnTop) item.grayed = d.topmost_refused != 0;
    }
}

}  // namespace

void RefreshCheckMarks(TAG_USERDATA& data) {
    for (const std::shared_ptr<Menu>& menu : data.menus) {
        if (menu) Refresh(data, *menu);
    }
}

}  // namespace dz
