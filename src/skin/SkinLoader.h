#pragma once
// Whole skins, from a folder or an archive, into a SkinResources value.
//
// A load first releases everything of the previous skin (bitmaps, cursors, colours and
// polygons), also what the new skin does not provide. It runs on the thread that owns the
// registries (the UI thread during start-up, the worker afterwards) and takes no lock;
// the audio thread never waits for it.

#include <filesystem>

#include "platform/ImageDecoder.h"
#include "platform/WindowHost.h"
#include "skin/SkinResources.h"

namespace dz {

class SkinLoadListener;

// The resources a skin loads into, and what it loads with. The referenced objects
// outlive the view.
struct SkinRegistries {
    SkinResources& resources;
    ImageDecoder& decoder;
    WindowHost* window = nullptr;  // makes the cursors; without one no cursor loads
    SkinLoadListener* listener = nullptr;
};

// Frees every bitmap, cursor, colour and polygon.
void ClearSkin(SkinRegistries& skin);

// Each load decodes at most kSkinPixelBudget pixels (SkinBudget.h), bitmaps and cursors
// together, in load order; what does not fit is passed over and the rest loads.
//
// A folder skin: every "*.bmp" (LoadFolderBitmaps), the cursors (LoadFolderCursors),
// PLEDIT.TXT (its six colours are always stored, black without the file), the TEXT colours,
// VISCOLOR.TXT and REGION.TXT; the text files are found without regard to case.
void LoadSkinFolder(SkinRegistries& skin, const std::filesystem::path& folder);

// An archive skin: its skin members in archive order, each by the kind its name gives
// (SkinElements.h); the first member of an element name wins, except that every REGION
// member rebuilds the polygon sets it gives both keys for. An archive that cannot be read
// leaves the skin empty. Returns the number of members handed to the loaders.
int LoadSkinArchive(SkinRegistries& skin, const std::filesystem::path& archive);

}  // namespace dz
