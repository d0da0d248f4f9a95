#pragma once
// The dialog hooks of CommandHooks over the Dialogs seam: each dialog opens on the UI
// thread while the worker waits, and gives nothing once the UI thread takes no calls.

#include "platform/Dialogs.h"
#include "player/TuneInfo.h"
#include "state/CommandHooks.h"

namespace dz {

class TAG_USERDATA;
class tagPLAYER;

void InstallDialogHooks(CommandHooks& hooks);

// What File Info shows of an entry: name and comment converted from code page 932, the
// tempo without decimals.
FileInfoText FileInfoTextOf(const tagTUNEINFO& entry);

// The entry File Info shows. With the editor shown and not shaded: the cursor row; with it
// hidden or shaded: the current tune when its information is loaded. Otherwise the first
// entry in play order; nothing when the playlist is empty.
std::optional<tagTUNEINFO> FileInfoEntry(TAG_USERDATA& data);

// What the jump box lists: every entry of the playlist in list order, its title converted as
// the window shows it and the last component of its path or URL.
std::vector<JumpEntry> JumpEntriesOf(const tagPLAYER& player);

PreferenceValues PreferenceValuesOf(const tagPLAYER& player);
// Preferences' OK: the values become the output format, the library is re-opened with it
// (pxtone_Reset) and the Property section is written; changed loops or fade-out go to the
// player and the Setting section.
void ApplyPreferences(TAG_USERDATA& data, const PreferenceValues& values);

}  // namespace dz
