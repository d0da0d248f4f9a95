#pragma once
// Composition that redraws only what changed. While a frame is composed the drawing
// primitives are recorded as operations, grouped by the body that drew them. The
// operations of each body are compared with the previous frame's: the areas of the
// bodies whose operations differ (in both frames) are cleared and drawn again from the
// new operations, and the rest of the back buffer keeps the previous frame's pixels.
// An unchanged frame writes no pixel. Drawn this way a frame has the same pixels as a
// frame drawn whole: the unchanged operations keep their order, and every primitive's
// pixels depend only on its own arguments and source pixels, never on its clip.
//
// The whole frame is drawn again (from the recorded operations) when the back buffer
// was written since the last frame (layout draws, new buffers), when the key colours or
// the shape change, or when unchanged bodies change their order. While a handler writes
// the back buffer itself, every frame is cleared whole and drawn by the handlers at once.
//
// Threads: the worker thread (the UI thread before the worker starts), like the tree.

#include <cstdint>
#include <functional>
#include <vector>

#include "edx/EdxDrawOp.h"

namespace dz {

class EdxWorld;

class EdxComposer {
public:
    // Worker thread: the compose step of ComposeFrame (see EdxRender.h).
    void compose(EdxWorld& world, ColorRef key, ColorRef substitute,
                 const std::function<void(EdxWorld*)>& cut_shape);
    // Every drawing primitive ends here: outside compose() the operation draws at once;
    // during it, it is kept, and drawn at once too while the frame is drawn at once.
    void submit(EdxWorld& world, EdxDrawOp&& op);

    // The rectangles drawn again by the last compose (the whole frame when it was drawn
    // whole; none when nothing changed).
    const std::vector<Rect>& last_drawn() const { return drawn_; }

private:
    enum class Mode { Idle, Record, Draw };
    // Runs the EDX_DRAW broadcast and EDX_DRAWN in `mode`; false when a handler wrote
    // the back buffer itself.
    bool collect(EdxWorld& world, Mode mode);
    // The areas of the bodies whose operations changed into `dirty`; false when unchanged
    // bodies changed their order (the whole frame must be drawn).
    bool find_changes(std::vector<Rect>& dirty) const;
    // Clears `areas` and draws the kept operations there, then the key colour and the shape.
    void redraw(EdxWorld& world, const std::vector<Rect>& areas,
                const std::function<void(EdxWorld*)>& cut_shape);
    // The whole frame cleared and drawn by the handlers at once.
    void draw_at_once(EdxWorld& world, const std::function<void(EdxWorld*)>& cut_shape);
    // Keeps this frame's operations (`kept`: they can be compared next time) and copies
    // `areas` of the back buffer to the front buffer under the lock.
    void finish(EdxWorld& world, const std::vector<Rect>& areas, bool kept);

    Mode mode_ = Mode::Idle;
    bool direct_ = false;  // a handler wrote the back buffer during this frame
    std::uint64_t expected_version_ = 0;
    std::vector<EdxDrawOp> previous_, current_;
    bool previous_valid_ = false;
    // What the back buffer held after the last compose.
    std::uint64_t back_id_ = 0, back_version_ = 0;
    ColorRef key_ = 0, substitute_ = 0;
    bool cut_ = false;
    std::vector<Rect> drawn_;
};

}  // namespace dz
