#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace dz::ptrender {
namespace {

std::string normalise_line_breaks(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::string cp932_to_utf8(const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return normalise_line_breaks(bytes);
    std::string out;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
        char* o = buffer.data();
        std::size_t o_left = buffer.size();
        const std::size_t r = iconv(cd, &in, &in_left, &o, &o_left);
        out.append(buffer.data(), static_cast<std::size_t>(o - buffer.data()));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or incomplete sequence: show '?' and go on after the byte.
            out += '?';
            ++in;
            --in_left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return normalise_line_breaks(out);
}

}  // namespace dz::ptrender
