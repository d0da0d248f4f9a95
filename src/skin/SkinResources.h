#pragma once
// What a loaded skin is: its decoded bitmaps and cursors, its colours and the window
// shape's polygons. The application state holds one; the loader (SkinLoader.h) fills it.
//
// Cursor images carry a cursor made by the window host (EdxImage::cursor), which
// ReleaseSkinCursors (SkinCursors.h) frees.

#include "edx/EdxColors.h"
#include "edx/EdxImages.h"
#include "edx/EdxPolygons.h"

namespace dz {

struct SkinResources {
    EdxImages skin_images;    // bitmaps by element name ("MAIN", "CBUTTONS", ...)
    EdxImages cursor_images;  // cursors by element name ("NORMAL", "CLOSE", ...)
    EdxColors skin_colors;    // PLEDIT.TXT, VISCOLOR.TXT and the TEXT colours
    EdxPolygons region_normal;
    EdxPolygons region_shade;
};

}  // namespace dz
