#include "player/Random15.h"

#include <atomic>
#include <cstdint>

namespace dz {

namespace {
std::atomic<std::uint32_t> g_state{1};
}

void seed_random15(unsigned seed) {
    g_state.store(seed);
}

// Linear congruential step; the upper 15 bits of the low word pair are the result.
int random15() {
    std::uint32_t old = g_state.load();
    std::uint32_t next;
    do {
        next = old * 214013u + 2531011u;
    } while (!g_state.compare_exchange_weak(old, next));
    return static_cast<int>((next >> 16) & 0x7fff);
}

}  // namespace dz
