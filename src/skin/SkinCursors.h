#pragma once
// Skin cursors into a cursor registry. Each entry is an EdxImage that holds only the
// handle of a cursor the window host made (WindowHost::make_cursor) from pixels decoded
// here; the registry's owner frees them with ReleaseSkinCursors. The registries are the
// caller's; nothing here takes a lock.

#include <filesystem>
#include <string>
#include <string_view>

#include "edx/EdxImages.h"
#include "platform/ImageDecoder.h"
#include "platform/WindowHost.h"

namespace dz {

class SkinBudget;
class SkinLoadListener;

// The cursor registered under `element`. When there is none, the file (CUR data, or ANI
// data whatever its name) is read and decoded, the window host makes the cursor and it is
// registered; otherwise 0 (always 0 without a window). With a `budget`, a cursor whose
// size does not fit in it is not decoded (budget->refused() is set). `why` is set when it
// fails; `shape` receives the size and hotspot of a cursor made here (its pixels are left
// out).
CursorHandle LoadSkinCursor(EdxImages& cursor_images, std::string_view element,
                            const std::filesystem::path& file, ImageDecoder& decoder,
                            WindowHost* window, std::string* why = nullptr,
                            DecodedImage* shape = nullptr, SkinBudget* budget = nullptr);

// The files "*.cur" and then "*.ani" directly in `folder` (any case) whose element is used
// (IsUsedCursor), each pattern in byte order of the names, registered under the name
// without the extension; the first file of a key wins.
void LoadFolderCursors(const std::filesystem::path& folder, EdxImages& cursor_images,
                       ImageDecoder& decoder, WindowHost* window, SkinBudget& budget,
                       SkinLoadListener* listener = nullptr);

// The cursor registered under `element` (any case), or 0.
CursorHandle FindSkinCursor(const EdxImages& cursor_images, std::string_view element);

// Frees every cursor of the registry through `window` and empties the registry.
void ReleaseSkinCursors(EdxImages& cursor_images, WindowHost* window);

}  // namespace dz
