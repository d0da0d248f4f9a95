#pragma once
// Skin bitmaps into an image registry, and the TEXT colours taken from them. The
// registries are the caller's; nothing here takes a lock.

#include <filesystem>
#include <memory>
#include <string_view>

#include "edx/EdxColors.h"
#include "edx/EdxImages.h"
#include "platform/ImageDecoder.h"

namespace dz {

// The largest skin image file read, in bytes.
inline constexpr std::uintmax_t kMaxSkinFileBytes = std::uintmax_t{128} << 20;

// A bitmap image (24 bits, alpha dropped) of decoded pixels.
std::unique_ptr<EdxImage> MakeSkinImage(const DecodedImage& decoded);

// The image registered under `element`. When there is none, the file is read and decoded
// and, when that succeeds, registered under `element`; otherwise null.
EdxImage* LoadSkinBitmap(const std::filesystem::path& file, EdxImages& skin_images,
                         ImageDecoder& decoder, std::string_view element);

// When `skin_images` holds TEXT: stores its pixel (0, 0) as "TEXT.NormalBG" and its pixel
// (0, 3) as "TEXT.Normal", unless present. A pixel outside the bitmap is 0xFFFFFFFF.
void SetTextColours(const EdxImages& skin_images, EdxColors& skin_colors);

}  // namespace dz
