#pragma once
// Waits for a player's background reads and downloads, applying them as they finish.

#include <chrono>
#include <thread>

#include "player/Player.h"

namespace dz::test {

// True when nothing is left to wait for within `limit`.
inline bool settle_loads(tagPLAYER& p, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (p.loads_pending()) {
        if (std::chrono::steady_clock::now() > end) return false;
        p.apply_loaded();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    p.apply_loaded();
    return true;
}

}  // namespace dz::test
