#pragma once
// The skin's text files: PLEDIT.TXT, VISCOLOR.TXT and REGION.TXT (CR LF line ends).

#include <string>

namespace skingen {

// Section [Text]: every key the player reads, colours of the art direction.
std::string pledit_txt();
// 24 lines "R,G,B," with a comment: background, grid dots, spectrum 2..17 (top to bottom,
// pink to mint), oscilloscope 18..22 (brightest first), peaks.
std::string viscolor_txt();
// The rounded top corners of the player and its shade bar: three pixels cut at each top
// corner. The player draws each polygon with its outline included, so the points
// are the centres of the outermost visible pixels; the right and bottom edges lie outside
// the window and cost nothing.
std::string region_txt();

}  // namespace skingen
