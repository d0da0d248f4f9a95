#pragma once
// The application's world handler: the initialisation sequence on EDX_CREATE,
// the per-frame hooks (update, frame composition, cursor).

#include "edx/EdxBody.h"

namespace dz {

class TAG_USERDATA;

// Installed on the world by Attach; called with the world itself as `body`.
int AppWorldHandler(EdxBody* body, int code, TAG_USERDATA* data);

// EDX_UPDATE's first step: finished background reads and downloads go into their entries;
// the playlist is saved after downloads and once no read is left.
void ApplyLoadedEntries(TAG_USERDATA& data);

// The twelve start-up steps, in order (UI thread, before the worker exists).
void RunInitialisation(TAG_USERDATA& data);

// EDX_FRAME: compose the frame with the key colour, cutting the shape when one applies.
void ComposeAppFrame(TAG_USERDATA& data);

// True when a window shape applies: the shaded player's polygons while shade_player is
// set, else the normal player's; the body must exist and the set must not be empty.
bool ShapeApplies(const TAG_USERDATA& data);

}  // namespace dz
