#include "base/ShiftJis.h"

#include <iconv.h>

#include <cerrno>

namespace dz {

std::string Cp932ToUtf8(std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    char buffer[256];
    while (in_left > 0) {
        char* o = buffer;
        std::size_t out_left = sizeof buffer;
        std::size_t r = iconv(cd, &in, &in_left, &o, &out_left);
        out.append(buffer, sizeof buffer - out_left);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += '?';  // invalid or cut-off sequence: skip its first byte
            ++in;
            --in_left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace dz
