#pragma once
// The skin's text files: PLEDIT.TXT (playlist colours), VISCOLOR.TXT (visualisation
// colours) and REGION.TXT (the main window's outline). Colours go into an EdxColors
// with SetColourIfAbsent (the first value under a name stays); polygon sets are rebuilt.
// The caller empties the registries before a skin's files are read.
//
// PLEDIT.TXT, a profile file: section [Text], keys Normal, Current, NormalBG, SelectedBG,
// MBBG, MBFG, stored as "PLEDIT.<key>". A value's hexadecimal digits are collected (every
// other character skipped, "#" or not) up to six: six give RRGGBB; three to five give
// RGB with each digit doubled (the fourth and fifth ignored); fewer give black. A missing
// file or key counts as "#000000", so all six colours are always stored.
//
// VISCOLOR.TXT, lines of "R,G,B" (any non-digits separate the numbers; a '-' right before
// a number makes it negative; each number is taken modulo 256; a missing one is 0):
//
// | Line  | Colour name                                   |
// |-------|-----------------------------------------------|
// | 1     | VISCOLOR.Background                           |
// | 2     | VISCOLOR.BGDots                               |
// | 3-18  | VISCOLOR.Spectrum01 ... VISCOLOR.Spectrum16   |
// | 19-23 | VISCOLOR.Oscilloscope1 ... Oscilloscope5      |
// | 24    | VISCOLOR.Peaks                                |
//
// Every line counts, a blank one too (black); lines past the 24th are not read; the
// colours of lines a short file lacks stay absent. Lines end in LF or CR LF.
//
// REGION.TXT, a profile file: sections [Normal] (the normal window) and [WindowShade]
// (the shaded bar), keys NumPoints (one point count per polygon) and PointList (x, y
// pairs of all polygons in order), each read up to 2047 characters. A section with both
// keys non-empty rebuilds its polygon set; otherwise that set stays as it is.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/RegularFile.h"
#include "edx/EdxColors.h"
#include "edx/EdxPolygons.h"

namespace dz {

// Every colour name a skin load can store: "TEXT.NormalBG", "TEXT.Normal" (from the TEXT
// bitmap), the six PLEDIT and the 24 VISCOLOR names, in that order.
std::vector<std::string> SkinColourNames();

// Reads the next decimal number of `text` from `pos` on: skips non-digits, takes a '-'
// right before the first digit as the sign, leaves `pos` after the last digit. 32-bit
// arithmetic wraps. False (value 0, pos at the end) when no digit is left.
bool ScanNumber(std::string_view text, std::size_t& pos, std::int32_t& value);

// The readers of files return how the file was read (SkinFile.h: regular files only);
// a file that was not read counts as empty.
ReadFileStatus ReadPleditTxt(const std::filesystem::path& path, EdxColors& skin_colors);
void ReadPleditText(std::string_view text, EdxColors& skin_colors);

// A file that cannot be opened stores nothing.
ReadFileStatus ReadViscolorTxt(const std::filesystem::path& path, EdxColors& skin_colors);
void ReadViscolorText(std::string_view text, EdxColors& skin_colors);

ReadFileStatus ReadRegionTxt(const std::filesystem::path& path, EdxPolygons& region_normal,
                             EdxPolygons& region_shade);
void ReadRegionText(std::string_view text, EdxPolygons& region_normal, EdxPolygons& region_shade);

// Empties `set`, then makes one polygon per count of `num_points`, each taking that many
// x, y pairs from `point_list`. The build stops where the point list runs out; what was
// built stays. A count of 0 or less makes an empty polygon.
void BuildPolygons(EdxPolygons& set, std::string_view num_points, std::string_view point_list);

}  // namespace dz
