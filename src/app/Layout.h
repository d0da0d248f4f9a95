#pragma once
// The window layout of the ten top-level bodies and the window shape.

#include "edx/EdxWorld.h"

namespace dz {

class TAG_USERDATA;

// Stacks the player (or its shaded bar) over the editor (or its shaded bar), places the
// editor's button strips, sets the scale, the logical size and always-on-top from the
// settings, and redraws. Does nothing until all ten bodies exist and the world is
// attached. Worker thread, or the UI thread before the worker starts. Returns 0.
int RunLayout(TAG_USERDATA& data);

// Cuts the player's outline into the back buffer (after the key colour is protected):
// inside the normal player's rectangle with the normal polygons, or the shaded bar's
// with the shade polygons while the player is shaded. Worker thread.
void ApplyShapeMask(TAG_USERDATA& data, EdxWorld& world);

}  // namespace dz
