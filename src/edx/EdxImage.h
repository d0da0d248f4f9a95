#pragma once
// One bitmap ready to be copied from, or one cursor.
//
// A bitmap is 24 bits per pixel, bytes blue, green, red; rows are top-down and
// each row takes ((24 * width + 31) / 32) * 4 bytes (the DIB row size). An image
// holds either a bitmap or a cursor; a new image holds neither.

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/ImageDecoder.h"
#include "platform/WindowHost.h"

namespace dz {

class EdxImage {
public:
    EdxImage();
    virtual ~EdxImage() = default;
    EdxImage(const EdxImage&) = delete;
    EdxImage& operator=(const EdxImage&) = delete;

    // Bytes per row for a width.
    static int row_bytes(int width) { return ((24 * width + 31) / 32) * 4; }

    // Fills the image with a blank bitmap of width x height (contents zero). Does nothing
    // and returns false when it already holds a bitmap, or for a size of 0 or less.
    bool fill_blank(int width, int height);
    // Fills the image with decoded pixels (32-bit blue, green, red, alpha; alpha is
    // dropped). Same rules as fill_blank; false for an empty or short decode.
    bool fill_from(const DecodedImage& decoded);
    // Drops the bitmap and forgets the cursor (the cursor is shared, never destroyed here).
    void release();

    bool has_bitmap() const { return width_ > 0 && height_ > 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    // Writable access counts as a change of the pixels (see version()).
    std::uint8_t* pixels() {
        ++version_;
        return pixels_.data();
    }
    const std::uint8_t* pixels() const { return pixels_.data(); }
    std::uint8_t* row(int y) {
        ++version_;
        return pixels_.data() + static_cast<std::size_t>(y) * stride_;
    }

    // Identity of the bitmap: unique in the process for each construction, fill and
    // release, so a freed image whose address is reused never matches an older one.
    std::uint64_t id() const { return id_; }
    // Counts the writable accesses to the pixels since the last fill or release. With id()
    // it tells whether the pixels may have changed since they were last seen.
    std::uint64_t version() const { return version_; }

    // The pixel at (x, y) as a colour reference 0x00BBGGRR; 0 outside the bitmap.
    ColorRef pixel(int x, int y) const;

    // Cursor entries (the cursor registry) hold a cursor and no bitmap.
    CursorHandle cursor = 0;

private:
    std::vector<std::uint8_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::uint64_t id_ = 0;
    std::uint64_t version_ = 0;
    void renew();
};

}  // namespace dz
