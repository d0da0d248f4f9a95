#include "skin/ArchiveReader.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>

namespace dz {

namespace {

constexpr std::uint32_t kLocalSig = 0x04034B50;
constexpr std::uint32_t kCentralSig = 0x02014B50;
constexpr std::uint32_t kEndSig = 0x06054B50;
constexpr std::uint32_t kDescriptorSig = 0x08074B50;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kMaxComment = 65535;
constexpr std::uint64_t kMaxCentralBytes = std::uint64_t{16} << 20;
constexpr std::size_t kChunk = 64 * 1024;

constexpr std::uint16_t kFlagEncrypted = 1;
constexpr std::uint16_t kFlagDescriptor = 8;

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

std::optional<std::vector<std::uint8_t>> read_at(const ByteSource& src, std::uint64_t offset,
                                                 std::uint64_t n) {
    if (offset > src.size() || n > src.size() - offset) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
    if (!src.read(offset, bytes)) return std::nullopt;
    return bytes;
}

struct CentralEntry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint64_t compressed = 0;
    std::uint64_t local_offset = 0;
};

// Parses the central directory that `end` (the offset of an end record) describes.
std::optional<std::vector<CentralEntry>> read_directory(const ByteSource& src, std::uint64_t end) {
    std::optional<std::vector<std::uint8_t>> record = read_at(src, end, kEndSize);
    if (!record) return std::nullopt;
    const std::uint64_t cd_size = le32(record->data() + 12);
    const std::uint64_t cd_offset = le32(record->data() + 16);
    if (cd_size == 0xFFFFFFFF || cd_offset == 0xFFFFFFFF) return std::nullopt;  // ZIP64
    if (cd_size > kMaxCentralBytes || cd_size + cd_offset > end) return std::nullopt;
    const std::uint64_t cd_start = end - cd_size;
    const std::uint64_t shift = cd_start - cd_offset;  // bytes before the archive proper
    if (shift != 0) {
        // An archive that starts with a member has no prefix: a directory that would need
        // one belongs to an archive stored inside it (a cut-short archive shows it last).
        std::optional<std::vector<std::uint8_t>> first = read_at(src, 0, 4);
        if (first && le32(first->data()) == kLocalSig) return std::nullopt;
    }
    if (cd_size > 0) {  // checked first, so that a false end record costs little
        std::optional<std::vector<std::uint8_t>> sig = read_at(src, cd_start, 4);
        if (!sig || le32(sig->data()) != kCentralSig) return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> cd = read_at(src, cd_start, cd_size);
    if (!cd) return std::nullopt;

    std::vector<CentralEntry> entries;
    for (std::size_t p = 0; p + kCentralSize <= cd->size();) {
        const std::uint8_t* r = cd->data() + p;
        if (le32(r) != kCentralSig) break;
        const std::size_t n = le16(r + 28);
        const std::size_t m = le16(r + 30);
        const std::size_t k = le16(r + 32);
        if (p + kCentralSize + n > cd->size()) break;
        CentralEntry e;
        e.flags = le16(r + 8);
        e.method = le16(r + 10);
        e.compressed = le32(r + 20);
        e.local_offset = le32(r + 42) + shift;
        e.name.assign(reinterpret_cast<const char*>(r + kCentralSize), n);
        entries.push_back(std::move(e));
        p += kCentralSize + n + m + k;
    }
    return entries;
}

// The members listed by the central directory, or nothing when there is no usable one.
std::optional<std::vector<CentralEntry>> find_directory(const ByteSource& src) {
    const std::uint64_t size = src.size();
    if (size < kEndSize) return std::nullopt;
    const std::uint64_t tail_len = std::min<std::uint64_t>(size, kMaxComment + kEndSize);
    const std::uint64_t tail_start = size - tail_len;
    std::optional<std::vector<std::uint8_t>> tail = read_at(src, tail_start, tail_len);
    if (!tail) return std::nullopt;
    for (std::size_t p = tail->size() - kEndSize + 1; p-- > 0;) {
        if (le32(tail->data() + p) != kEndSig) continue;
        if (auto entries = read_directory(src, tail_start + p)) return entries;
    }
    return std::nullopt;
}

enum class InflateResult { kOk, kTooLarge, kDamaged };

struct Inflated {
    InflateResult result = InflateResult::kDamaged;
    std::uint64_t consumed = 0;  // input bytes up to the end of the deflate stream
    std::uint64_t produced = 0;
};

// Inflates the raw deflate stream at `start` (at most `max_in` input bytes) into `out`
// (when not null). Stops with kTooLarge once more than `cap` bytes come out.
Inflated inflate_at(const ByteSource& src, std::uint64_t start, std::uint64_t max_in,
                    std::uint64_t cap, std::vector<std::uint8_t>* out) {
    Inflated done;
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) return done;
    std::vector<std::uint8_t> in(kChunk);
    std::vector<std::uint8_t> buf(kChunk);
    std::uint64_t fed = 0;
    for (;;) {
        if (zs.avail_in == 0) {
            const std::uint64_t n = std::min<std::uint64_t>(kChunk, max_in - fed);
            if (n == 0 || !src.read(start + fed, std::span(in.data(), n))) break;  // cut short
            fed += n;
            zs.next_in = in.data();
            zs.avail_in = static_cast<uInt>(n);
        }
        zs.next_out = buf.data();
        zs.avail_out = static_cast<uInt>(buf.size());
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t got = buf.size() - zs.avail_out;
        done.produced += got;
        if (done.produced > cap) {
            done.result = InflateResult::kTooLarge;
            break;
        }
        if (out) out->insert(out->end(), buf.begin(), buf.begin() + got);
        if (rc == Z_STREAM_END) {
            done.result = InflateResult::kOk;
            done.consumed = zs.total_in;
            break;
        }
        if (rc != Z_OK && rc != Z_BUF_ERROR) break;                    // damaged data
        if (rc == Z_BUF_ERROR && got == 0 && zs.avail_in != 0) break;  // no progress
    }
    inflateEnd(&zs);
    return done;
}

class Walk {
public:
    Walk(const ByteSource& src, const ArchiveMemberFilter& want, const ArchiveMemberSink& sink,
         const ArchiveLimits& limits, const ArchiveMemberSkip& skipped)
        : src_(src), want_(want), sink_(sink), limits_(limits), skipped_(skipped) {}

