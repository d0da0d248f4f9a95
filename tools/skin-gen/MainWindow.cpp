#include "MainWindow.h"

#include <cmath>
#include <utility>

#include "Art.h"

namespace skingen {

namespace {

// Five 3×2 notes climbing in the vis colours (the logo), at (x, y).
void logo(Image& img, int x, int y, bool active) {
    static constexpr int kOffsets[5][2] = {{0, 6}, {3, 5}, {6, 3}, {9, 2}, {12, 0}};
    for (int i = 0; i < 5; ++i)
        img.fill(x + kOffsets[i][0], y + kOffsets[i][1], 3, 2,
                 active ? pal::kVis[i] : pal::kMarkIn);
}

void wordmark(Image& img, int x, int y, bool active) {
    if (active)
        img.draw_shadowed(kWordmark, x, y, pal::kLabel, pal::kOutline);
    else
        img.draw(kWordmark, x, y, pal::kLabelDim);
}

// Pits at rows 5 and 7 on every third column from x0 up to x1, lips at (+1, rows 6 and 8).
void perforations(Image& img, int x0, int x1, bool active) {
    for (int x = x0; x <= x1; x += 3) {
        for (int y : {5, 7}) {
            img.set(x, y, active ? pal::kTitleLo : pal::kTitleLoIn);
            img.set(x + 1, y + 1, active ? pal::kTitleDot : pal::kTitleHiIn);
        }
    }
}

// The transport buttons: position, size and icon.
struct Transport {
    int x, y, w, h;
    const Pattern& glyph;
};
const Transport& transport(int index) {
    static const Transport kButtons[6] = {
        {16, 88, 23, 18, icon::kTPrev},  {39, 88, 23, 18, icon::kTPlay},
        {62, 88, 23, 18, icon::kTPause}, {85, 88, 23, 18, icon::kTStop},
        {108, 88, 22, 18, icon::kTNext}, {136, 89, 22, 16, icon::kTEject},
    };
    return kButtons[index];
}

void paint_button_with_icon(Image& img, const Transport& b, Rgb c, Press p) {
    control(img, b.x, b.y, b.w, b.h, p);
    const int d = p == Press::Pressed ? 1 : 0;
    paint_icon(img, b.glyph, b.x + (b.w - b.glyph.width()) / 2 + d,
               b.y + (b.h - b.glyph.height()) / 2 + d, c, p == Press::Pressed);
}

// A toggle: LED at (x+4, y+⌊(h−3)/2⌋) and the label centred right of it.
void paint_toggle(Image& img, int x, int y, int w, int h, bool on, Press p, const char* text_label,
                  const Pattern* pictogram) {
    control(img, x, y, w, h, p);
    const int d = p == Press::Pressed ? 1 : 0;
    const bool flat = p == Press::Pressed;
    led(img, x + 4 + d, y + (h - 3) / 2 + d, on);
    const Rgb c = on ? pal::kLabel : pal::kLabelOff;
    if (text_label) {
        const int tw = text_width(text_label);
        label(img, x + 8 + (w - 8 - tw) / 2 + d, y + (h - 5) / 2 + d, text_label, c, flat);
    } else {
        paint_icon(img, *pictogram, x + 8 + (w - 8 - pictogram->width()) / 2 + d,
                   y + (h - pictogram->height()) / 2 + d, c, flat);
    }
}

void about_badge(Image& img) {
    slot(img, 253, 91, 13, 15);
    img.fill(255, 101, 2, 2, pal::kVis[0]);
    img.fill(258, 98, 2, 2, pal::kVis[2]);
    img.fill(261, 95, 2, 2, pal::kVis[4]);
}

void grille(Image& img) {
    for (int y = 58; y <= 67; y += 3)
        for (int x = 182; x <= 234; x += 4) {
            img.hline(x, x + 1, y, pal::kBevelDk);
            img.hline(x, x + 1, y + 1, pal::kFace);
        }
}

// The left LCD: well, time/vis hairline, vis grid dots and the painted colon.
void left_lcd(Image& img) {
    well(img, 20, 22, 84, 41);
    img.hline(24, 99, 41, pal::kLcdGrid);
    for (int y = 43; y < 43 + 16; y += 2)
        for (int x = 24; x < 24 + 76; x += 2) img.set(x, y, pal::kLcdGrid);
    img.fill(73, 29, 2, 2, pal::kLcdText);
    img.fill(73, 34, 2, 2, pal::kLcdText);
}

void paint_title_buttons(Image& img, bool shade, bool active) {
    const Rgb c = active ? pal::kLabel : pal::kLabelDim;
    title_button(img, 6, 3, icon::kBMenu, active ? pal::kAccent : pal::kLabelDim, Press::Normal);
    title_button(img, 244, 3, icon::kBMin, c, Press::Normal);
    title_button(img, 254, 3, shade ? icon::kBUnshade : icon::kBShade, c, Press::Normal);
    title_button(img, 264, 3, icon::kBClose, c, Press::Normal);
}

void paint_mini_seek(Image& img) {
    const int x = 226, y = 4, w = 17, h = 7;
    img.fill(x, y, w, h, pal::kLcdInk);
    img.fill(x + 1, y + 1, w - 2, h - 2, pal::kLcdBg);
    img.hline(x + 1, x + w - 2, y + 3, pal::kLcdGhost);
}

}  // namespace

Image main_body() {
    Image img(kMainW, kMainH, pal::kPanel);
    for (int y = 14; y < kMainH; ++y) img.hline(0, kMainW - 1, y, main_body_row(y));
    img.hline(1, kMainW - 2, 14, pal::kBevelLt);
    img.vline(1, 14, kMainH - 2, pal::kBevelLt);
    img.vline(kMainW - 2, 14, kMainH - 2, pal::kBevelDk);
    img.hline(1, kMainW - 2, kMainH - 2, pal::kBevelDk);
    img.vline(0, 14, kMainH - 1, pal::kOutline);
    img.vline(kMainW - 1, 14, kMainH - 1, pal::kOutline);
    img.hline(0, kMainW - 1, kMainH - 1, pal::kOutline);
    // The engraved line between the display deck and the transport deck.
    img.hline(8, 265, 84, pal::kBevelDk);
    img.hline(9, 266, 85, pal::kBevelLt);
    return img;
}

Image title_bar(bool shade, bool active) {
    Image img(kMainW, kBarH, pal::kOutline);
    img.hline(1, kMainW - 2, 1, active ? pal::kPanel : pal::kPanelLo);
    for (int y = 2; y <= 12; ++y) img.hline(1, kMainW - 2, y, title_row(y, 10, active));
    img.hline(1, kMainW - 2, 13, shade ? pal::kOutline : pal::kBevelDk);
    // Rounded top corners: three cut-out pixels each (in the key colour), then the outline.
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {274, 0}, {273, 0}, {274, 1}})
        img.set(x, y, pal::kKey);
    img.set(1, 1, pal::kOutline);
    img.set(273, 1, pal::kOutline);
    if (shade) {
        logo(img, 19, 3, active);
        wordmark(img, 38, 3, active);
        well(img, 77, 3, 42, 9);    // mini visualisation around (79, 5) 38 × 5
        well(img, 124, 2, 35, 11);  // time: sign 129, minutes 134/139, seconds 147/152
        img.set(144, 5, pal::kLcdText);
        img.set(144, 7, pal::kLcdText);
        // Mini transport, centred in the player's hit areas {x, width}, rows 5–9.
        mini_transport(img, {{{168, 8}, {176, 10}, {186, 9}, {195, 9}, {204, 11}, {215, 10}}}, 5,
                       pal::kOutline, active);
        paint_mini_seek(img);
    } else {
        logo(img, 110, 3, active);
        wordmark(img, 130, 3, active);
        perforations(img, 19, 103, active);
        perforations(img, 171, 238, active);
    }
    paint_title_buttons(img, shade, active);
    return img;
}

