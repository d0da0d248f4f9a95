#pragma once
// The check marks of the menus, from the settings they show:
//
//   kCmdAlwaysOnTop      always_on_top = 1      kCmdPlaylistEditor   visible_pledit = 1
//   kCmdDoubleSize       double_size = 1        kCmdShowElapsed      time_reverse = 0
//   kCmdEasyMove         easy_move = 1          kCmdShowRemaining    time_reverse = 1
//   kCmdShuffle          shuffle = 1            kCmdFirstSkin and    text = skin_name
//   kCmdRepeat           repeat = 1             above                (first 260 bytes)
//
// kCmdAlwaysOnTop is shown unchecked and grayed where the window system refuses to keep windows on
// top (topmost_refused = 1). Other items keep their mark.

namespace dz {

class TAG_USERDATA;

// Sets or clears the marks of every item of the twenty menus and their sub-menus.
// Worker thread (or the UI thread during start-up).
void RefreshCheckMarks(TAG_USERDATA& data);

}  // namespace dz
