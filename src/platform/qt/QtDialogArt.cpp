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

// The icon on a 32 x 32 grid, shared by the raster and the SVG drawing.
constexpr double kBackRound = 6;            // rounded square at 1, 1, 30 x 30
constexpr double kHead[4] = {8, 19, 9, 7};  // note head: ellipse in x, y, w, h
constexpr double kStem[4] = {15, 6, 2.2, 17};
// The flag: from (17, 6) two cubic curves back to (17, 11).
constexpr double kFlag[2][6] = {{22, 8, 25, 11, 23, 16}, {22, 12, 20, 11, 17, 11}};
constexpr QRgb kTeal = qRgb(0x1c, 0x7c, 0x7d);

}  // namespace

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kTeal));
    p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), kBackRound * s, kBackRound * s);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(kHead[0] * s, kHead[1] * s, kHead[2] * s, kHead[3] * s));
    p.drawRect(QRectF(kStem[0] * s, kStem[1] * s, kStem[2] * s, kStem[3] * s));
    QPainterPath flag;
    flag.moveTo(17 * s, 6 * s);
    for (const auto& c : kFlag)
        flag.cubicTo(c[0] * s, c[1] * s, c[2] * s, c[3] * s, c[4] * s, c[5] * s);
    flag.closeSubpath();
    p.drawPath(flag);
    return image;
}

std::string ProgramIconSvg() {
    auto num = [](double v) { return QString::number(v).toStdString(); };
    std::string flag = "M17 6";
    for (const auto& c : kFlag) {
        flag += " C";
        for (int i = 0; i < 6; ++i) flag += (i ? " " : "") + num(c[i]);
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
           "viewBox=\"0 0 32 32\">\n"
           "  <rect x=\"1\" y=\"1\" width=\"30\" height=\"30\" rx=\"" +
           num(kBackRound) + "\" fill=\"" + QColor(kTeal).name().toStdString() +
           "\"/>\n"
           "  <g fill=\"#ffffff\">\n"
           "    <ellipse cx=\"" +
           num(kHead[0] + kHead[2] / 2) + "\" cy=\"" + num(kHead[1] + kHead[3] / 2) + "\" rx=\"" +
           num(kHead[2] / 2) + "\" ry=\"" + num(kHead[3] / 2) +
           "\"/>\n"
           "    <rect x=\"" +
           num(kStem[0]) + "\" y=\"" + num(kStem[1]) + "\" width=\"" + num(kStem[2]) +
           "\" height=\"" + num(kStem[3]) +
           "\"/>\n"
           "    <path d=\"" +
           flag +
           " Z\"/>\n"
           "  </g>\n"
           "</svg>\n";
}

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(ProgramIconImage(16)));
    icon.addPixmap(QPixmap::fromImage(ProgramIconImage(32)));
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