    int run() {
        if (std::optional<std::vector<CentralEntry>> entries = find_directory(src_)) {
            for (const CentralEntry& e : *entries) {
                if (full()) break;
                const std::optional<std::uint64_t> data = local_data_offset(e.local_offset);
                if (data) {
                    member(e.name, e.flags, e.method, *data, e.compressed);
                } else if (want_(e.name)) {
                    skip(e.name, "no local header where the directory points");
                }
            }
        } else {
            walk_local_headers();
        }
        return delivered_;
    }

private:
    bool full() const { return delivered_ >= limits_.members; }
    std::uint64_t budget() const {
        const std::uint64_t left = limits_.total_bytes - std::min(total_, limits_.total_bytes);
        return std::min(limits_.member_bytes, left);
    }

    std::optional<std::uint64_t> local_data_offset(std::uint64_t offset) const {
        std::optional<std::vector<std::uint8_t>> h = read_at(src_, offset, kLocalSize);
        if (!h || le32(h->data()) != kLocalSig) return std::nullopt;
        return offset + kLocalSize + le16(h->data() + 26) + le16(h->data() + 28);
    }

    // One member whose compressed size is known.
    void member(const std::string& name, std::uint16_t flags, std::uint16_t method,
                std::uint64_t data, std::uint64_t compressed) {
        if (!want_(name)) return;
        if (flags & kFlagEncrypted) return skip(name, "encrypted");
        if (method != 0 && method != 8) {
            return skip(name, "compression method " + std::to_string(method));
        }
        if (data > src_.size() || compressed > src_.size() - data) {
            return skip(name, "data cut short");
        }
        std::vector<std::uint8_t> content;
        if (method == 0) {
            if (compressed > budget()) return skip(name, kTooLarge);
            std::optional<std::vector<std::uint8_t>> bytes = read_at(src_, data, compressed);
            if (!bytes) return skip(name, "unreadable");
            total_ += compressed;
            content = std::move(*bytes);
        } else {
            const Inflated r = inflate_at(src_, data, compressed, budget(), &content);
            total_ += r.produced;
            if (r.result == InflateResult::kTooLarge) return skip(name, kTooLarge);
            if (r.result != InflateResult::kOk) return skip(name, "damaged data");
        }
        deliver(name, std::move(content));
    }

