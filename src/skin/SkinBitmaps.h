#pragma once
// Skin bitmaps into an image registry, and the TEXT colours taken from them. The
// registries are the caller's; nothing here takes a lock.
//
// Functions that can fail take an optional `why`, set to the reason when they do.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "edx/EdxColors.h"
#include "edx/EdxImages.h"
#include "platform/ImageDecoder.h"
#include "skin/SkinFile.h"

namespace dz {

class SkinBudget;
class SkinLoadListener;

// A bitmap image (24 bits, alpha dropped) of decoded pixels.
std::unique_ptr<EdxImage> MakeSkinImage(const DecodedImage& decoded);

// Reads and decodes `file` into `image`. False, and the image unchanged, when the image
// already holds a bitmap, the file is no readable bitmap or, with a `budget`, its size
// does not fit in it (checked before the pixels are decoded; budget->refused() is set).
bool LoadImageFile(EdxImage& image, const std::filesystem::path& file, ImageDecoder& decoder,
                   std::string* why = nullptr, SkinBudget* budget = nullptr);

// The image registered under `element`. When there is none, the file is read and decoded
// and, when that succeeds, registered under `element`; otherwise null.
EdxImage* LoadSkinBitmap(const std::filesystem::path& file, EdxImages& skin_images,
                         ImageDecoder& decoder, std::string_view element,
                         std::string* why = nullptr, SkinBudget* budget = nullptr);

// Every "*.bmp" file directly in `folder` (any case; sub-folders are not entered) whose
// element is used (IsUsedBitmap), in byte order of the names, registered under its name
// without the extension; the first file of a key wins. Files that do not decode or do
// not fit in `budget` are passed over.
void LoadFolderBitmaps(const std::filesystem::path& folder, EdxImages& skin_images,
                       ImageDecoder& decoder, SkinBudget& budget,
                       SkinLoadListener* listener = nullptr);

// Tells the listener why a bitmap or cursor of `source` did not load: over the budget
// (from budget.refused()) or `why`.
void ReportNotLoaded(SkinLoadListener* listener, std::string_view source, std::string_view why,
                     const SkinBudget* budget);

// The bitmap registered under `element` (any case), or null.
EdxImage* FindSkinImage(const EdxImages& skin_images, std::string_view element);

// When `skin_images` holds TEXT: stores its pixel (0, 0) as "TEXT.NormalBG" and its pixel
// (0, 3) as "TEXT.Normal", unless present. A pixel outside the bitmap is 0xFFFFFFFF.
void SetTextColours(const EdxImages& skin_images, EdxColors& skin_colors);

}  // namespace dz
