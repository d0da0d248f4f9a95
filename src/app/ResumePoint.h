#pragma once
// Where the listener left off: the current entry and the play position, kept in the Setting
// section (Current, Position, CurrentFile) at close and taken up at the next start. Worker
// thread: the last thing it does before it ends, and the first thing it does.

namespace dz {

class TAG_USERDATA;

// Writes the resume point when it differs from the stored one (a list never played leaves
// the file alone).
void SaveResumePoint(TAG_USERDATA& data);

// When Current names an entry of the playlist whose path is CurrentFile, that entry becomes
// the current tune, paused at Position (the bus then reports Paused there, and Play goes on
// from it). With no stored point, a list changed since (index out of range, another file at
// that index) or a tune that does not load, the player starts as it would without one.
void RestoreResumePoint(TAG_USERDATA& data);

}  // namespace dz
