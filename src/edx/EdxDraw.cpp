#include "edx/EdxDraw.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

#include "edx/EdxDrawOp.h"

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

// An operation of `kind` by `body`, cut to the world's current clip.
EdxDrawOp MakeOp(EdxBody* body, EdxDrawOp::Kind kind) {
    EdxDrawOp op;
    op.kind = kind;
    op.body = body;
    op.clip = body->world->clip;
    return op;
}

void SetSource(EdxDrawOp& op, const EdxImage* image) {
    op.image = image;
    op.image_id = image->id();
    op.image_version = image->version();
}

void Submit(EdxBody* body, EdxDrawOp&& op) {
    body->world->composer.submit(*body->world, std::move(op));
}

void DrawText(EdxBody* body, int x, int y, std::string_view text, ColorRef colour) {
    if (!Back(body)) return;
    EdxWorld* w = body->world;
    if (!w->font.renderer || text.empty()) return;
    const Point o = AbsoluteOrigin(body);
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Text);
    op.x = o.x + x;
    op.y = o.y + y;
    op.h = w->font.height;
    op.colour = colour;
    op.renderer = w->font.renderer;
    op.text.assign(text);
    Submit(body, std::move(op));
}

void Fill(EdxBody* body, const Rect& r, ColorRef colour) {
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Fill);
    op.x = r.left;
    op.y = r.top;
    op.w = r.right;
    op.h = r.bottom;
    op.colour = colour;
    Submit(body, std::move(op));
}

}  // namespace

void DrawImage(EdxBody* body, const EdxImage* image) {
    if (!Back(body) || !image || !image->has_bitmap()) return;
    DrawPart(body, 0, 0, image, 0, 0, image->width(), image->height());
}

void DrawPart(EdxBody* body, int x, int y, const EdxImage* image, int sx, int sy, int width,
              int height) {
    if (!Back(body) || !image) return;
    const Point o = AbsoluteOrigin(body);
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Copy);
    op.x = o.x + x;
    op.y = o.y + y;
    op.sx = sx;
    op.sy = sy;
    op.w = width;
    op.h = height;
    SetSource(op, image);
    Submit(body, std::move(op));
}

void DrawStretch(EdxBody* body, int x1, int x2, int y2, const EdxImage* image, int sx, int sy,
                 int source_height) {
    if (!Back(body) || !image) return;
    const Point o = AbsoluteOrigin(body);
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Stretch);
    op.x = o.x + x1;
    op.y = o.y;
    op.w = x2 - x1;
    op.h = y2;
    op.sx = sx;
    op.sy = sy;
    op.sw = kEdxStretchSourceWidth;
    op.sh = source_height;
    SetSource(op, image);
    Submit(body, std::move(op));
}

void DrawPixel(EdxBody* body, int x, int y, ColorRef colour) {
    if (!Back(body)) return;
    const Point o = AbsoluteOrigin(body);
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Pixel);
    op.x = o.x + x;
    op.y = o.y + y;
    op.colour = colour;
    Submit(body, std::move(op));
}

void DrawLine(EdxBody* body, int y1, int x2, int y2, ColorRef colour) {
    if (!Back(body)) return;
    if (x2 == 0 && y2 == y1) {
        DrawPixel(body, 0, y1, colour);
        return;
    }
    const Point o = AbsoluteOrigin(body);
    EdxDrawOp op = MakeOp(body, EdxDrawOp::Kind::Line);
    op.x = o.x;
    op.y = o.y + y1;
    op.w = o.x + x2;
    op.h = o.y + y2;
    op.colour = colour;
    Submit(body, std::move(op));
}

void DrawRect(EdxBody* body, int x1, int x2, int y2, ColorRef colour, int filled) {
    if (!Back(body)) return;
    int y1 = 0;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    const Point o = AbsoluteOrigin(body);
    const Rect r{o.x + x1, o.y + y1, o.x + x2, o.y + y2};
    if (filled == 1) {
        Fill(body, r, colour);
        return;
    }
    Fill(body, Rect{r.left, r.top, r.right, r.top + 1}, colour);
    Fill(body, Rect{r.left, r.bottom - 1, r.right, r.bottom}, colour);
    Fill(body, Rect{r.left, r.top, r.left + 1, r.bottom}, colour);
    Fill(body, Rect{r.right - 1, r.top, r.right, r.bottom}, colour);
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
