#pragma once
// A picture of a skin as the player draws it, made off-screen through the player's own
// bodies and drawing code: the player (a tune playing), below it the shaded bar, below
// that the playlist editor. No display is needed.

#include <filesystem>
#include <string>

namespace dz {

// Loads the skin (a folder, or an archive when `folder` is false), composes the three
// windows and writes them as one PNG. False with `error` set when the file cannot be
// written.
bool WriteSkinSnapshot(const std::filesystem::path& skin, bool folder, const std::string& png,
                       std::string& error);

}  // namespace dz
