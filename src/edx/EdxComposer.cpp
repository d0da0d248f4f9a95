#include "edx/EdxComposer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "edx/EdxCodes.h"
#include "edx/EdxRender.h"
#include "edx/EdxWorld.h"

namespace dz {

namespace {

// More separate areas than this are drawn as their bounding rectangle.
constexpr std::size_t kMaxAreas = 16;

Rect Union(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Adds `r` to a set of disjoint rectangles, merging the ones it overlaps.
void AddArea(std::vector<Rect>& areas, Rect r) {
    if (r.empty()) return;
    for (std::size_t i = 0; i < areas.size();) {
        if (Overlap(areas[i], r)) {
            r = Union(areas[i], r);
            areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
            i = 0;
        } else {
            ++i;
        }
    }
    areas.push_back(r);
    if (areas.size() > kMaxAreas) {
        Rect all = areas.front();
        for (const Rect& a : areas) all = Union(all, a);
        areas.assign(1, all);
    }
}

// The operations of one EDX_DRAW of one body: [begin, end) of the frame's list. A body
// drawing more than once in a frame has one segment per time (its occurrence).
struct Segment {
    const EdxBody* body;
    int occurrence;
    std::size_t begin, end;
};

std::vector<Segment> Segments(const std::vector<EdxDrawOp>& ops) {
    std::vector<Segment> out;
    std::map<const EdxBody*, int> seen;
    for (std::size_t i = 0; i < ops.size();) {
        std::size_t j = i;
        while (j < ops.size() && ops[j].body == ops[i].body) ++j;
        out.push_back(Segment{ops[i].body, seen[ops[i].body]++, i, j});
        i = j;
    }
    return out;
}

void AddBounds(std::vector<Rect>& areas, const std::vector<EdxDrawOp>& ops, const Segment& s) {
    for (std::size_t i = s.begin; i < s.end; ++i) AddArea(areas, ops[i].bounds());
}

void Clear(EdxImage& image, const Rect& r) {
    const Rect area = intersect(r, Rect{0, 0, image.width(), image.height()});
    for (int y = area.top; y < area.bottom; ++y)
        std::memset(image.row(y) + 3 * area.left, 0, 3 * std::size_t(area.width()));
}

}  // namespace

void EdxComposer::submit(EdxWorld& w, EdxDrawOp&& op) {
    EdxImage& back = w.back_buffer;
    if (mode_ == Mode::Idle) {
        op.execute(back, op.clip);
        return;
    }
    if (back.version() != expected_version_) direct_ = true;
    if (mode_ == Mode::Draw) {
        op.execute(back, op.clip);
        expected_version_ = back.version();
    }
    current_.push_back(std::move(op));
}

bool EdxComposer::collect(EdxWorld& w, Mode mode) {
    current_.clear();
    direct_ = false;
    mode_ = mode;
    expected_version_ = w.back_buffer.version();
    w.clip = w.rect;
    Broadcast(&w, EDX_DRAW);
    w.send(EDX_DRAWN);
    mode_ = Mode::Idle;
    w.clip = w.rect;
    if (w.back_buffer.version() != expected_version_) direct_ = true;
    return !direct_;
}

bool EdxComposer::find_changes(std::vector<Rect>& dirty) const {
    const std::vector<Segment> old_segments = Segments(previous_);
    const std::vector<Segment> new_segments = Segments(current_);
    std::map<std::pair<const EdxBody*, int>, std::size_t> index;
    for (std::size_t i = 0; i < old_segments.size(); ++i)
        index[{old_segments[i].body, old_segments[i].occurrence}] = i;
    std::vector<char> matched(old_segments.size(), 0);
    std::size_t last_unchanged = 0;
    bool any_unchanged = false;
    for (const Segment& s : new_segments) {
        auto it = index.find({s.body, s.occurrence});
        if (it != index.end()) {
            const Segment& o = old_segments[it->second];
            matched[it->second] = 1;
            if (std::equal(previous_.begin() + std::ptrdiff_t(o.begin),
                           previous_.begin() + std::ptrdiff_t(o.end),
                           current_.begin() + std::ptrdiff_t(s.begin),
                           current_.begin() + std::ptrdiff_t(s.end))) {
                // Unchanged bodies must keep their order for their pixels to stay.
                if (any_unchanged && it->second < last_unchanged) return false;
                last_unchanged = it->second;
                any_unchanged = true;
                continue;
            }
            AddBounds(dirty, previous_, o);
        }
        AddBounds(dirty, current_, s);
    }
    for (std::size_t i = 0; i < old_segments.size(); ++i)
        if (!matched[i]) AddBounds(dirty, previous_, old_segments[i]);
    return true;
}

void EdxComposer::redraw(EdxWorld& w, const std::vector<Rect>& areas,
                         const std::function<void(EdxWorld*)>& cut_shape) {
    EdxImage& back = w.back_buffer;
    for (const Rect& r : areas) {
        Clear(back, r);
        for (const EdxDrawOp& op : current_) op.execute(back, r);
        ProtectKeyColour(back, r, key_, substitute_);
    }
    if (!cut_shape) return;
    // With nothing to draw the shape is still given an empty clip, so that a changed
    // shape is noticed.
    const std::vector<Rect> clips = areas.empty() ? std::vector<Rect>{Rect{}} : areas;
    for (const Rect& r : clips) {
        w.clip = r;
        cut_shape(&w);
    }
    w.clip = w.rect;
}

void EdxComposer::draw_at_once(EdxWorld& w, const std::function<void(EdxWorld*)>& cut_shape) {
    EdxImage& back = w.back_buffer;
    std::memset(back.pixels(), 0, std::size_t(back.stride()) * back.height());
    const bool kept = collect(w, Mode::Draw);
    ProtectKeyColour(back, key_, substitute_);
    if (cut_shape) cut_shape(&w);
    finish(w, {w.rect}, kept);
}

void EdxComposer::finish(EdxWorld& w, const std::vector<Rect>& areas, bool kept) {
    EdxImage& back = w.back_buffer;
    drawn_ = areas;
    previous_.swap(current_);
    current_.clear();
    previous_valid_ = kept;
    back_id_ = back.id();
    back_version_ = back.version();
    if (areas.empty()) return;
    std::lock_guard<std::mutex> g(w.lock);
    EdxImage& front = w.front_buffer;
    if (!front.has_bitmap() || front.stride() != back.stride()) return;
    const Rect inside{0, 0, std::min(front.width(), back.width()),
                      std::min(front.height(), back.height())};
    // Only the worker writes the front buffer, so reading it here needs no more than the
    // lock already held. An unchanged frame leaves the window alone.
    const std::uint8_t* from = std::as_const(back).pixels();
    std::uint8_t* to = front.pixels();
    for (const Rect& a : areas) {
        const Rect r = intersect(a, inside);
        const std::size_t bytes = 3 * std::size_t(r.width());
        for (int y = r.top; y < r.bottom; ++y) {
            const std::size_t at = std::size_t(y) * back.stride() + 3 * std::size_t(r.left);
            if (std::memcmp(to + at, from + at, bytes) != 0) {
                std::memcpy(to + at, from + at, bytes);
                w.frame_changed = true;
            }
        }
    }
}

void EdxComposer::compose(EdxWorld& w, ColorRef key, ColorRef substitute,
                          const std::function<void(EdxWorld*)>& cut_shape) {
    EdxImage& back = w.back_buffer;
    const bool cut = static_cast<bool>(cut_shape);
    const bool same_setting = key == key_ && substitute == substitute_ && cut == cut_;
    const bool back_kept = back.id() == back_id_ && back.version() == back_version_;
    key_ = key;
    substitute_ = substitute;
    cut_ = cut;
    if (!previous_valid_) {
        draw_at_once(w, cut_shape);
        return;
    }
    if (!collect(w, Mode::Record)) {
        // A handler wrote into the previous frame's pixels: draw the frame again at once.
        draw_at_once(w, cut_shape);
        return;
    }
    std::vector<Rect> dirty;
    const int builds = w.shape_mask.builds();
    if (same_setting && back_kept && find_changes(dirty)) {
        redraw(w, dirty, cut_shape);
        if (w.shape_mask.builds() == builds) {
            finish(w, dirty, true);
            return;
        }
    }
    const std::vector<Rect> whole{w.rect};
    redraw(w, whole, cut_shape);
    finish(w, whole, true);
}

}  // namespace dz
