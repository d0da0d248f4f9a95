#pragma once
// Adding files to a list that may be playing (worker thread). Drops, Add Files,
// Add Folder and Add URL all end here, and each writes the list once.

#include <string>
#include <vector>

namespace dz {

class TAG_USERDATA;

// Adds the paths in order through the add-paths hook (tunes by extension,
// playlist files opened; the list saved once); without one, the tune files among
// them, then the list saved once. True when the list changed (rows marked for
// rebuilding).
bool add_paths(TAG_USERDATA& d, const std::vector<std::string>& paths);

// Files dropped on the window, chosen in the Add Files dialog or found in a
// folder: pause a playing tune, add_paths, then resume it (the Play command's
// core), as one step on the worker. A dropped folder (local) adds the tune files
// directly inside it, in name order.
void drop_files(TAG_USERDATA& d, const std::vector<std::string>& paths);

// Files, folders and URLs named on the command line (or handed over by a second start):
// added as a drop is (folders scanned), and then the first new entry plays: the first of an opened
// playlist file, else the first entry after those the list had. Nothing plays when the
// list did not change; a tune that was playing is then resumed. A URL to play plays
// when its download has arrived; a tune that was playing plays on until then.
void open_paths(TAG_USERDATA& d, const std::vector<std::string>& paths);

// The pause before a change of the list: runs the Pause command when a tune is
// playing (or paused) and tells whether it ran.
bool pause_for_list_change(TAG_USERDATA& d);
// The resume after it: when the pause ran, runs the Play command (which asks for
// files first if the list is now empty).
void resume_after_list_change(TAG_USERDATA& d, bool paused);

}  // namespace dz
