#pragma once
// What a skin load does, file by file: for the skin checking tool and tests. Called on
// the loading thread, in load order. Every method does nothing unless overridden.

#include <cstdint>
#include <string_view>

#include "skin/SkinElements.h"

namespace dz {

class SkinLoadListener {
public:
    virtual ~SkinLoadListener() = default;
    // A bitmap registered under `key` from `source` (a file name or an archive member).
    virtual void on_bitmap(std::string_view /*key*/, int /*width*/, int /*height*/,
                           std::string_view /*source*/) {}
    // A cursor registered under `key`.
    virtual void on_cursor(std::string_view /*key*/, int /*width*/, int /*height*/, int /*hot_x*/,
                           int /*hot_y*/, std::string_view /*source*/) {}
    // A text file (PLEDIT, VISCOLOR or REGION) read.
    virtual void on_text(SkinFileKind /*kind*/, std::string_view /*source*/) {}
    // A bitmap or cursor of `width` x `height` passed over unread: the skin's pixel budget
    // had `left` pixels left.
    virtual void on_over_budget(std::string_view /*source*/, int /*width*/, int /*height*/,
                                std::uint64_t /*left*/) {}
    // A file or member passed over.
    virtual void on_skipped(std::string_view /*source*/, std::string_view /*reason*/) {}
};

}  // namespace dz
