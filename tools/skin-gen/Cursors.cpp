#include "Cursors.h"

#include <cstdlib>
#include <functional>

#include "Palette.h"

namespace skingen {

namespace {

constexpr int kSize = 32;

// A cursor from its fill: 'W' label, 'A' accent; a 4-connected outline is added around.
class Drawing {
public:
    Drawing() : fill_(kSize * kSize, 0) {}

    void put(int x, int y, char c) {
        if (x >= 1 && y >= 1 && x < kSize - 1 && y < kSize - 1) fill_[idx(x, y)] = c;
    }
    void shape(int x0, int y0, int w, int h, const std::function<char(int, int)>& f) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (char c = f(x, y)) put(x0 + x, y0 + y, c);
    }

    CursorImage finish(int hot_x, int hot_y) const {
        CursorImage cur{Image(kSize, kSize, 0), std::vector<bool>(kSize * kSize, false), hot_x,
                        hot_y};
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const char c = fill_[idx(x, y)];
                Rgb colour = 0;
                if (c == 'W') colour = pal::kLabel;
                if (c == 'A') colour = pal::kAccent;
                if (!c &&
                    (filled(x - 1, y) || filled(x + 1, y) || filled(x, y - 1) || filled(x, y + 1)))
                    colour = pal::kOutline;
                if (c || colour) {
                    cur.pixels.set(x, y, colour);
                    cur.mask[idx(x, y)] = true;
                }
            }
        return cur;
    }

private:
    static size_t idx(int x, int y) { return static_cast<size_t>(y * kSize + x); }
    bool filled(int x, int y) const {
        return x >= 0 && y >= 0 && x < kSize && y < kSize && fill_[idx(x, y)] != 0;
    }
    std::vector<char> fill_;
};

// The pointer: an arrow whose tip is coral. Its tip pixel is at (1, 1).
void arrow(Drawing& d) {
    // clang-format off
    static constexpr const char* kRows[] = {
        "A",
        "AW",
        "WWW",
        "WWWW",
        "WWWWW",
        "WWWWWW",
        "WWWWWWW",
        "WWWWWWWW",
        "WWWWWWWWW",
        "WWWWW",
        "WW.WW",
        "W...WW",
        "....WW",
        ".....WW",
        ".....WW",
    };
    // clang-format on
    int y = 1;
    for (const char* row : kRows) {
        for (int x = 0; row[x]; ++x)
            if (row[x] != '.') d.put(1 + x, y, row[x]);
        ++y;
    }
}

// A coral diamond (the menu button's gem) centred at (cx, cy).
void gem(Drawing& d, int cx, int cy) {
    d.shape(cx - 2, cy - 2, 5, 5,
            [](int x, int y) { return std::abs(x - 2) + std::abs(y - 2) <= 2 ? 'A' : 0; });
}

CursorImage pointer() {
    Drawing d;
    arrow(d);
    return d.finish(1, 1);
}

CursorImage button_pointer() {
    Drawing d;
    arrow(d);
    gem(d, 12, 14);
    return d.finish(1, 1);
}

// Four arrowheads on a cross, a coral centre: moves the window.
CursorImage move() {
    Drawing d;
    d.shape(1, 1, 17, 17, [](int x, int y) -> char {
        const int dx = std::abs(x - 8), dy = std::abs(y - 8);
        if (dx == 0 && dy == 0) return 'A';
        if ((dx == 0 && dy <= 7) || (dy == 0 && dx <= 7)) return 'W';
        if (dy >= 5 && dx <= 8 - dy) return 'W';  // top and bottom heads
        if (dx >= 5 && dy <= 8 - dx) return 'W';  // left and right heads
        return 0;
    });
    return d.finish(9, 9);
}

// A double arrow along one axis (horizontal, vertical or the diagonal from the top left).
CursorImage double_arrow(int axis) {
    Drawing d;
    d.shape(1, 1, 15, 15, [axis](int x, int y) -> char {
        // Along: distance from the centre along the arrow; across: off the shaft.
        int along = 0, across = 0;
        if (axis == 0) along = x - 7, across = y - 7;
        if (axis == 1) along = y - 7, across = x - 7;
        if (axis == 2) {
            if (x + y < 6 && x <= 5 && y <= 5) return 'W';   // head, top left
            if (x + y > 22 && x >= 9 && y >= 9) return 'W';  // head, bottom right
            return x == y && x >= 2 && x <= 12 ? (x == 7 ? 'A' : 'W') : 0;
        }
        const int a = std::abs(along), c = std::abs(across);
        if (c == 0 && a <= 7) return a == 0 ? 'A' : 'W';
        if (a >= 4 && c <= 7 - a) return 'W';
        return 0;
    });
    return d.finish(8, 8);
}

}  // namespace

std::vector<NamedCursor> skin_cursors() {
    const CursorImage arrow_cur = pointer(), button = button_pointer(), mover = move();
    const CursorImage horizontal = double_arrow(0), vertical = double_arrow(1);
    const CursorImage diagonal = double_arrow(2);
    return {
        {"CLOSE.CUR", button},       {"MAINMENU.CUR", button},    {"MIN.CUR", button},
        {"MMENU.CUR", button},       {"NORMAL.CUR", arrow_cur},   {"PCLOSE.CUR", button},
        {"PNORMAL.CUR", arrow_cur},  {"PSIZE.CUR", diagonal},     {"PTBAR.CUR", mover},
        {"PVSCROLL.CUR", vertical},  {"PWINBUT.CUR", button},     {"PWSNORM.CUR", arrow_cur},
        {"SONGNAME.CUR", arrow_cur}, {"TITLEBAR.CUR", mover},     {"VOLBAL.CUR", horizontal},
        {"WINBUT.CUR", button},      {"WSNORMAL.CUR", arrow_cur}, {"WSPOSBAR.CUR", horizontal},
    };
}

}  // namespace skingen
