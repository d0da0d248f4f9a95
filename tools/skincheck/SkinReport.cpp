#include "SkinReport.h"

#include <cstdio>

#include "skin/SkinBitmaps.h"
#include "skin/SkinBudget.h"
#include "skin/SkinText.h"

namespace dz {

namespace {

// The bitmaps the player and the playlist editor draw from, and the width and height
// their sprites reach.
struct NeededBitmap {
    const char* element;
    int width;
    int height;
    const char* use;
};

constexpr NeededBitmap kNeeded[] = {
    {"MAIN", 275, 116, "the player's background"},
    {"TITLEBAR", 344, 86, "title bar, its buttons, shade bar and clutter bar"},
    {"CBUTTONS", 136, 36, "transport buttons"},
    {"POSBAR", 307, 10, "seek bar and its thumb"},
    {"VOLUME", 68, 433, "volume bar and its thumb"},
    {"SHUFREP", 92, 85, "shuffle, repeat and playlist toggles"},
    {"MONOSTER", 56, 24, "mono and stereo indicators"},
    {"PLAYPAUS", 39, 9, "play state indicator and lamp"},
    {"TEXT", 155, 18, "small text glyphs"},
    {"PLEDIT", 276, 186, "the playlist editor's frame and buttons"},
};
constexpr NeededBitmap kNumsEx{"NUMS_EX", 108, 13, "time digits with the minus sign"};
constexpr NeededBitmap kNumbers{"NUMBERS", 99, 13, "time digits"};

constexpr ColorRef kAbsent = 0xFF000001;  // no stored colour has this value

std::string size_text(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string colour_text(ColorRef c) {
    if (c == 0xFFFFFFFF) return "invalid (0xFFFFFFFF)";
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF));
    return text;
}

const char* text_name(SkinFileKind kind) {
    switch (kind) {
        case SkinFileKind::kPleditTxt:
            return "PLEDIT.TXT";
        case SkinFileKind::kViscolorTxt:
            return "VISCOLOR.TXT";
        default:
            return "REGION.TXT";
    }
}

}  // namespace

void SkinReport::on_bitmap(std::string_view key, int width, int height, std::string_view source) {
    ++events_;
    out_ << "bitmap " << key << ' ' << size_text(width, height) << " from " << source << '\n';
}

void SkinReport::on_cursor(std::string_view key, int width, int height, int hot_x, int hot_y,
                           std::string_view source) {
    ++events_;
    out_ << "cursor " << key << ' ' << size_text(width, height) << " hotspot " << hot_x << ','
         << hot_y << " from " << source << '\n';
}

void SkinReport::on_text(SkinFileKind kind, std::string_view source) {
    ++events_;
    if (kind == SkinFileKind::kViscolorTxt) viscolor_read_ = true;
    out_ << "text " << text_name(kind) << " from " << source << '\n';
}

void SkinReport::on_skipped(std::string_view source, std::string_view reason) {
    ++events_;
    ++skipped_;
    out_ << "skipped " << source << ": " << reason << '\n';
}

void SkinReport::on_over_budget(std::string_view source, int width, int height,
                                std::uint64_t left) {
    on_skipped(source, size_text(width, height) + " is over the skin's pixel budget (" +
                           std::to_string(left) + " pixels left)");
    warn(std::string(source) + " skipped: the skin's images together may have " +
         std::to_string(kSkinPixelBudget) + " pixels");
}

void SkinReport::warn(const std::string& text) {
    warnings_.push_back(text);
}

int SkinReport::finish(const SkinResources& skin) {
    int colours = 0;
    int viscolours = 0;
    for (const std::string& name : SkinColourNames()) {
        const ColorRef c = skin.skin_colors.GetSkinColour(name, kAbsent);
        if (c == kAbsent) continue;
        ++colours;
        if (name.rfind("VISCOLOR.", 0) == 0) ++viscolours;
        out_ << "colour " << name << ' ' << colour_text(c) << '\n';
    }
    auto polygons = [&](const char* section, const EdxPolygons& set) {
        int n = 0;
        for (const EdxPolygon& polygon : set.polygons) {
            out_ << "polygon " << section << ' ' << ++n << ": " << polygon.points.size()
                 << " points";
            for (const Point& p : polygon.points) out_ << ' ' << p.x << ',' << p.y;
            out_ << '\n';
        }
    };
    polygons("Normal", skin.region_normal);
    polygons("WindowShade", skin.region_shade);

    auto check = [&](const NeededBitmap& needed) {
        const EdxImage* image = FindSkinImage(skin.skin_images, needed.element);
        if (!image) {
            warn(std::string("no ") + needed.element + " bitmap (" + needed.use + ")");
        } else if (image->width() < needed.width || image->height() < needed.height) {
            warn(std::string(needed.element) + " is " + size_text(image->width(), image->height()) +
                 ", smaller than the " + size_text(needed.width, needed.height) + " of its " +
                 needed.use + "; what lies outside is not drawn");
        }
    };
    for (const NeededBitmap& needed : kNeeded) check(needed);
    if (FindSkinImage(skin.skin_images, kNumsEx.element)) {
        check(kNumsEx);
    } else if (FindSkinImage(skin.skin_images, kNumbers.element)) {
        check(kNumbers);
    } else {
        warn("no NUMS_EX or NUMBERS bitmap (time digits)");
    }
    if (skin.skin_colors.GetSkinColour("TEXT.Normal", kAbsent) == 0xFFFFFFFF) {
        warn("TEXT is less than 4 pixels high: TEXT.Normal is invalid");
    }
    if (viscolor_read_ && viscolours < 24) {
        warn("VISCOLOR.TXT gives " + std::to_string(viscolours) +
             " of 24 colours; the others take the player's defaults");
    }
    for (const std::string& w : warnings_) out_ << "warning: " << w << '\n';
    out_ << "summary: " << skin.skin_images.size() << " bitmaps, " << skin.cursor_images.size()
         << " cursors, " << colours << " colours, " << skin.region_normal.polygons.size() << " + "
         << skin.region_shade.polygons.size() << " polygons, " << skipped_ << " skipped, "
         << warnings_.size() << " warnings\n";
    return static_cast<int>(warnings_.size());
}

}  // namespace dz
