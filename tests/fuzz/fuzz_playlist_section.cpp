// Fuzzes the playlist section reader: any file text gives entries with a non-empty
// path, paths of at most 4095 bytes, titles of at most 259 bytes and lengths >= 0;
// writing the entries and reading them back gives the same entries, except where the
// profile rules change a value on the way (enclosing quotes are dropped and the blanks
// they held trimmed, a CR inside a value becomes a blank), and never more entries.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "io/PlaylistFile.h"
#include "io/ProfileFile.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// Quotes and the blanks the reader trims (a value read from inside quotes may
// start or end with one).
bool trimmed(char c) {
    return c == '"' || c == '\'' || c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A value the writer stores and the reader gives back byte for byte.
bool stable(const std::string& v) {
    if (v.find('\r') != std::string::npos) return false;
    return v.empty() || (!trimmed(v.front()) && !trimmed(v.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const dz::ProfileFile file = dz::ProfileFile::parse(text);
    const std::vector<dz::PlaylistFileEntry> entries = dz::read_playlist_section(file);
    bool all_stable = true;
    for (const dz::PlaylistFileEntry& e : entries) {
        check(!e.path.empty());
        check(e.path.size() <= 4095 && e.title.size() <= 259);
        check(e.length_seconds >= 0);
        all_stable = all_stable && stable(e.path) && stable(e.title);
    }

    dz::ProfileFile out = dz::ProfileFile::parse(text);
    dz::put_playlist_section(out, entries);
    const std::vector<dz::PlaylistFileEntry> again =
        dz::read_playlist_section(dz::ProfileFile::parse(out.serialize()));
    check(again.size() <= entries.size());
    if (all_stable) check(again == entries);
    return 0;
}
