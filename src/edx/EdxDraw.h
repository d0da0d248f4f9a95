#pragma once
// The drawing primitives of the bodies. Coordinates are relative to the body's
// top-left corner (its AbsoluteOrigin); every primitive draws into the world's
// back buffer, cut to the world's current `clip`. Nothing is drawn when the back
// buffer has no bitmap or an image is null. Colours are 0x00BBGGRR.
//
// Threads: worker thread (the UI thread before the worker starts), normally during
// the EDX_DRAW broadcast.

#include <cstdarg>
#include <cstddef>

#include "edx/EdxWorld.h"

namespace dz {

// Text longer than this (with its terminating zero) is cut when formatted.
inline constexpr std::size_t kEdxTextBufferSize = 2048;

// The whole image with its top-left corner at the body's.
void DrawImage(EdxBody* body, const EdxImage* image);
// The width x height block at (sx, sy) of the image, at (x, y).
void DrawPart(EdxBody* body, int x, int y, const EdxImage* image, int sx, int sy, int width,
              int height);
// The 25-pixel-wide strip at (sx, sy), source_height high, stretched onto the rectangle
// from (x1, 0) to (x2, y2). Pixels that meet when it shrinks are combined with AND; an
// empty or reversed destination draws nothing.
void DrawStretch(EdxBody* body, int x1, int x2, int y2, const EdxImage* image, int sx, int sy,
                 int source_height);
inline constexpr int kEdxStretchSourceWidth = 25;
void DrawPixel(EdxBody* body, int x, int y, ColorRef colour);
// The line from (0, y1) to (x2, y2) without its end point; one pixel when both ends meet.
void DrawLine(EdxBody* body, int y1, int x2, int y2, ColorRef colour);
// The rectangle from (x1, 0) to (x2, y2), right and bottom exclusive: filled when
// `filled` is 1, else only its 1-pixel border. Reversed corners are swapped.
void DrawRect(EdxBody* body, int x1, int x2, int y2, ColorRef colour, int filled);
// Text (code page 932 bytes up to the first zero) with its top-left at (x, y), in the
// world's font, transparent background.
void DrawBodyText(EdxBody* body, int x, int y, const char* text, ColorRef colour);
// printf-style text, cut to kEdxTextBufferSize - 1 bytes, drawn like DrawBodyText.
void DrawBodyTextF(EdxBody* body, int x, int y, ColorRef colour, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
// Width and height of printf-style text in the world's font; 0 when it cannot be
// measured (no back buffer, no text renderer).
int MeasureTextWidth(EdxBody* body, const char* format, ...) __attribute__((format(printf, 2, 3)));
int MeasureTextHeight(EdxBody* body, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace dz
