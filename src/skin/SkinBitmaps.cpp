#include "skin/SkinBitmaps.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

namespace dz {

namespace {

std::optional<std::vector<std::uint8_t>> read_file(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxSkinFileBytes) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace

std::unique_ptr<EdxImage> MakeSkinImage(const DecodedImage& decoded) {
    auto image = std::make_unique<EdxImage>();
    const std::size_t w = static_cast<std::size_t>(decoded.width);
    if (decoded.bgra.size() < w * decoded.height * 4 ||
        !image->fill_blank(decoded.width, decoded.height)) {
        return nullptr;
    }
    for (int y = 0; y < decoded.height; ++y) {
        const std::uint8_t* src = decoded.bgra.data() + static_cast<std::size_t>(y) * w * 4;
        std::uint8_t* dst = image->row(y);
        for (std::size_t x = 0; x < w; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return image;
}

EdxImage* LoadSkinBitmap(const std::filesystem::path& file, EdxImages& skin_images,
                         ImageDecoder& decoder, std::string_view element) {
    if (EdxImage* present = skin_images.lookup(element)) return present;
    const std::optional<std::vector<std::uint8_t>> bytes = read_file(file);
    if (!bytes) return nullptr;
    const std::optional<DecodedImage> decoded = decoder.decode_bitmap(*bytes);
    if (!decoded) return nullptr;
    std::unique_ptr<EdxImage> image = MakeSkinImage(*decoded);
    if (!image || !skin_images.insert(element, image)) return nullptr;
    return skin_images.lookup(element);
}

void SetTextColours(const EdxImages& skin_images, EdxColors& skin_colors) {
    const EdxImage* text = skin_images.lookup("TEXT");
    if (!text || !text->has_bitmap()) return;
    auto pixel = [&](int x, int y) -> ColorRef {
        return x < text->width() && y < text->height() ? text->pixel(x, y) : 0xFFFFFFFF;
    };
    skin_colors.SetColourIfAbsent("TEXT.NormalBG", pixel(0, 0));
    skin_colors.SetColourIfAbsent("TEXT.Normal", pixel(0, 3));
}

}  // namespace dz
