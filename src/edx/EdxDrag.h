#pragma once
// Moving the window with the mouse. Screen pixels throughout; the display scale
// plays no part.

#include "edx/EdxWorld.h"

namespace dz {

// Worker thread, from a body's button-down: remember the grab point and start following,
// or hand the move to the window system where it places windows itself (the window host's
// begin_system_move); capture the mouse for the body.
void BeginDrag(EdxBody* body);
// Worker thread, from the button-up: stop following and release the capture.
void EndDrag(EdxBody* body);
// UI thread, on every mouse move: while dragging, put the window at cursor + offset.
void FollowDrag(EdxWorld* world);

}  // namespace dz
