#pragma once
// The window shape: polygons cut an outline out of a rectangle of the frame by
// turning every pixel of the rectangle that lies outside all of them into the key
// colour (ANDed with it, as a key-coloured mask combined with AND does; with the
// key 0 the pixel becomes pure black, which the window shows as transparent).
//
// A pixel lies inside when the polygons cover it: the fill uses the winding rule
// (overlapping polygons add up) and samples pixel centres, and the 1-pixel outline
// through the points is inside too. A polygon of fewer than two points covers nothing.

#include <cstdint>
#include <vector>

#include "edx/EdxImage.h"
#include "edx/EdxPolygons.h"

namespace dz {

// One bit per pixel of `area` (row by row), 1 where the polygons cover it.
class EdxCoverage {
public:
    EdxCoverage(const Rect& area, const EdxPolygons& polygons);
    bool covered(int x, int y) const;
    const Rect& area() const { return area_; }

private:
    void mark(int x, int y);
    void fill_winding(const EdxPolygon& polygon);
    Rect area_;
    std::vector<std::uint8_t> bits_;
};

// The pixels a shape cuts, as runs per row, kept from frame to frame: they are worked out
// again only when the rectangle or the polygons change. Worker thread.
class EdxShapeMask {
public:
    // Cuts the shape into `image`: inside `area` and `clip`, every pixel not covered by
    // `polygons` is ANDed with `key` (0x00BBGGRR). Pixels outside `area` stay.
    void cut(EdxImage& image, const Rect& clip, const Rect& area, const EdxPolygons& polygons,
             ColorRef key);
    // How many times the runs were worked out.
    int builds() const { return builds_; }

private:
    struct Run {
        int y, left, right;
    };
    bool same_shape(const Rect& area, const EdxPolygons& polygons) const;
    void build(const Rect& area, const EdxPolygons& polygons);

    bool built_ = false;
    int builds_ = 0;
    Rect area_;
    std::vector<std::vector<Point>> points_;
    std::vector<Run> runs_;  // uncovered pixels [left, right) of row y
};

// One cut without keeping the runs.
void CutShape(EdxImage& image, const Rect& clip, const Rect& area, const EdxPolygons& polygons,
              ColorRef key);

}  // namespace dz
