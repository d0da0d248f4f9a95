// J: jump to a tune of the playlist through the jump box.
#include <optional>

#include "app/commands/Commands.h"
#include "state/HookCalls.h"
#include "state/ListScroll.h"

namespace dz {

// The chosen entry becomes the editor's cursor row, selected alone and scrolled into view,
// and plays as after a double click on its row.
int cmd_jump_to_tune(TAG_USERDATA* d) {
    if (!d->hooks.commands.choose_entry) return 0;
    const std::optional<int> chosen = d->hooks.commands.choose_entry(*d);
    tagPLAYER& p = d->player;
    if (!chosen || !p.playlist.in_range(*chosen)) return 0;
    const int i = *chosen;
    p.select_all_as(0);
    p.select_one(i);
    d->list_cursor = i;
    if (i < d->scroll_top)
        d->scroll_top = i;
    else if (i >= d->scroll_top + d->scroll_page)
        d->scroll_top = i - d->scroll_page + 1;
    ClampScroll(*d);
    if (!p.library().pxtone_Tune_IsStreaming()) p.load_unloaded_entries();
    p.play(i, 0);
    return 0;
}

}  // namespace dz
