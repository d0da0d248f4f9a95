// tagPLAYER: selection, removal and the orderings of the playlist.
#include <algorithm>

#include "player/Player.h"
#include "player/Random15.h"

namespace dz {

namespace {

// strncmp: unsigned bytes up to the first difference, the first zero byte or `limit`.
int compare_bytes(const std::string& a, const std::string& b, std::size_t limit) {
    for (std::size_t k = 0; k < limit; ++k) {
        unsigned char ca = k < a.size() ? static_cast<unsigned char>(a[k]) : 0;
        unsigned char cb = k < b.size() ? static_cast<unsigned char>(b[k]) : 0;
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
    return 0;
}

template <class Field>
auto by_text(Field field, std::size_t limit) {
    return [field, limit](const tagTUNEINFO& a, const tagTUNEINFO& b) {
        int c = compare_bytes(a.*field, b.*field, limit);
        if (c != 0) return c < 0;
        return a.sequence < b.sequence;
    };
}

bool by_sequence_descending(const tagTUNEINFO& a, const tagTUNEINFO& b) {
    return a.sequence > b.sequence;
}

}  // namespace

void tagPLAYER::select_one(int i) {
    if (playlist.in_range(i)) playlist[i].selected = 1;
    recompute_totals();
}

void tagPLAYER::select_range(int a, int b) {
    int lo = std::max(std::min(a, b), 0);
    int hi = std::min(std::max(a, b), playlist.count() - 1);
    for (int k = lo; k <= hi; ++k) playlist[k].selected = 1;
    recompute_totals();
}

void tagPLAYER::toggle_one(int i) {
    if (playlist.in_range(i)) playlist[i].selected = !playlist[i].selected;
    recompute_totals();
}

void tagPLAYER::select_all_as(int v) {
    for (auto& e : playlist) e.selected = v;
    recompute_totals();
}

void tagPLAYER::invert_selection() {
    for (auto& e : playlist) e.selected = !e.selected;
    recompute_totals();
}

// `current_index` keeps its number: it may now name another entry or lie past
// the end; every use checks the range.
void tagPLAYER::remove_selected() {
    settle();
    playlist.erase_if([](const tagTUNEINFO& e) { return e.selected == 1; });
    // Nothing is left to read or download for: queued work would only be thrown away.
    if (playlist.empty()) loader_->drop_queued_reads();
    recompute_totals();
}

void tagPLAYER::finish_ordering() {
    int n = 0;
    for (auto& e : playlist) e.sequence = ++n;
    current_index = current_mark_index();
}

void tagPLAYER::sort_by_title() {
    settle();
    std::stable_sort(playlist.begin(), playlist.end(), by_text(&tagTUNEINFO::name, 17));
    finish_ordering();
}

void tagPLAYER::sort_by_file_name() {
    settle();
    std::stable_sort(playlist.begin(), playlist.end(), by_text(&tagTUNEINFO::file_title, 260));
    finish_ordering();
}

void tagPLAYER::sort_by_path() {
    settle();
    std::stable_sort(playlist.begin(), playlist.end(),
                     by_text(&tagTUNEINFO::path, tagTUNEINFO::kPathMax + 1));
    finish_ordering();
}

void tagPLAYER::reverse_list() {
    settle();
    std::stable_sort(playlist.begin(), playlist.end(), by_sequence_descending);
    finish_ordering();
}

// Numbers may repeat; entries that drew the same number keep their list order.
void tagPLAYER::randomize_list() {
    for (auto& e : playlist) e.sequence = random15();
    reverse_list();
}

}  // namespace dz
