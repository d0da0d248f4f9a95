#pragma once
// The playlist: an ordered, indexable double-ended queue of entries.
//
// Owns the temporary files of downloaded tunes: erasing an entry or clearing
// the list deletes the entry's `temp_path` file, and so does destruction.
// Entries reordered in place (sorting) keep their files.
//
// Keeps an index of the shuffle keys in use and of the largest `sequence`, so
// that appending an entry costs O(1) amortised. Appending updates the index;
// every mutable access (element, iterators, removal) may change keys or
// sequences in place, so it marks the index stale and the next query rebuilds
// it in one O(n) pass. A reference kept across an append must not change those
// two fields. Worker thread only, like the rest of the playlist.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

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

    tagTUNEINFO& operator[](std::size_t i) {
        index_stale_ = true;
        return entries_[i];
    }
    const tagTUNEINFO& operator[](std::size_t i) const { return entries_[i]; }
    // Entry i for a change that leaves its shuffle key and sequence as they are (its
    // information, its loading state): the index stays valid.
    tagTUNEINFO& keeping_index(std::size_t i) { return entries_[i]; }

    iterator begin() {
        index_stale_ = true;
        return entries_.begin();
    }
    iterator end() {
        index_stale_ = true;
        return entries_.end();
    }
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
        index_stale_ = true;
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

    // Some entry has this shuffle key (keys outside 0..32767 are never reported).
    bool key_taken(int key) const;
    // The largest `sequence`, 0 for an empty list or when none is positive.
    int max_sequence() const;

private:
    static constexpr int kKeyRange = 32768;
    static void delete_temp_file(const tagTUNEINFO& entry);
    void note(const tagTUNEINFO& entry) const;
    void refresh_index() const;

    Entries entries_;
    // Entries per shuffle key, and the largest sequence; valid unless stale.
    mutable std::vector<std::uint32_t> key_count_;
    mutable int max_sequence_ = 0;
    mutable bool index_stale_ = true;
};

}  // namespace dz