Image main_background() {
    Image img = main_body();
    img.copy(title_bar(false, true), 0, 0, kMainW, kBarH, 0, 0);
    paint_clutter(img, 10, 22, -1, false);
    left_lcd(img);
    well(img, 108, 22, 160, 17);  // song title, text box 111, 24, 154, 13
    well(img, 108, 40, 21, 11);   // bits, text at 111, 43
    well(img, 153, 40, 16, 11);   // rate, text at 156, 43
    label(img, 131, 43, "BIT", pal::kLabel, false);
    label(img, 171, 43, "KHZ", pal::kLabel, false);
    paint_mono(img, false);
    paint_stereo(img, false);
    paint_volume(img, 0);
    grille(img);
    paint_playlist_toggle(img, false, Press::Normal);
    paint_seek_ruler(img);
    for (int i = 0; i < 5; ++i) paint_transport(img, i, Press::Normal);
    paint_eject(img, Press::Normal);
    paint_shuffle(img, false, Press::Normal);
    paint_repeat(img, false, Press::Normal);
    about_badge(img);
    return img;
}

void paint_transport(Image& img, int index, Press p) {
    paint_button_with_icon(img, transport(index), index == 1 ? pal::kAccent : pal::kLabel, p);
}

void paint_eject(Image& img, Press p) {
    paint_button_with_icon(img, transport(5), pal::kLabel, p);
}

