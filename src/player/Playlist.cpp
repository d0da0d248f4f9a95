#include "player/Playlist.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace dz {

Playlist::~Playlist() {
    clear();
}

void Playlist::delete_temp_file(const tagTUNEINFO& entry) {
    if (entry.temp_path.empty()) return;
    std::error_code ec;
    std::filesystem::remove(entry.temp_path, ec);
}

int Playlist::push_back(tagTUNEINFO entry) {
    if (!index_stale_) note(entry);
    entries_.push_back(std::move(entry));
    return count() - 1;
}

void Playlist::erase(int i) {
    if (!in_range(i)) return;
    index_stale_ = true;
    auto it = entries_.begin() + i;
    delete_temp_file(*it);
    entries_.erase(it);
}

void Playlist::clear() {
    for (const auto& e : entries_) delete_temp_file(e);
    entries_.clear();
    index_stale_ = true;
}

void Playlist::note(const tagTUNEINFO& entry) const {
    if (entry.shuffle_key >= 0 && entry.shuffle_key < kKeyRange) ++key_count_[entry.shuffle_key];
    if (entry.sequence > max_sequence_) max_sequence_ = entry.sequence;
}

void Playlist::refresh_index() const {
    if (!index_stale_) return;
    key_count_.assign(kKeyRange, 0);
    max_sequence_ = 0;
    for (const auto& e : entries_) note(e);
    index_stale_ = false;
}

bool Playlist::key_taken(int key) const {
    if (key < 0 || key >= kKeyRange) return false;
    refresh_index();
    return key_count_[key] != 0;
}

int Playlist::max_sequence() const {
    refresh_index();
    return max_sequence_;
}

}  // namespace dz
