#pragma once
// Window-shape polygons, in logical window pixels from the top-left corner of
// the window surface, in the order they were read.

#include <vector>

#include "platform/Geometry.h"

namespace dz {

struct EdxPolygon {
    virtual ~EdxPolygon() = default;
    std::vector<Point> points;
};

struct EdxPolygons {
    virtual ~EdxPolygons() = default;
    void clear() { polygons.clear(); }
    std::vector<EdxPolygon> polygons;
};

}  // namespace dz
