#pragma once
// The player's side of the desktop media controls (worker thread): the state a
// controller is shown, and its requests run through the command handlers the keys use.

#include "platform/MediaRemote.h"

namespace dz {

class TAG_USERDATA;

// The state of the current tune and the play modes. The title is the one the window
// shows (a tune's name converted from code page 932, or the file title). A playing tune
// held by a lost output is Paused.
MediaState ReadMediaState(TAG_USERDATA& d);

// Play, Pause, Stop, Next, Previous, Shuffle and Repeat are the commands of the keys X, C,
// V, B, Z, S and R; a seek and the volume go to the player as the seek bar and the volume
// slider do (the volume is saved in the settings).
void RunMediaRequest(TAG_USERDATA& d, const MediaRequest& request);

}  // namespace dz
