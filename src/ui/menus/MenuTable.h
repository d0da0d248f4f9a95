#pragma once
// The rows of the twenty pop-up menus, each text in Japanese and in English.
//
// Menu indices (TAG_USERDATA::menus):
//   0 main              5 play button      10 playlist row     15 ADD button
//   1 options           6 pause button     11 repeat toggle    16 REM button
//   2 skins             7 stop button      12 shuffle toggle   17 SEL button
//   3 play (open)       8 next button      13 time display     18 MISC button
//   4 previous button   9 editor toggle    14 sort             19 LIST button
//
// Menu 2 is a sub-menu of both 0 and 1 (one menu, two places), menu 14 of 18, and
// menus 1 and 3 of 0. A tab separates the shortcut column; '&' marks a mnemonic.

#include <span>

#include "state/CommandId.h"

namespace dz {

enum class MenuRowKind { Command, Separator, Submenu };

struct MenuRow {
    int menu;  // 0-19: the menu the row is appended to
    MenuRowKind kind;
    CommandId id;  // of a Command row, else kCmdNone
    int submenu;   // menu index of a Submenu row, else -1
    const char* japanese;
    const char* english;
};

inline constexpr int kMenuMain = 0;
inline constexpr int kMenuOptions = 1;
inline constexpr int kMenuSkins = 2;

// The 69 rows in insertion order (each appended at the end of its menu).
std::span<const MenuRow> menu_table();

}  // namespace dz
