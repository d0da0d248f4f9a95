#include "platform/qt/QtTextRenderer.h"

#include <iconv.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <string>

namespace dz {

namespace {

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

QFont FontOfHeight(int height) {
    QFont f;
    f.setPixelSize(height > 0 ? height : 12);
    return f;
}

}  // namespace

void QtTextRenderer::draw(FrameBuffer& target, const Rect& clip, int x, int y,
                          std::string_view text, ColorRef colour, int height) {
    if (!target.pixels || target.width <= 0 || target.height <= 0 || clip.empty()) return;
    QImage image(target.pixels, target.width, target.height, target.stride, QImage::Format_BGR888);
    QPainter p(&image);
    p.setClipRect(QRect(clip.left, clip.top, clip.width(), clip.height()));
    QFont font = FontOfHeight(height);
    p.setFont(font);
    p.setPen(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    QFontMetrics fm(font);
    p.drawText(x, y + fm.ascent(), FromCp932(text));
}

TextSize QtTextRenderer::measure(std::string_view text, int height) {
    QFontMetrics fm(FontOfHeight(height));
    return TextSize{fm.horizontalAdvance(FromCp932(text)), fm.height()};
}

}  // namespace dz
