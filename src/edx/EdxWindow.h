#pragma once
// The window around the world: display scale, logical size, always-on-top.
// The window calls run on the UI thread (at once when called there, else as a
// blocking call); the world's fields are written by the calling thread (the worker,
// or the UI thread before the worker starts).

#include "edx/EdxWorld.h"

namespace dz {

// Resizes the window's client area for a new display scale: (int)(scale x client size
// / zoom). Ignores a scale of 0 or less and the current scale. The frame buffers stay at
// the logical size; painting scales them.
void SetZoom(EdxWorld* world, double scale);
// Sets the logical size, resizes the client area to it times zoom and recreates the frame
// buffers. A width or height of 0 or less keeps the size, the window and the buffers and
// suspends the world instead: nothing is composed or presented until a later call with a
// real size.
void SetWorldSize(EdxWorld* world, int width, int height);
// Keeps the window above the others (or not); false when the window system refused.
bool SetTopmost(EdxWorld* world, bool on);

}  // namespace dz
