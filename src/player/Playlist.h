#pragma once
// The playlist: an ordered, indexable double-ended queue of entries.
//
// Owns the temporary files of downloaded tunes: erasing an entry or clearing
// the list deletes the entry's `temp_path` file, and so does destruction.
// Entries reordered in place (sorting) keep their files.

#include <cstddef>
#include <deque>
#include <utility>

#include "player/TuneInfo.h"

namespace dz {

class Playlist {
public:
    using Entries = std::deque<tagTUNEINFO>;
    using iterator = Entries::iterator;
    using const_iterator = Entries::const_iterator;

    Playlist() = default;
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;
    ~Playlist();

    int count() const { return static_cast<int>(entries_.size()); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    bool in_range(int i) const { return i >= 0 && i < count(); }

    tagTUNEINFO& operator[](std::size_t i) { return entries_[i]; }
    const tagTUNEINFO& operator[](std::size_t i) const { return entries_[i]; }

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

    // Appends and returns the new entry's index.
    int push_back(tagTUNEINFO entry);
    // Removes entry i and deletes its temporary file. Out of range: nothing.
    void erase(int i);
    // Removes every entry, deleting their temporary files.
    void clear();
    // Removes the entries for which `pred` holds, keeping the order of the
    // others, and deletes the removed entries' temporary files.
    template <class Pred>
    void erase_if(Pred pred) {
        auto keep = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (pred(*it)) {
                delete_temp_file(*it);
            } else {
                if (keep != it) *keep = std::move(*it);
                ++keep;
            }
        }
        entries_.erase(keep, entries_.end());
    }

private:
    static void delete_temp_file(const tagTUNEINFO& entry);
    Entries entries_;
};

}  // namespace dz
