// Fuzzes the skin archive reader over memory: any bytes end the walk without a hang, no
// member comes out larger than the member cap, and all of them together stay within the
// archive cap.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "skin/ArchiveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const dz::MemoryByteSource source(std::span(data, size));
    const dz::ArchiveLimits limits;
    std::uint64_t total = 0;
    int delivered = 0;
    const int n = dz::ReadArchiveMembers(
        source, [](std::string_view name) { return !name.empty() && name[0] != 'x'; },
        [&](std::string_view name, std::vector<std::uint8_t>&& content) {
            if (name.empty() || name[0] == 'x' || content.size() > limits.member_bytes) {
                std::abort();
            }
            total += content.size();
            ++delivered;
        },
        limits);
    if (n != delivered || total > limits.total_bytes || n > limits.members) std::abort();
    return 0;
}
