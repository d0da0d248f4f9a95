#pragma once
// Scrolling of the playlist editor's rows (worker thread).

namespace dz {

class TAG_USERDATA;

// scroll_max = max(count - scroll_page, 0); scroll_top brought into 0..scroll_max
// (0 when the list fits one page).
void ClampScroll(TAG_USERDATA& data);
// One row up (direction -1) or down (+1), editor only; the cursor row does not move.
void ScrollOneRow(TAG_USERDATA& data, int direction);

}  // namespace dz
