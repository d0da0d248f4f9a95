#pragma once
// Reads the members of a ZIP archive (.wsz/.zip skins) into memory. Any thread.
//
// End of central directory record, found by scanning back from the end of the archive
// over at most 65535 + 22 bytes (it may be followed by a comment):
//
// | Offset | Width | Field                                   |
// |--------|-------|-----------------------------------------|
// | 0      | 4     | signature 0x06054B50 ("PK\5\6")         |
// | 12     | 4     | size of the central directory           |
// | 16     | 4     | offset of the central directory         |
//
// Central directory record (repeated, "PK\1\2"):
//
// | Offset | Width | Field                                   |
// |--------|-------|-----------------------------------------|
// | 0      | 4     | signature 0x02014B50                    |
// | 8      | 2     | flags (bit 0: encrypted)                |
// | 10     | 2     | method: 0 stored, 8 deflated            |
// | 20     | 4     | compressed size                         |
// | 28     | 2     | name length n                           |
// | 30     | 2     | extra field length m                    |
// | 32     | 2     | comment length k                        |
// | 42     | 4     | offset of the local header              |
// | 46     | n+m+k | name, extra field, comment              |
//
// Local file header ("PK\3\4"); the member's data follows at 30 + n + m:
//
// | Offset | Width | Field                                                   |
// |--------|-------|---------------------------------------------------------|
// | 0      | 4     | signature 0x04034B50                                    |
// | 6      | 2     | flags (bit 0: encrypted; bit 3: sizes in a descriptor)  |
// | 8      | 2     | method                                                  |
// | 18     | 4     | compressed size (0 when flag bit 3 is set)              |
// | 26     | 2     | name length n                                           |
// | 28     | 2     | extra field length m (may differ from the central one)  |
// | 30     | n+m   | name, extra field                                       |
//
// Members are taken from the central directory when the archive has a usable one (all
// sizes and offsets come from there; an archive with a prefix is read with its offsets
// shifted, but one that starts with a local header has no prefix, so a directory that
// needs a shift there is that of an archive stored inside it and is not used). Only without one are
// the local headers walked from the start: a member with flag bit 3 and a zero size is then
// inflated to find its end, and its data descriptor
// ("PK\7\8", CRC, sizes; the signature is optional) is skipped; a stored one is empty (a
// folder entry or an empty file) when a signed descriptor of size 0 follows its header
// at once. The walk ends at the first record that is no local header and at a member
// whose end cannot be found.
//
// Stored members are copied, deflated ones inflated (raw deflate); other methods and
// encrypted members are skipped, and so are members whose data is damaged or cut short.
// CRCs are not checked. Names are raw bytes; they are never used as paths here.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "skin/ByteSource.h"

namespace dz {

struct ArchiveLimits {
    std::uint64_t member_bytes = std::uint64_t{16} << 20;  // a larger member is skipped
    std::uint64_t total_bytes = std::uint64_t{64} << 20;   // inflated per archive in all
    int members = 1024;                                    // members delivered at most
};

// Whether a member of this name is wanted; only wanted members are unpacked.
using ArchiveMemberFilter = std::function<bool(std::string_view name)>;
// Receives a wanted member's name and content.
using ArchiveMemberSink =
    std::function<void(std::string_view name, std::vector<std::uint8_t>&& content)>;

// Told of a wanted member that is not delivered, and why ("encrypted", ...).
using ArchiveMemberSkip = std::function<void(std::string_view name, std::string_view reason)>;

// Hands every wanted, readable member to `sink`, in archive order; returns how many.
// Bytes inflated count against limits.total_bytes also for members that are then
// skipped, so the work done for any archive is bounded.
int ReadArchiveMembers(const ByteSource& source, const ArchiveMemberFilter& want,
                       const ArchiveMemberSink& sink, const ArchiveLimits& limits = {},
                       const ArchiveMemberSkip& skipped = {});

}  // namespace dz
