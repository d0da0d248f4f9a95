#pragma once
// Frame buffers, composition and painting.

#include <functional>

#include "edx/EdxWorld.h"

namespace dz {

// Holding the lock, releases and refills back, front and mask buffers at the world's size.
void RecreateBuffers(EdxWorld* world);
// Every pixel equal to `key` becomes `substitute` (both 0x00BBGGRR); the whole image.
void ProtectKeyColour(EdxImage& image, ColorRef key, ColorRef substitute);
// The same inside `area` only.
void ProtectKeyColour(EdxImage& image, const Rect& area, ColorRef key, ColorRef substitute);
// Worker thread: black fill, EDX_DRAW broadcast, EDX_DRAWN, ProtectKeyColour, the
// window shape (when `cut_shape` is given), copy to the front buffer under the lock when
// the frame differs from it. Does nothing while the world is suspended or has no buffer.
// Only the areas of bodies whose drawing changed are drawn again (EdxComposer.h); the
// shape is then cut with the world's clip set to each such area.
void ComposeFrame(EdxWorld* world, ColorRef key, ColorRef substitute,
                  const std::function<void(EdxWorld*)>& cut_shape = {});
// Any thread: ask the window to show the front buffer, when it changed (or the scale or
// the buffers did) since the last time; never while the world is suspended.
void PaintWindow(EdxWorld* world);
// UI thread (window paint): calls `draw` with the front buffer while holding the lock.
void PaintFrontBuffer(EdxWorld* world, const std::function<void(const FrameView&)>& draw);

}  // namespace dz
