#include "edx/EdxShape.h"

#include <algorithm>
#include <cmath>

#include "edx/EdxRaster.h"

namespace dz {

EdxCoverage::EdxCoverage(const Rect& area, const EdxPolygons& polygons)
    : area_(area.empty() ? Rect{} : area),
      bits_(std::size_t(area_.width()) * std::size_t(area_.height()), 0) {
    if (area_.empty()) return;
    for (const EdxPolygon& polygon : polygons.polygons) {
        const std::vector<Point>& pts = polygon.points;
        if (pts.size() < 2) continue;
        fill_winding(polygon);
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            ForEachLinePointIn(a.x, a.y, b.x, b.y, area_, [this](int x, int y) { mark(x, y); });
        }
    }
}

bool EdxCoverage::covered(int x, int y) const {
    if (!area_.contains(x, y)) return false;
    return bits_[std::size_t(y - area_.top) * std::size_t(area_.width()) +
                 std::size_t(x - area_.left)] != 0;
}

void EdxCoverage::mark(int x, int y) {
    if (!area_.contains(x, y)) return;
    bits_[std::size_t(y - area_.top) * std::size_t(area_.width()) + std::size_t(x - area_.left)] =
        1;
}

void EdxCoverage::fill_winding(const EdxPolygon& polygon) {
    const std::vector<Point>& pts = polygon.points;
    struct Crossing {
        double x;
        int dir;
    };
    std::vector<Crossing> crossings;
    for (int y = area_.top; y < area_.bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            if (a.y == b.y) continue;
            const double lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
            if (yc < lo || yc >= hi) continue;
            const double x =
                a.x + (yc - a.y) * (double(b.x) - double(a.x)) / (double(b.y) - double(a.y));
            // Crossings beyond the area mark the same pixels as one just outside it.
            crossings.push_back(
                Crossing{std::clamp(x, double(area_.left) - 1.0, double(area_.right) + 1.0),
                         b.y > a.y ? 1 : -1});
        }
        if (crossings.empty()) continue;
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].dir;
            if (winding == 0) continue;
            // Pixels whose centre x + 0.5 lies in [from, to).
            const int first = int(std::ceil(crossings[i].x - 0.5));
            const int end = int(std::ceil(crossings[i + 1].x - 0.5));
            for (int x = std::max(first, area_.left); x < std::min(end, area_.right); ++x) {
                mark(x, y);
            }
        }
    }
}

bool EdxShapeMask::same_shape(const Rect& area, const EdxPolygons& polygons) const {
    if (!built_ || !(area == area_) || polygons.polygons.size() != points_.size()) return false;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (polygons.polygons[i].points != points_[i]) return false;
    }
    return true;
}

void EdxShapeMask::build(const Rect& area, const EdxPolygons& polygons) {
    built_ = true;
    ++builds_;
    area_ = area;
    points_.clear();
    for (const EdxPolygon& p : polygons.polygons) points_.push_back(p.points);
    runs_.clear();
    const EdxCoverage coverage(area, polygons);
    for (int y = area.top; y < area.bottom; ++y) {
        int x = area.left;
        while (x < area.right) {
            while (x < area.right && coverage.covered(x, y)) ++x;
            const int start = x;
            while (x < area.right && !coverage.covered(x, y)) ++x;
            if (x > start) runs_.push_back(Run{y, start, x});
        }
    }
}

void EdxShapeMask::cut(EdxImage& image, const Rect& clip, const Rect& area,
                       const EdxPolygons& polygons, ColorRef key) {
    if (!image.has_bitmap()) return;
    const Rect inside = intersect(area, Rect{0, 0, image.width(), image.height()});
    if (!same_shape(inside, polygons)) build(inside, polygons);
    const Rect bounds = intersect(clip, Rect{0, 0, image.width(), image.height()});
    const std::uint8_t kb = (key >> 16) & 0xFF, kg = (key >> 8) & 0xFF, kr = key & 0xFF;
    for (const Run& run : runs_) {
        if (run.y < bounds.top || run.y >= bounds.bottom) continue;
        const int left = std::max(run.left, bounds.left);
        const int right = std::min(run.right, bounds.right);
        std::uint8_t* p = image.row(run.y) + 3 * left;
        for (int x = left; x < right; ++x, p += 3) {
            p[0] &= kb;
            p[1] &= kg;
            p[2] &= kr;
        }
    }
}

void CutShape(EdxImage& image, const Rect& clip, const Rect& area, const EdxPolygons& polygons,
              ColorRef key) {
    EdxShapeMask mask;
    mask.cut(image, clip, area, polygons, key);
}

}  // namespace dz
