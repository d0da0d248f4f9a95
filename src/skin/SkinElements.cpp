#include "skin/SkinElements.h"

#include <algorithm>

namespace dz {

namespace {

constexpr std::size_t kMaxName = 259;

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char a, char b) { return upper(a) == upper(b); }) != text.end();
}

std::string_view NameExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    if (name.find_first_of(" /\\", dot) != std::string_view::npos) return {};
    return name.substr(dot);
}

std::string ElementNameOf(std::string_view name) {
    name = name.substr(0, kMaxName);
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '/' || name[i] == '\\' || name[i] == ':') start = i + 1;
    }
    std::string_view base = name.substr(start);
    base.remove_suffix(NameExtension(base).size());
    return std::string(base);
}

SkinFileKind ClassifySkinFile(std::string_view name) {
    const std::string_view ext = NameExtension(name);
    if (ContainsNoCase(ext, ".BMP")) return SkinFileKind::kBitmap;
    if (ContainsNoCase(ext, ".CUR")) return SkinFileKind::kCursor;
    if (!ContainsNoCase(ext, ".TXT")) return SkinFileKind::kIgnored;
    const std::string element = ElementNameOf(name);
    if (ContainsNoCase(element, "PLEDIT")) return SkinFileKind::kPleditTxt;
    if (ContainsNoCase(element, "VISCOLOR")) return SkinFileKind::kViscolorTxt;
    if (ContainsNoCase(element, "REGION")) return SkinFileKind::kRegionTxt;
    return SkinFileKind::kIgnored;
}

bool IsTextColourTrigger(std::string_view element) {
    return ContainsNoCase(element, "TEXT");
}

}  // namespace dz
