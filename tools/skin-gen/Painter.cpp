#include "Painter.h"

#include "Art.h"

namespace skingen {

namespace {

void frame_without_corners(Image& img, int x, int y, int w, int h, Rgb c) {
    img.hline(x + 1, x + w - 2, y, c);
    img.hline(x + 1, x + w - 2, y + h - 1, c);
    img.vline(x, y + 1, y + h - 2, c);
    img.vline(x + w - 1, y + 1, y + h - 2, c);
}

// The outer bevel of wells and slots: dark top and left, then light bottom and right.
void sunken_edge(Image& img, int x, int y, int w, int h) {
    img.hline(x, x + w - 1, y, pal::kBevelDk);
    img.vline(x, y, y + h - 1, pal::kBevelDk);
    img.hline(x, x + w - 1, y + h - 1, pal::kBevelLt);
    img.vline(x + w - 1, y, y + h - 1, pal::kBevelLt);
}

}  // namespace

void raised(Image& img, int x, int y, int w, int h) {
    frame_without_corners(img, x, y, w, h, pal::kOutline);
    img.fill(x + 1, y + 1, w - 2, h - 2, pal::kFace);
    img.hline(x + 1, x + w - 2, y + 1, pal::kBevelLt);
    img.vline(x + 1, y + 1, y + h - 2, pal::kBevelLt);
    img.vline(x + w - 2, y + 1, y + h - 2, pal::kBevelDk);
    img.hline(x + 1, x + w - 2, y + h - 2, pal::kBevelDk);
    img.set(x + 1, y + 1, pal::kShine);
}

void pressed(Image& img, int x, int y, int w, int h) {
    frame_without_corners(img, x, y, w, h, pal::kOutline);
    img.fill(x + 1, y + 1, w - 2, h - 2, pal::kPanelDk);
    img.hline(x + 1, x + w - 2, y + 1, pal::kBevelDk);
    img.vline(x + 1, y + 1, y + h - 2, pal::kBevelDk);
}

void control(Image& img, int x, int y, int w, int h, Press p) {
    if (p == Press::Pressed)
        pressed(img, x, y, w, h);
    else
        raised(img, x, y, w, h);
}

void well(Image& img, int x, int y, int w, int h) {
    sunken_edge(img, x, y, w, h);
    img.fill(x + 1, y + 1, w - 2, h - 2, pal::kLcdInk);
    img.fill(x + 2, y + 2, w - 4, h - 4, pal::kLcdBg);
}

void slot(Image& img, int x, int y, int w, int h) {
    sunken_edge(img, x, y, w, h);
    img.fill(x + 1, y + 1, w - 2, h - 2, pal::kPanelDk);
}

void led(Image& img, int x, int y, bool on) {
    frame_without_corners(img, x - 1, y - 1, 5, 5, pal::kOutline);
    img.fill(x, y, 3, 3, on ? pal::kAccent : pal::kAccentDk);
    if (on)
        img.set(x, y, pal::kAccentLt);
    else
        img.set(x + 2, y + 2, pal::kBevelDk);
}

TextLayout layout_text(std::string_view s, int fit) {
    TextLayout out;
    if (s.empty()) return out;
    if (fit == 0) {
        for (size_t i = 0; i < s.size(); ++i) out.x.push_back(5 * static_cast<int>(i));
        out.width = 5 * static_cast<int>(s.size()) - 1;
        return out;
    }
    std::vector<const Pattern*> g;
    std::vector<int> gap(s.size(), 1);  // gap after each character
    for (char ch : s) g.push_back(glyph(ch));
    auto width_of = [&](size_t i) { return g[i] ? glyph_width(*g[i]) : 3; };
    auto total = [&] {
        int w = 0;
        for (size_t i = 0; i < s.size(); ++i) w += width_of(i) + (i + 1 < s.size() ? gap[i] : 0);
        return w;
    };
    for (size_t i = 0; i + 1 < s.size() && total() > fit; ++i) {
        if (!g[i] || !g[i + 1]) continue;
        bool touch = false;
        for (int y = 0; y < 6; ++y)
            touch = touch || (g[i]->ink(width_of(i) - 1, y) && g[i + 1]->ink(0, y));
        if (!touch) gap[i] = 0;
    }
    int x = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        out.x.push_back(x);
        x += width_of(i) + gap[i];
    }
    out.width = total();
    return out;
}

int text_width(std::string_view s, int fit) {
    return layout_text(s, fit).width;
}

void text(Image& img, int x, int y, std::string_view s, Rgb c, int fit) {
    const TextLayout l = layout_text(s, fit);
    for (size_t i = 0; i < s.size(); ++i)
        if (const Pattern* g = glyph(s[i])) img.draw(*g, x + l.x[i], y, c);
}

void label(Image& img, int x, int y, std::string_view s, Rgb c, bool flat, int fit) {
    if (!flat) text(img, x + 1, y + 1, s, pal::kBevelDk, fit);
    text(img, x, y, s, c, fit);
}

void paint_icon(Image& img, const Pattern& p, int x, int y, Rgb c, bool flat) {
    if (!flat) img.draw(p, x + 1, y + 1, pal::kBevelDk);
    img.draw(p, x, y, c);
}

void mini_transport(Image& img, const std::array<std::array<int, 2>, 6>& areas, int y, Rgb shadow,
                    bool active) {
    const Pattern* glyphs[6] = {&icon::kMPrev, &icon::kMPlay, &icon::kMPause,
                                &icon::kMStop, &icon::kMNext, &icon::kMEject};
    for (size_t i = 0; i < areas.size(); ++i) {
        const Rgb c = !active ? pal::kLabelDim : i == 1 ? pal::kAccent : pal::kLabel;
        const int x = areas[i][0] + (areas[i][1] - glyphs[i]->width()) / 2;
        img.draw_shadowed(*glyphs[i], x, y, c, shadow);
    }
}

void title_button(Image& img, int x, int y, const Pattern& glyph, Rgb c, Press p) {
    control(img, x, y, 9, 9, p);
    const int d = p == Press::Pressed ? 3 : 2;
    img.draw(glyph, x + d, y + d, c);
}

}  // namespace skingen
