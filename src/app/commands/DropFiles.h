#pragma once
// Adding files to a list that may be playing (worker thread).

#include <string>
#include <vector>

namespace dz {

class TAG_USERDATA;

// Files dropped on the window: pause a playing tune, add each path in order,
// then resume it (the Play command's core), as one step on the worker.
void drop_files(TAG_USERDATA& d, const std::vector<std::string>& paths);

// Adds one path through the add-path hook (tunes by extension, playlist files
// opened); without one, through add_tune_file.
void add_path(TAG_USERDATA& d, const std::string& path);
// Adds a tune file (extension .ptcop or .pttune, any letter case) with
// add_file; when added, marks the list for rebuilding and saves it.
void add_tune_file(TAG_USERDATA& d, const std::string& path);

// The pause before a change of the list: runs the Pause command when a tune is
// playing (or paused) and tells whether it ran.
bool pause_for_list_change(TAG_USERDATA& d);
// The resume after it: when the pause ran, asks for files if the list is now
// empty (stopping if it stays empty), then runs the Play command's core.
void resume_after_list_change(TAG_USERDATA& d, bool paused);

}  // namespace dz
