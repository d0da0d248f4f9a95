#include "skin/SkinBitmaps.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/PathUtil.h"
#include "skin/SkinBudget.h"
#include "skin/SkinLoadListener.h"

namespace dz {

namespace {

void set_why(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

// Fills an image without a bitmap with the pixels of `decoded`, alpha dropped.
bool fill_image(EdxImage& image, const DecodedImage& decoded) {
    const std::size_t w = static_cast<std::size_t>(decoded.width);
    if (decoded.bgra.size() < w * decoded.height * 4 ||
        !image.fill_blank(decoded.width, decoded.height)) {
        return false;
    }
    for (int y = 0; y < decoded.height; ++y) {
        const std::uint8_t* src = decoded.bgra.data() + static_cast<std::size_t>(y) * w * 4;
        std::uint8_t* dst = image.row(y);
        for (std::size_t x = 0; x < w; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<EdxImage> MakeSkinImage(const DecodedImage& decoded) {
    auto image = std::make_unique<EdxImage>();
    if (!fill_image(*image, decoded)) return nullptr;
    return image;
}

bool LoadImageFile(EdxImage& image, const std::filesystem::path& file, ImageDecoder& decoder,
                   std::string* why, SkinBudget* budget) {
    if (image.has_bitmap()) {
        set_why(why, "the image is taken");
        return false;
    }
    std::string bytes;
    if (const ReadFileStatus status = ReadSkinFile(file, bytes); status != ReadFileStatus::Ok) {
        set_why(why, describe(status));
        return false;
    }
    if (budget) {
        const std::optional<ImageSize> size = decoder.bitmap_size(AsBytes(bytes));
        if (!size) {
            set_why(why, "not a readable bitmap");
            return false;
        }
        if (!budget->take(*size)) {
            set_why(why, kOverBudget);
            return false;
        }
    }
    const std::optional<DecodedImage> decoded = decoder.decode_bitmap(AsBytes(bytes));
    if (!decoded || !fill_image(image, *decoded)) {
        set_why(why, "not a readable bitmap");
        return false;
    }
    return true;
}

EdxImage* LoadSkinBitmap(const std::filesystem::path& file, EdxImages& skin_images,
                         ImageDecoder& decoder, std::string_view element, std::string* why,
                         SkinBudget* budget) {
    if (EdxImage* present = skin_images.lookup(element)) return present;
    auto image = std::make_unique<EdxImage>();
    if (!LoadImageFile(*image, file, decoder, why, budget)) return nullptr;
    if (!skin_images.insert(element, image)) return nullptr;
    return skin_images.lookup(element);
}

void ReportNotLoaded(SkinLoadListener* listener, std::string_view source, std::string_view why,
                     const SkinBudget* budget) {
    if (!listener) return;
    if (budget && budget->refused() && why == kOverBudget) {
        listener->on_over_budget(source, budget->refused()->width, budget->refused()->height,
                                 budget->left());
    } else {
        listener->on_skipped(source, why);
    }
}

void LoadFolderBitmaps(const std::filesystem::path& folder, EdxImages& skin_images,
                       ImageDecoder& decoder, SkinBudget& budget, SkinLoadListener* listener) {
    std::vector<DirEntry> files = find_files(folder, "*.bmp");
    std::sort(files.begin(), files.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    for (const DirEntry& f : files) {
        if (f.is_dir) continue;
        const std::string element(path_remove_extension(f.name));
        if (!IsUsedBitmap(element)) {
            if (listener) listener->on_skipped(f.name, kUnusedElement);
            continue;
        }
        if (skin_images.lookup(element)) {
            if (listener) {
                listener->on_skipped(f.name,
                                     "element " + MakeElementKey(element) + " already loaded");
            }
            continue;
        }
        std::string why;
        EdxImage* image =
            LoadSkinBitmap(folder / f.name, skin_images, decoder, element, &why, &budget);
        if (!image) {
            ReportNotLoaded(listener, f.name, why, &budget);
        } else if (listener) {
            listener->on_bitmap(MakeElementKey(element), image->width(), image->height(), f.name);
        }
    }
}

EdxImage* FindSkinImage(const EdxImages& skin_images, std::string_view element) {
    EdxImage* image = skin_images.lookup(element);
    return image && image->has_bitmap() ? image : nullptr;
}

void SetTextColours(const EdxImages& skin_images, EdxColors& skin_colors) {
    const EdxImage* text = FindSkinImage(skin_images, "TEXT");
    if (!text) return;
    auto pixel = [&](int x, int y) -> ColorRef {
        return x < text->width() && y < text->height() ? text->pixel(x, y) : 0xFFFFFFFF;
    };
    skin_colors.SetColourIfAbsent("TEXT.NormalBG", pixel(0, 0));
    skin_colors.SetColourIfAbsent("TEXT.Normal", pixel(0, 3));
}

}  // namespace dz
