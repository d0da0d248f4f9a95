#include "ui/BitmapText.h"

#include <array>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "edx/EdxDraw.h"
#include "ui/UiCommon.h"

namespace dz {

namespace {

// The three rows of the TEXT map, 31 cells each; ' ' marks a space cell.
constexpr std::array<std::string_view, 3> kGlyphRows = {
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\"@   ",
    "0123456789 .:()-'!_+\\/[]^&%,=$#",
    "   ?*                          ",
};

std::string Format(const char* format, va_list args) {
    char buffer[kEdxTextBufferSize];
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) return {};
    return std::string(buffer,
                       std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

Point GlyphCell(char c) {
    c = Upper(c);
    for (int row = 0; row < 3; ++row) {
        std::size_t col = kGlyphRows[static_cast<std::size_t>(row)].find(c);
        // The space cells stand for every character without a glyph; the first one
        // met is (28, 0).
        if (c != ' ' && col != std::string_view::npos)
            return Point{static_cast<std::int32_t>(col) * 5, row * 6};
    }
    return Point{140, 0};
}

int DigitCell(char c) {
    if (c >= '0' && c <= '9') return 9 * (c - '0');
    if (c == '-') return 99;
    return 90;
}

void DrawBitmapText(EdxBody* body, TAG_USERDATA* d, int x, int y, int spacing, const char* format,
                    ...) {
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    EdxImage* glyphs = SkinImage(d, "TEXT");
    if (!glyphs) return;
    for (char c : text) {
        Point cell = GlyphCell(c);
        DrawPart(body, x, y, glyphs, cell.x, cell.y, 5, 6);
        x += 5 + spacing;
    }
}

void DrawBitmapDigits(EdxBody* body, TAG_USERDATA* d, int x, int y, int spacing, const char* format,
                      ...) {
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    EdxImage* digits = SkinImage(d, "NUMS_EX");
    const bool extended = digits != nullptr;
    if (!digits) digits = SkinImage(d, "NUMBERS");
    if (!digits) return;
    for (char c : text) {
        c = Upper(c);
        if (c == '-' && !extended)
            DrawPart(body, x + 2, y + 6, digits, 20, 6, 5, 1);
        else
            DrawPart(body, x, y, digits, DigitCell(c), 0, 9, 13);
        x += 9 + spacing;
    }
}

}  // namespace dz
