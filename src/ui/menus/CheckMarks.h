#pragma once
// The check marks of the menus, from the settings they show:
//
//   41 Always On Top     always_on_top = 1      46 Playlist Editor   visible_pledit = 1
//   42 Double Size       double_size = 1        48 Time elapsed      time_reverse = 0
//   43 EasyMove          easy_move = 1          49 Time remaining    time_reverse = 1
//   44 Shuffle           shuffle = 1            58 and above         text = skin_name
//   45 Repeat            repeat = 1                                  (first 260 bytes)
//
// 41 is shown unchecked and grayed where the window system refuses to keep windows on top
// (topmost_refused = 1). Other items keep their mark.

namespace dz {

class TAG_USERDATA;

// Sets or clears the marks of every item of the twenty menus and their sub-menus.
// Worker thread (or the UI thread during start-up).
void RefreshCheckMarks(TAG_USERDATA& data);

}  // namespace dz
