#pragma once
// The skin's mouse cursors (every name the player looks up), 32 × 32, drawn in
// the skin's colours: label fill, 1-px outline, coral accents.

#include <string>
#include <vector>

#include "FileFormats.h"

namespace skingen {

struct NamedCursor {
    std::string name;  // file name, e.g. "NORMAL.CUR"
    CursorImage image;
};

std::vector<NamedCursor> skin_cursors();

}  // namespace skingen
