#pragma once
// Shift-JIS (code page 932) bytes to UTF-8 for display. Bytes that do not
// convert become '?'; CR LF and lone CR become LF.

#include <string>

namespace dz::ptrender {

std::string cp932_to_utf8(const std::string& bytes);

}  // namespace dz::ptrender