void paint_shuffle(Image& img, bool on, Press p) {
    paint_toggle(img, 164, 89, 47, 15, on, p, "SHUFFLE", nullptr);
}

void paint_repeat(Image& img, bool on, Press p) {
    paint_toggle(img, 210, 89, 28, 15, on, p, nullptr, &icon::kILoop);
}

void paint_playlist_toggle(Image& img, bool on, Press p) {
    paint_toggle(img, 242, 58, 23, 12, on, p, "PL", nullptr);
}

void paint_clutter(Image& img, int x, int y, int held, bool dim) {
    slot(img, x, y, 8, 43);
    static constexpr char kLetters[] = "OAIDV";
    for (int k = 0; k < 5; ++k) {
        const int top = y + 2 + 8 * k, h = k == 4 ? 7 : 8;
        if (k == held) {
            img.fill(x + 1, top, 6, h - 1, pal::kBevelDk);
        } else {
            img.fill(x + 1, top, 6, h - 1, pal::kFace);
            img.hline(x + 1, x + 6, top, pal::kBevelLt);
        }
        img.hline(x + 1, x + 6, top + h - 1, pal::kOutline);
        const Rgb c = k == held ? pal::kAccent : dim ? pal::kLabelDim : pal::kLabel;
        text(img, x + 2, top + 1, std::string_view(&kLetters[k], 1), c);
    }
}

void paint_volume(Image& img, int state) {
    // 17 segments, 3 px wide on a 4-px pitch, bottoms on row 11 of the bar, heights
    // 3 + round(k·8/16); the first round(state·17/27) are lit, each with a 1-px cap, a dark
    // rim above and the cap's shadow to its right.
    const int x0 = 107, y0 = 57;
    const int lit = static_cast<int>(std::nearbyint(state * 17 / 27.0));
    static constexpr int kBand[17] = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    for (int y = y0; y < y0 + 13; ++y) img.hline(x0, x0 + 67, y, main_body_row(y));
    for (int k = 0; k < 17; ++k) {
        const int h = 3 + static_cast<int>(std::nearbyint(k * 8 / 16.0));
        const int x = x0 + 4 * k, top = y0 + 12 - h;
        if (k < lit) {
            img.fill(x, top, 3, h, pal::kVis[kBand[k]]);
            img.hline(x, x + 2, top, pal::kVisCap[kBand[k]]);
            img.hline(x, x + 2, top - 1, pal::kBevelDk);
            img.set(x + 3, top, pal::kBevelDk);  // the cap's shadow in the gap
        } else {
            img.fill(x, top, 3, h, pal::kPanelDk);
            img.hline(x, x + 2, top, pal::kBevelDk);
            img.vline(x, top, top + h - 1, pal::kBevelDk);
        }
    }
    img.hline(x0, x0 + 67, y0 + 12, pal::kBevelLt);
}

