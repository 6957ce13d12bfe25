// A board picture kept as the canvas calls that drew it, so that it can be
// painted again at any size without the board it was drawn from.
#pragma once

#include <variant>
#include <vector>

#include "picture/board_canvas.h"

namespace vorek {

class PictureRecording final : public BoardCanvas {
public:
    // Forgets every call kept.
    void clear() { calls_.clear(); }
    // Makes the calls kept, in order, on the canvas.
    void replay(BoardCanvas& canvas) const;

    void setPenColor(Rgb color) override;
    void setBrushColor(Rgb color) override;
    void setBrushStyle(BrushStyle style) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void line(int x1, int y1, int x2, int y2) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void number(int centreX, int centreY, int number, Rgb color) override;

private:
    struct Pen { Rgb color; };
    struct Brush { Rgb color; };
    struct Style { BrushStyle style; };
    struct Fill { int left, top, right, bottom; };
    struct Line { int x1, y1, x2, y2; };
    struct Ellipse { int left, top, right, bottom; };
    struct Number { int centreX, centreY, number; Rgb color; };
    using Call = std::variant<Pen, Brush, Style, Fill, Line, Ellipse, Number>;

    std::vector<Call> calls_;
};

}  // namespace vorek
