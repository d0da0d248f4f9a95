#include "skin/SkinElements.h"

#include <algorithm>

namespace dz {

namespace {

constexpr std::size_t kMaxName = 259;

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr std::string_view kUsedBitmaps[] = {"MAIN",    "CBUTTONS", "PLAYPAUS", "MONOSTER",
                                             "POSBAR",  "SHUFREP",  "VOLUME",   "TITLEBAR",
                                             "NUMS_EX", "NUMBERS",  "TEXT",     "PLEDIT"};
constexpr std::string_view kUsedCursors[] = {
    "NORMAL",   "CLOSE",    "MIN",      "MMENU",  "MAINMENU", "WINBUT",
    "WSNORMAL", "WSPOSBAR", "TITLEBAR", "VOLBAL", "SONGNAME", "PNORMAL",
    "PCLOSE",   "PWINBUT",  "PWSNORM",  "PSIZE",  "PTBAR",    "PVSCROLL"};

bool equals_upper(std::string_view element, std::string_view key) {
    return element.size() == key.size() && std::equal(element.begin(), element.end(), key.begin(),
                                                      [](char a, char b) { return upper(a) == b; });
}

template <std::size_t N>
bool listed(const std::string_view (&keys)[N], std::string_view element) {
    return std::any_of(std::begin(keys), std::end(keys),
                       [&](std::string_view key) { return equals_upper(element, key); });
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

bool IsUsedBitmap(std::string_view element) {
    return listed(kUsedBitmaps, element);
}

bool IsUsedCursor(std::string_view element) {
    return listed(kUsedCursors, element);
}

bool IsTextColourTrigger(std::string_view element) {
    return ContainsNoCase(element, "TEXT");
}

}  // namespace dz
