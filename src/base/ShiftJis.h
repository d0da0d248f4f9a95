#pragma once
// Tune names and comments are code page 932 (Shift-JIS) bytes; they are converted
// only where they are shown.

#include <string>
#include <string_view>

namespace dz {

// The UTF-8 form of code page 932 bytes. A byte that starts no valid character becomes
// '?', and the conversion goes on after it.
std::string Cp932ToUtf8(std::string_view bytes);

}  // namespace dz
