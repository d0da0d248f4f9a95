#pragma once
// The ten top-level bodies of the window, directly under the world.

namespace dz {

class TAG_USERDATA;

// Creates the player, its shaded bar, the playlist editor, its shaded bar, the strip
// cover and the five button strips, in that order, with their subtrees, and stores
// them in the state. Needs the attached world; does nothing when the bodies exist.
void CreateTopLevelBodies(TAG_USERDATA& d);

}  // namespace dz