    static constexpr const char* kTooLarge = "over the unpacking limit";

    void skip(const std::string& name, std::string_view reason) const {
        if (skipped_) skipped_(name, reason);
    }

    void deliver(const std::string& name, std::vector<std::uint8_t>&& content) {
        ++delivered_;
        sink_(name, std::move(content));
    }

    // A data descriptor with its signature and a compressed size of 0 lies at `pos`.
    bool empty_with_descriptor(std::uint64_t pos) const {
        std::optional<std::vector<std::uint8_t>> d = read_at(src_, pos, 16);
        return d && le32(d->data()) == kDescriptorSig && le32(d->data() + 8) == 0;
    }

    void walk_local_headers() {
        std::uint64_t pos = 0;
        while (!full()) {
            std::optional<std::vector<std::uint8_t>> h = read_at(src_, pos, kLocalSize);
            if (!h || le32(h->data()) != kLocalSig) return;
            const std::uint16_t flags = le16(h->data() + 6);
            const std::uint16_t method = le16(h->data() + 8);
            const std::uint64_t compressed = le32(h->data() + 18);
            const std::size_t n = le16(h->data() + 26);
            const std::size_t m = le16(h->data() + 28);
            std::optional<std::vector<std::uint8_t>> name_bytes =
                read_at(src_, pos + kLocalSize, n);
            if (!name_bytes) return;
            const std::string name(name_bytes->begin(), name_bytes->end());
            const std::uint64_t data = pos + kLocalSize + n + m;
            if (data > src_.size()) return;

            if ((flags & kFlagDescriptor) && compressed == 0 && method == 0 &&
                empty_with_descriptor(data)) {
                // A folder entry or an empty file: its descriptor follows at once.
                if (want_(name)) deliver(name, {});
                pos = data + 16;
                continue;
            }
            if ((flags & kFlagDescriptor) && compressed == 0) {
                // The size follows the data: only a deflate stream shows where it ends.
                const bool wanted = want_(name);
                if (method != 8 || (flags & kFlagEncrypted)) {
                    if (wanted) skip(name, "size unknown (data descriptor); the walk ends");
                    return;
                }
                std::vector<std::uint8_t> content;
                const Inflated r = inflate_at(src_, data, src_.size() - data, budget(),
                                              wanted ? &content : nullptr);
                total_ += r.produced;
                if (r.result != InflateResult::kOk) {
                    if (wanted) {
                        skip(name, r.result == InflateResult::kTooLarge
                                       ? "over the unpacking limit; the walk ends"
                                       : "damaged data; the walk ends");
                    }
                    return;
                }
                if (wanted) deliver(name, std::move(content));
                pos = data + r.consumed;
                std::optional<std::vector<std::uint8_t>> sig = read_at(src_, pos, 4);
                pos += (sig && le32(sig->data()) == kDescriptorSig) ? 16 : 12;
                continue;
            }
            member(name, flags, method, data, compressed);
            pos = data + compressed;
        }
    }

    const ByteSource& src_;
    const ArchiveMemberFilter& want_;
    const ArchiveMemberSink& sink_;
    const ArchiveLimits& limits_;
    const ArchiveMemberSkip& skipped_;
    std::uint64_t total_ = 0;
    int delivered_ = 0;
};

}  // namespace

int ReadArchiveMembers(const ByteSource& source, const ArchiveMemberFilter& want,
                       const ArchiveMemberSink& sink, const ArchiveLimits& limits,
                       const ArchiveMemberSkip& skipped) {
    return Walk(source, want, sink, limits, skipped).run();
}

}  // namespace dz
