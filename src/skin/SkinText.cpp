#include "skin/SkinText.h"

#include <array>
#include <string>

#include "io/ProfileFile.h"
#include "skin/SkinFile.h"

namespace dz {

namespace {

// A VISCOLOR.TXT has 24 short lines; more than this is never read.
constexpr std::size_t kMaxViscolorBytes = 1 << 20;
constexpr std::size_t kPleditBuffer = 64;
constexpr std::size_t kRegionBuffer = 2048;

constexpr std::array<const char*, 6> kPleditKeys = {"Normal",     "Current", "NormalBG",
                                                    "SelectedBG", "MBBG",    "MBFG"};

ColorRef rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

ColorRef parse_pledit_colour(std::string_view value) {
    int digits[6];
    int n = 0;
    for (char c : value) {
        if (n == 6) break;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c >= '0' && c <= '9') {
            digits[n++] = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digits[n++] = c - 'A' + 10;
        }
    }
    if (n == 6) {
        return rgb(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3],
                   digits[4] * 16 + digits[5]);
    }
    if (n >= 3) return rgb(digits[0] * 17, digits[1] * 17, digits[2] * 17);
    return 0;
}

std::string viscolor_name(int line) {
    if (line == 0) return "VISCOLOR.Background";
    if (line == 1) return "VISCOLOR.BGDots";
    if (line < 18) {
        const int n = line - 1;
        return "VISCOLOR.Spectrum" + std::string(1, static_cast<char>('0' + n / 10)) +
               static_cast<char>('0' + n % 10);
    }
    if (line < 23) return "VISCOLOR.Oscilloscope" + std::to_string(line - 17);
    return "VISCOLOR.Peaks";
}

void read_region_section(const ProfileFile& file, std::string_view section, EdxPolygons& set) {
    const std::string counts = file.get_string(section, "NumPoints", "", kRegionBuffer);
    const std::string points = file.get_string(section, "PointList", "", kRegionBuffer);
    if (!counts.empty() && !points.empty()) BuildPolygons(set, counts, points);
}

void read_pledit(const ProfileFile& file, EdxColors& skin_colors) {
    for (const char* key : kPleditKeys) {
        const std::string value = file.get_string("Text", key, "#000000", kPleditBuffer);
        skin_colors.SetColourIfAbsent(std::string("PLEDIT.") + key, parse_pledit_colour(value));
    }
}

}  // namespace

std::vector<std::string> SkinColourNames() {
    std::vector<std::string> names = {"TEXT.NormalBG", "TEXT.Normal"};
    for (const char* key : kPleditKeys) names.push_back(std::string("PLEDIT.") + key);
    for (int line = 0; line < 24; ++line) names.push_back(viscolor_name(line));
    return names;
}

bool ScanNumber(std::string_view text, std::size_t& pos, std::int32_t& value) {
    value = 0;
    while (pos < text.size() && !(text[pos] >= '0' && text[pos] <= '9')) ++pos;
    if (pos >= text.size()) {
        pos = text.size();
        return false;
    }
    const bool negative = pos > 0 && text[pos - 1] == '-';
    std::uint32_t v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        v = v * 10 + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    value = static_cast<std::int32_t>(negative ? 0u - v : v);
    return true;
}

void ReadPleditText(std::string_view text, EdxColors& skin_colors) {
    read_pledit(ProfileFile::parse(text), skin_colors);
}

ReadFileStatus ReadPleditTxt(const std::filesystem::path& path, EdxColors& skin_colors) {
    std::string text;
    const ReadFileStatus status = ReadSkinFile(path, text);
    read_pledit(ProfileFile::parse(text), skin_colors);  // empty when unread: six black colours
    return status;
}

void ReadViscolorText(std::string_view text, EdxColors& skin_colors) {
    std::size_t start = 0;
    for (int line = 0; line < 24 && start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view row = text.substr(start, end - start);
        start = end + 1;
        std::size_t pos = 0;
        std::int32_t r = 0;
        std::int32_t g = 0;
        std::int32_t b = 0;
        ScanNumber(row, pos, r);
        ScanNumber(row, pos, g);
        ScanNumber(row, pos, b);
        skin_colors.SetColourIfAbsent(
            viscolor_name(line), rgb(static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(g),
                                     static_cast<std::uint32_t>(b)));
    }
}

ReadFileStatus ReadViscolorTxt(const std::filesystem::path& path, EdxColors& skin_colors) {
    std::string text;
    const ReadFileStatus status = ReadSkinFile(path, text);
    if (status == ReadFileStatus::Ok) {
        ReadViscolorText(std::string_view(text).substr(0, kMaxViscolorBytes), skin_colors);
    }
    return status;
}

void ReadRegionText(std::string_view text, EdxPolygons& region_normal, EdxPolygons& region_shade) {
    const ProfileFile file = ProfileFile::parse(text);
    read_region_section(file, "Normal", region_normal);
    read_region_section(file, "WindowShade", region_shade);
}

ReadFileStatus ReadRegionTxt(const std::filesystem::path& path, EdxPolygons& region_normal,
                             EdxPolygons& region_shade) {
    std::string text;
    const ReadFileStatus status = ReadSkinFile(path, text);
    ReadRegionText(text, region_normal, region_shade);
    return status;
}

void BuildPolygons(EdxPolygons& set, std::string_view num_points, std::string_view point_list) {
    set.clear();
    std::size_t count_pos = 0;
    std::size_t point_pos = 0;
    std::int32_t count = 0;
    while (ScanNumber(num_points, count_pos, count)) {
        EdxPolygon& polygon = set.polygons.emplace_back();
        for (std::int32_t i = 0; i < count; ++i) {
            std::int32_t x = 0;
            std::int32_t y = 0;
            if (!ScanNumber(point_list, point_pos, x) || !ScanNumber(point_list, point_pos, y)) {
                return;
            }
            polygon.points.push_back({x, y});
        }
    }
}

}  // namespace dz
