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
    entries_.push_back(std::move(entry));
    return count() - 1;
}

void Playlist::erase(int i) {
    if (!in_range(i)) return;
    auto it = entries_.begin() + i;
    delete_temp_file(*it);
    entries_.erase(it);
}

void Playlist::clear() {
    for (const auto& e : entries_) delete_temp_file(e);
    entries_.clear();
}

}  // namespace dz
