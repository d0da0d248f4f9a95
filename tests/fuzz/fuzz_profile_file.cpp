// Fuzzes the profile (INI) parser: any bytes parse; writing the parsed profile and
// parsing it again gives the same text; a key written from fuzz bytes reads back the
// same after a save and a parse; a deleted section is gone.
//
// Input: <section> \0 <key> \0 <value> \0 <file text>   (missing parts are empty)

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/ProfileFile.h"

namespace {

std::string_view next_part(std::string_view& rest) {
    std::size_t nul = rest.find('\0');
    std::string_view part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
    return part;
}

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view section = next_part(rest);
    const std::string_view key = next_part(rest);
    const std::string_view value = next_part(rest);

    dz::ProfileFile file = dz::ProfileFile::parse(rest);
    const std::string text = file.serialize();
    check(dz::ProfileFile::parse(text).serialize() == text);

    // Reads never fail, whatever the names.
    (void)file.get_string(section, key, "default", 260);
    (void)file.get_int(section, key, -7);
    (void)file.keys(section);

    file.write_string(section, key, value);
    const std::optional<std::string_view> written = file.find(section, key);
    const dz::ProfileFile reread = dz::ProfileFile::parse(file.serialize());
    check(reread.serialize() == file.serialize());
    const std::optional<std::string_view> read_back = reread.find(section, key);
    check(written.has_value() == read_back.has_value());
    if (written) check(*written == *read_back);
    check(reread.get_string(section, key, "", 300) == file.get_string(section, key, "", 300));

    file.delete_section(section);
    check(!file.has_section(section));
    check(!dz::ProfileFile::parse(file.serialize()).find(section, key));
    return 0;
}
