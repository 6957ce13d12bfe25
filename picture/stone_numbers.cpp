#include "picture/stone_numbers.h"

#include <string>

namespace vorek {

namespace {

constexpr int GLYPH_WIDTH = 3;
constexpr int GLYPH_HEIGHT = 5;
constexpr int DIGIT_GAP = 1;           // picture pixels between two digits
constexpr int LARGE_DIGITS_UP_TO = 2;  // numbers of up to this many digits are drawn double size

// Digits 0..9, one row of three pixels a byte from the top, the leftmost
// pixel in bit 2.
constexpr std::array<std::array<std::uint8_t, GLYPH_HEIGHT>, 10> DIGIT_GLYPHS{{
    {7, 5, 5, 5, 7},  // 0
    {2, 6, 2, 2, 7},  // 1
    {7, 1, 7, 4, 7},  // 2
    {7, 1, 7, 1, 7},  // 3
    {5, 5, 7, 1, 1},  // 4
    {7, 4, 7, 1, 7},  // 5
    {7, 4, 7, 5, 7},  // 6
    {7, 1, 1, 1, 1},  // 7
    {7, 5, 7, 5, 7},  // 8
    {7, 5, 7, 1, 7},  // 9
}};
static_assert(DIGIT_GLYPHS[8][0] == (1 << GLYPH_WIDTH) - 1);

// One digit with its top left corner at left, top; each glyph pixel is scale
// by scale picture pixels, and the set pixels of a row are filled in runs.
void drawDigit(BoardCanvas& canvas, int digit, int left, int top, int scale) {
    for (int y = 0; y < GLYPH_HEIGHT; ++y) {
        const std::uint8_t bits = DIGIT_GLYPHS[static_cast<std::size_t>(digit)][static_cast<std::size_t>(y)];
        for (int x = 0; x < GLYPH_WIDTH;) {
            const auto set = [bits](int at) { return (bits >> (GLYPH_WIDTH - 1 - at) & 1) != 0; };
            if (!set(x)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < GLYPH_WIDTH && set(end)) ++end;
            canvas.fillRect(left + x * scale, top + y * scale, left + end * scale, top + (y + 1) * scale);
            x = end;
        }
    }
}

}  // namespace

void drawGlyphNumber(BoardCanvas& canvas, int centreX, int centreY, int number, Rgb color) {
    if (number < 1 || number > LARGEST_SHOWN_NUMBER) return;
    const std::string digits = std::to_string(number);
    const int count = static_cast<int>(digits.size());
    const int scale = count <= LARGE_DIGITS_UP_TO ? 2 : 1;
    const int width = count * GLYPH_WIDTH * scale + (count - 1) * DIGIT_GAP;
    const int height = GLYPH_HEIGHT * scale;
    int left = centreX - width / 2;
    const int top = centreY - height / 2;
    canvas.setBrushColor(color);
    for (char digit : digits) {
        drawDigit(canvas, digit - '0', left, top, scale);
        left += GLYPH_WIDTH * scale + DIGIT_GAP;
    }
}

void BoardCanvas::number(int centreX, int centreY, int number, Rgb color) {
    drawGlyphNumber(*this, centreX, centreY, number, color);
}

}  // namespace vorek
