#include "edx/EdxDraw.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

#include "edx/EdxRaster.h"

namespace dz {

namespace {

// The world's back buffer when the body belongs to a world that has one.
EdxImage* Back(EdxBody* body) {
    if (!body || !body->world || !body->world->back_buffer.has_bitmap()) return nullptr;
    return &body->world->back_buffer;
}

// Formats into a buffer of kEdxTextBufferSize bytes; longer text is cut.
struct Formatted {
    char text[kEdxTextBufferSize];
    std::size_t length;
};
void Format(Formatted& out, const char* format, std::va_list args) {
    int n = format ? std::vsnprintf(out.text, sizeof out.text, format, args) : -1;
    if (n < 0) {
        out.text[0] = '\0';
        out.length = 0;
    } else {
        out.length = std::min<std::size_t>(std::size_t(n), sizeof out.text - 1);
    }
}

TextSize Measure(EdxBody* body, std::string_view text) {
    if (!Back(body) || !body->world->font.renderer) return TextSize{};
    const EdxFont& font = body->world->font;
    return font.renderer->measure(text, font.height);
}

void DrawText(EdxBody* body, int x, int y, std::string_view text, ColorRef colour) {
    EdxImage* back = Back(body);
    if (!back) return;
    EdxWorld* w = body->world;
    if (!w->font.renderer || text.empty()) return;
    const Point o = AbsoluteOrigin(body);
    FrameBuffer frame{back->pixels(), back->width(), back->height(), back->stride()};
    w->font.renderer->draw(frame, w->clip, o.x + x, o.y + y, text, colour, w->font.height);
}

}  // namespace

void DrawImage(EdxBody* body, const EdxImage* image) {
    EdxImage* back = Back(body);
    if (!back || !image || !image->has_bitmap()) return;
    const Point o = AbsoluteOrigin(body);
    RasterCopy(*back, body->world->clip, o.x, o.y, *image, 0, 0, image->width(), image->height());
}

void DrawPart(EdxBody* body, int x, int y, const EdxImage* image, int sx, int sy, int width,
              int height) {
    EdxImage* back = Back(body);
    if (!back || !image) return;
    const Point o = AbsoluteOrigin(body);
    RasterCopy(*back, body->world->clip, o.x + x, o.y + y, *image, sx, sy, width, height);
}

void DrawStretch(EdxBody* body, int x1, int x2, int y2, const EdxImage* image, int sx, int sy,
                 int source_height) {
    EdxImage* back = Back(body);
    if (!back || !image) return;
    const Point o = AbsoluteOrigin(body);
    RasterStretch(*back, body->world->clip, o.x + x1, o.y, x2 - x1, y2, *image, sx, sy,
                  kEdxStretchSourceWidth, source_height);
}

void DrawPixel(EdxBody* body, int x, int y, ColorRef colour) {
    EdxImage* back = Back(body);
    if (!back) return;
    const Point o = AbsoluteOrigin(body);
    RasterPixel(*back, body->world->clip, o.x + x, o.y + y, colour);
}

void DrawLine(EdxBody* body, int y1, int x2, int y2, ColorRef colour) {
    EdxImage* back = Back(body);
    if (!back) return;
    if (x2 == 0 && y2 == y1) {
        DrawPixel(body, 0, y1, colour);
        return;
    }
    const Point o = AbsoluteOrigin(body);
    RasterLine(*back, body->world->clip, o.x, o.y + y1, o.x + x2, o.y + y2, colour);
}

void DrawRect(EdxBody* body, int x1, int x2, int y2, ColorRef colour, int filled) {
    EdxImage* back = Back(body);
    if (!back) return;
    int y1 = 0;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    const Point o = AbsoluteOrigin(body);
    const Rect r{o.x + x1, o.y + y1, o.x + x2, o.y + y2};
    const Rect& clip = body->world->clip;
    if (filled == 1) {
        RasterFill(*back, clip, r, colour);
        return;
    }
    RasterFill(*back, clip, Rect{r.left, r.top, r.right, r.top + 1}, colour);
    RasterFill(*back, clip, Rect{r.left, r.bottom - 1, r.right, r.bottom}, colour);
    RasterFill(*back, clip, Rect{r.left, r.top, r.left + 1, r.bottom}, colour);
    RasterFill(*back, clip, Rect{r.right - 1, r.top, r.right, r.bottom}, colour);
}

void DrawBodyText(EdxBody* body, int x, int y, const char* text, ColorRef colour) {
    if (!text) return;
    DrawText(body, x, y, std::string_view(text, std::strlen(text)), colour);
}

void DrawBodyTextF(EdxBody* body, int x, int y, ColorRef colour, const char* format, ...) {
    Formatted f;
    std::va_list args;
    va_start(args, format);
    Format(f, format, args);
    va_end(args);
    DrawText(body, x, y, std::string_view(f.text, f.length), colour);
}

int MeasureTextWidth(EdxBody* body, const char* format, ...) {
    Formatted f;
    std::va_list args;
    va_start(args, format);
    Format(f, format, args);
    va_end(args);
    return Measure(body, std::string_view(f.text, f.length)).cx;
}

int MeasureTextHeight(EdxBody* body, const char* format, ...) {
    Formatted f;
    std::va_list args;
    va_start(args, format);
    Format(f, format, args);
    va_end(args);
    return Measure(body, std::string_view(f.text, f.length)).cy;
}

}  // namespace dz