void paint_volume_thumb(Image& img, int x, int y, Press p) {
    control(img, x, y, 14, 11, p);
    const int d = p == Press::Pressed ? 1 : 0;
    for (int rx : {4, 6, 8}) {
        const Rgb c = p == Press::Pressed && rx == 6 ? pal::kAccent : pal::kBevelDk;
        img.vline(x + rx + d, y + 3 + d, y + 7 + d, c);
    }
}

void paint_seek_ruler(Image& img) {
    const int x = 16, y = 72, w = 248;
    well(img, x, y, w, 10);
    for (int tx = x + 2 + 8; tx < x + w - 2; tx += 8) {
        const bool bar = (tx - x - 2) % 32 == 0;
        img.vline(tx, bar ? y + 2 : y + 6, y + 7, pal::kLcdGhost);
    }
    img.hline(x + 2, x + w - 3, y + 4, pal::kLcdGrid);
}

void paint_seek_thumb(Image& img, int x, int y, Press p) {
    control(img, x, y, 29, 10, p);
    const int d = p == Press::Pressed ? 1 : 0;
    // Pressed: the grip lines move +1, +1 and lose a row; the playhead stays on its column
    // and loses its top row.
    for (int gx : {9, 11, 17, 19}) img.vline(x + gx + d, y + 3 + d, y + 6, pal::kBevelDk);
    img.vline(x + 14, y + 2 + d, y + 7, pal::kAccent);
    img.set(x + 14, y + 2 + d, pal::kAccentLt);
}

void paint_mono(Image& img, bool lit) {
    const int x = 212, y = 41, w = 27;
    img.fill(x, y, w, 12, pal::kLcdBg);
    img.hline(x, x + w - 1, y, pal::kBevelDk);
    img.hline(x, x + w - 1, y + 1, pal::kLcdInk);
    img.hline(x, x + w - 1, y + 10, pal::kLcdInk);
    img.hline(x, x + w - 1, y + 11, pal::kBevelLt);
    img.vline(x + 1, y + 1, y + 10, pal::kLcdInk);
    img.vline(x, y, y + 11, pal::kBevelDk);
    img.draw(kMonoLetters, x, y + 4, lit ? pal::kLcdText : pal::kLcdGhost);
}

void paint_stereo(Image& img, bool lit) {
    const int x = 239, y = 41, w = 29;
    img.fill(x, y, w, 12, pal::kLcdBg);
    img.hline(x, x + w - 1, y, pal::kBevelDk);
    img.hline(x, x + w - 2, y + 1, pal::kLcdInk);
    img.hline(x, x + w - 2, y + 10, pal::kLcdInk);
    img.vline(x, y + 1, y + 10, pal::kLcdInk);
    img.vline(x + w - 2, y + 1, y + 10, pal::kLcdInk);
    img.hline(x, x + w - 1, y + 11, pal::kBevelLt);
    img.vline(x + w - 1, y, y + 11, pal::kBevelLt);
    img.draw(kStereoLetters, x, y + 4, lit ? pal::kLcdText : pal::kLcdGhost);
}

void paint_mini_thumb(Image& img, int x, int y) {
    img.vline(x, y, y + 6, pal::kBevelLt);
    img.vline(x + 1, y, y + 6, pal::kFace);
    img.vline(x + 1, y + 1, y + 5, pal::kAccent);
    img.vline(x + 2, y, y + 6, pal::kBevelDk);
}

}  // namespace skingen
