#include "platform/qt/QtDialogArt.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace dz {

namespace {

// 5 x 7 glyphs, one string a row, '#' set.
struct Glyph {
    char letter;
    const char* rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
};

const Glyph* GlyphOf(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.letter == c) return &g;
    return nullptr;
}

QPixmap IconOfSize(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x7c, 0x7d));
    p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 6 * s, 6 * s);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(8 * s, 19 * s, 9 * s, 7 * s));  // note head
    p.drawRect(QRectF(15 * s, 6 * s, 2.2 * s, 17 * s));  // stem
    QPainterPath flag;                                   // flag
    flag.moveTo(17 * s, 6 * s);
    flag.cubicTo(22 * s, 8 * s, 25 * s, 11 * s, 23 * s, 16 * s);
    flag.cubicTo(22 * s, 12 * s, 20 * s, 11 * s, 17 * s, 11 * s);
    flag.closeSubpath();
    p.drawPath(flag);
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(IconOfSize(16));
    icon.addPixmap(IconOfSize(32));
    return icon;
}

QPixmap AboutPicture() {
    QImage image(80, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        const int shade = 0x20 + y * 3;
        for (int x = 0; x < 80; ++x) image.setPixel(x, y, qRgb(0x10, shade / 2, shade));
    }
    // A wave across the picture, one pixel a column.
    for (int x = 0; x < 80; ++x) {
        const int y = 10 + static_cast<int>(std::lround(6.0 * std::sin(x * 0.26)));
        image.setPixel(x, y, qRgb(0x2c, 0x9c, 0x9d));
    }
    const char* text = "DEZIDU";
    for (int i = 0; text[i]; ++i) {
        const Glyph* g = GlyphOf(text[i]);
        if (!g) continue;
        const int left = 6 + i * 12;
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 5; ++c) {
                if (g->rows[r][c] != '#') continue;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        image.setPixel(left + c * 2 + dx, 3 + r * 2 + dy, qRgb(0xf0, 0xf0, 0xe0));
            }
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace dz
