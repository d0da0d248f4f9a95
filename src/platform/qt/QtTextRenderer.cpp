#include "platform/qt/QtTextRenderer.h"

#include <iconv.h>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace dz {

namespace {

// Kept runs and sizes; past these counts the cache starts again (a long playlist scrolled
// through makes new rows faster than old ones come back).
constexpr std::size_t kMaxRuns = 512;
constexpr std::size_t kMaxSizes = 2048;

// Code page 932 bytes to a QString; bytes that do not convert are taken as Latin-1.
QString FromCp932(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(text.data(), text.size());
    std::string out(text.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* o = out.data();
    size_t out_left = out.size();
    size_t r = iconv(cd, &in, &in_left, &o, &out_left);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return QString::fromLatin1(text.data(), text.size());
    out.resize(out.size() - out_left);
    return QString::fromUtf8(out.data(), static_cast<int>(out.size()));
}

// The masks are the paint device; fonts are sized and measured for their resolution.
const QImage& Device() {
    static const QImage device(1, 1, QImage::Format_Alpha8);
    return device;
}

QFont FontOfEm(int em) {
    QFont f;
    f.setPixelSize(em);
    return f;
}

int CellOf(int em) {
    QFontMetrics fm(FontOfEm(em), &Device());
    return fm.ascent() + fm.descent();
}

std::string Key(std::string_view text, int height) {
    std::string key(sizeof height, '\0');
    std::memcpy(key.data(), &height, sizeof height);
    key.append(text);
    return key;
}

}  // namespace

const QtTextRenderer::Face& QtTextRenderer::face(int height) {
    auto it = faces_.find(height);
    if (it != faces_.end()) return it->second;
    const int cell = height > 0 ? height : 12;
    // Glyphs come in whole pixel sizes: the largest whose ascent plus descent fits the
    // cell. What the cell has left over is leading above the glyphs, part of the ascent.
    QFontMetricsF probe(FontOfEm(cell), &Device());
    const double natural = probe.ascent() + probe.descent();
    int em = natural > 0 ? std::max(1, static_cast<int>(cell * cell / natural)) : cell;
    while (em > 1 && CellOf(em) > cell) --em;
    while (em < 4 * cell && CellOf(em + 1) <= cell) ++em;
    QFontMetrics fm(FontOfEm(em), &Device());
    const Cell c{cell - fm.descent(), fm.descent()};
    return faces_.emplace(height, Face{FontOfEm(em), c}).first->second;
}

const QtTextRenderer::Run& QtTextRenderer::run(std::string_view text, int height) {
    std::string key = Key(text, height);
    auto it = runs_.find(key);
    if (it != runs_.end()) return it->second;
    if (runs_.size() >= kMaxRuns) runs_.clear();
    const Face& f = face(height);
    const QString s = FromCp932(text);
    const int cell = f.cell.ascent + f.cell.descent;
    // Room around the advance and the cell for glyphs that reach past them.
    const int pad_x = cell, pad_y = cell / 2 + 1;
    const int advance = QFontMetrics(f.font, &Device()).horizontalAdvance(s);
    Run r;
    r.left = pad_x;
    r.top = pad_y;
    r.mask = QImage(std::max(advance, 0) + 2 * pad_x, cell + 2 * pad_y, QImage::Format_Alpha8);
    r.mask.fill(0);
    {
        QPainter p(&r.mask);
        p.setFont(f.font);
        p.setPen(QColor(255, 255, 255));
        p.drawText(pad_x, pad_y + f.cell.ascent, s);
    }
    return runs_.emplace(std::move(key), std::move(r)).first->second;
}

void QtTextRenderer::draw(FrameBuffer& target, const Rect& clip, int x, int y,
                          std::string_view text, ColorRef colour, int height) {
    if (!target.pixels || target.width <= 0 || target.height <= 0 || clip.empty()) return;
    const Run& r = run(text, height);
    const int mx = x - r.left, my = y - r.top;
    const Rect area = intersect(intersect(clip, Rect{0, 0, target.width, target.height}),
                                Rect{mx, my, mx + r.mask.width(), my + r.mask.height()});
    const unsigned c[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
    for (int py = area.top; py < area.bottom; ++py) {
        const uchar* m = r.mask.constScanLine(py - my) + (area.left - mx);
        std::uint8_t* p = target.pixels + std::size_t(py) * target.stride + 3 * area.left;
        for (int px = area.left; px < area.right; ++px, ++m, p += 3) {
            const unsigned a = *m;
            if (a == 0) continue;
            for (int k = 0; k < 3; ++k)
                p[k] = std::uint8_t((c[k] * a + p[k] * (255 - a) + 127) / 255);
        }
    }
}

TextSize QtTextRenderer::measure(std::string_view text, int height) {
    std::string key = Key(text, height);
    auto it = sizes_.find(key);
    if (it != sizes_.end()) return it->second;
    if (sizes_.size() >= kMaxSizes) sizes_.clear();
    const Face& f = face(height);
    TextSize size{QFontMetrics(f.font, &Device()).horizontalAdvance(FromCp932(text)),
                  f.cell.ascent + f.cell.descent};
    sizes_.emplace(std::move(key), size);
    return size;
}

}  // namespace dz
