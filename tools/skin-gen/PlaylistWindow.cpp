#include "PlaylistWindow.h"

#include <optional>

#include "Art.h"

namespace skingen {

namespace {

constexpr int kBottomH = 38;
constexpr int kItemText = 18;  // the face of a 22-px item: 18 columns inside the bevels

// Rows 8–11 of the title band: an engraved double rule (pits, lips), uniform along x so
// that the player can stretch the band's tile.
void rule(Image& img, int x0, int x1, bool active) {
    for (int y : {8, 10}) {
        img.hline(x0, x1, y, active ? pal::kTitleLo : pal::kTitleLoIn);
        img.hline(x0, x1, y + 1, active ? pal::kTitleDot : pal::kTitleHiIn);
    }
}

void title(Image& img, bool active) {
    img.fill(0, 0, kPlW, 20, pal::kOutline);
    img.hline(1, kPlW - 2, 1, active ? pal::kPanel : pal::kPanelLo);
    for (int y = 2; y <= 18; ++y) img.hline(1, kPlW - 2, y, title_row(y, 16, active));
    img.hline(1, kPlW - 2, 19, pal::kBevelDk);
    rule(img, 6, 86, active);
    rule(img, 187, 250, active);
    // The label plate (93, 5, 88, 11): five rising notes and PLAYLIST, centred.
    const int px = 93, py = 5, pw = 88, ph = 11;
    img.hline(px + 1, px + pw - 2, py, pal::kOutline);
    img.hline(px + 1, px + pw - 2, py + ph - 1, pal::kOutline);
    img.vline(px, py + 1, py + ph - 2, pal::kOutline);
    img.vline(px + pw - 1, py + 1, py + ph - 2, pal::kOutline);
    img.fill(px + 1, py + 1, pw - 2, ph - 2, active ? pal::kTitleLo : pal::kTitleLoIn);
    img.hline(px + 1, px + pw - 2, py + 1, pal::kBevelDk);
    const int group = 14 + 6 + text_width("PLAYLIST");
    const int gx = px + 1 + (pw - 2 - group) / 2;
    for (int i = 0; i < 5; ++i)
        img.hline(gx + 3 * i, gx + 3 * i + 1, 12 - i, active ? pal::kVis[i] : pal::kMarkIn);
    text(img, gx + 21, 8, "PLAYLIST", active ? pal::kLabel : pal::kLabelDim);
    paint_playlist_title_buttons(img, 0, active, false, Press::Normal, Press::Normal);
}

void bottom_bar(Image& img, int h) {
    const int y = h - kBottomH;
    img.fill(0, y, kPlW, kBottomH, pal::kPanelLo);
    img.hline(1, kPlW - 2, y, pal::kBevelLt);
    img.hline(1, kPlW - 2, h - 2, pal::kBevelDk);
    img.vline(1, y, h - 2, pal::kBevelLt);
    img.vline(kPlW - 2, y, h - 2, pal::kBevelDk);
    img.vline(0, y, h - 1, pal::kOutline);
    img.vline(kPlW - 1, y, h - 1, pal::kOutline);
    img.hline(0, kPlW - 1, h - 1, pal::kOutline);
    // ADD, REM, SEL, MISC and LIST, labels centred.
    struct Button {
        int x;
        const char* name;
    };
    for (const Button& b : {Button{11, "ADD"}, Button{40, "REM"}, Button{69, "SEL"},
                            Button{98, "MISC"}, Button{228, "LIST"}}) {
        raised(img, b.x, y + 8, 25, 18);
        label(img, b.x + (25 - text_width(b.name)) / 2, y + 14, b.name, pal::kLabel, false);
    }
    well(img, 129, y + 8, 94, 10);   // totals, text at (132, +10)
    slot(img, 129, y + 20, 59, 12);  // the mini transport's tray
    mini_transport(img, {{{131, 7}, {138, 10}, {148, 10}, {158, 9}, {167, 9}, {176, 9}}}, y + 24,
                   pal::kBevelDk, true);
    well(img, 190, y + 21, 34, 10);  // time: sign 193, minutes 198/203, seconds 211/216
    img.set(209, y + 24, pal::kLcdText);
    img.set(209, y + 26, pal::kLcdText);
    for (int gy = 0; gy < kGrip.height(); ++gy)
        for (int gx = 0; gx < kGrip.width(); ++gx) {
            const char c = kGrip.at(gx, gy);
            if (c == 'l') img.set(260 + gx, h - 15 + gy, pal::kBevelLt);
            if (c == 'd') img.set(260 + gx, h - 15 + gy, pal::kBevelDk);
        }
}

}  // namespace

std::optional<Rgb> side_column(int wx) {
    switch (wx) {
        case 0:
        case 274:
            return pal::kOutline;
        case 1:
        case 256:
        case 267:
            return pal::kBevelLt;
        case 10:
        case 260:
        case 273:
            return pal::kBevelDk;
        case 11:
        case 255:
            return pal::kLcdInk;
        default:
            break;
    }
    if (wx >= 12 && wx <= 254) return pal::kLcdBg;
    if (wx >= 261 && wx <= 266) return pal::kPanelDk;
    return std::nullopt;  // the body
}

Rgb side_tile_pixel(int wx, int row) {
    // The body colour of a 6-row editor (144 high) near window row 20 + 3·row.
    return side_column(wx).value_or(playlist_body_row(20 + 3 * row, 144));
}

void paint_playlist_title_buttons(Image& img, int y, bool active, bool shade_form, Press shade,
                                  Press close) {
    const Rgb c = active ? pal::kLabel : pal::kLabelDim;
    title_button(img, 254, y + 3, shade_form ? icon::kBUnshade : icon::kBShade, c, shade);
    title_button(img, 264, y + 3, icon::kBClose, c, close);
}

void paint_scroll_thumb(Image& img, int x, int y, Press p) {
    control(img, x, y, 8, 18, p);
    if (p == Press::Normal)
        for (int gy : {6, 8, 10}) img.hline(x + 2, x + 5, y + gy, pal::kBevelDk);
}

Image playlist_scene(int h, bool active) {
    Image img(kPlW, h, pal::kPanel);
    for (int y = 0; y < h; ++y) img.hline(0, kPlW - 1, y, playlist_body_row(y, h));
    title(img, active);
    for (int y = 20; y < h - kBottomH; ++y)
        for (int x = 0; x < kPlW; ++x)
            if (auto c = side_column(x)) img.set(x, y, *c);
    bottom_bar(img, h);
    return img;
}

Image playlist_shade_form(bool active) {
    Image img(kPlW, 14, pal::kOutline);
    img.hline(1, kPlW - 2, 1, active ? pal::kPanel : pal::kPanelLo);
    for (int y = 2; y <= 12; ++y) img.hline(1, kPlW - 2, y, title_row(y, 10, active));
    // The title strip that the player fills (4, 2, 242, 10), sunk into the bar.
    img.fill(3, 1, 244, 12, pal::kLcdBg);
    img.hline(3, 245, 1, pal::kBevelDk);
    img.vline(3, 1, 11, pal::kBevelDk);
    img.hline(3, 246, 12, pal::kBevelLt);
    img.vline(246, 1, 12, pal::kBevelLt);
    paint_playlist_title_buttons(img, 0, active, true, Press::Normal, Press::Normal);
    return img;
}

const Strip& strip(int index) {
    static const Strip kStrips[5] = {
        {11, 0, 48, {{"URL", 0}, {"DIR", 1}, {"FILE", 2}}, 3},
        {40, 54, 100, {{"MISC", 3}, {"ALL", 0}, {"TRIM", 1}, {"SEL", 2}}, 4},
        {69, 104, 150, {{"INV", 0}, {"CLR", 1}, {"ALL", 2}}, 3},
        {98, 154, 200, {{"SORT", 0}, {"INFO", 1}, {"OPT", 2}}, 3},
        {228, 204, 250, {{"NEW", 0}, {"SAVE", 1}, {"LOAD", 2}}, 3},
    };
    return kStrips[index];
}

void paint_strip(Image& img, int h, const Strip& s, int hovered) {
    const int top = h - 12 - 18 * s.count;
    img.vline(s.button_x, top, h - 13, pal::kOutline);
    img.vline(s.button_x + 1, top, h - 13, pal::kAccent);
    img.vline(s.button_x + 2, top, h - 13, pal::kOutline);
    for (int i = 0; i < s.count; ++i) {
        const int x = s.button_x + 3, y = top + 18 * i;
        const Press p = i == hovered ? Press::Pressed : Press::Normal;
        control(img, x, y, 22, 18, p);
        const std::string_view name = s.items[i].label;
        const int d = p == Press::Pressed ? 1 : 0;
        label(img, x + (22 - text_width(name, kItemText)) / 2 + d, y + 6 + d, name, pal::kLabel,
              p == Press::Pressed, kItemText);
    }
}

}  // namespace skingen
