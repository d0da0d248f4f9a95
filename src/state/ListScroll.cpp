#include "state/ListScroll.h"

#include <algorithm>

#include "state/TagUserData.h"

namespace dz {

void ClampScroll(TAG_USERDATA& data) {
    int count = data.player.playlist.count();
    int p = data.scroll_page;
    data.scroll_max = std::max(count - p, 0);
    if (count - p <= 0 || data.scroll_top < 0) {
        data.scroll_top = 0;
    } else if (data.scroll_top > data.scroll_max) {
        data.scroll_top = data.scroll_max;
    }
}

void ScrollOneRow(TAG_USERDATA& data, int direction) {
    if (!data.body_pledit) return;
    data.scroll_top += direction < 0 ? -1 : 1;
    ClampScroll(data);
}

}  // namespace dz
