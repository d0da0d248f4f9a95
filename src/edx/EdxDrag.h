#pragma once
// Moving the window with the mouse. Screen pixels throughout; the display scale
// plays no part.

#include "edx/EdxWorld.h"

namespace dz {

// Worker thread, from a body's button-down: remember the grab point, start following,
// capture the mouse for the body.
void BeginDrag(EdxBody* body);
// Worker thread, from the button-up: stop following and release the capture.
void EndDrag(EdxBody* body);
// UI thread, on every mouse move: while dragging, put the window at cursor + offset.
void FollowDrag(EdxWorld* world);

}  // namespace dz
