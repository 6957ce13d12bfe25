#include "picture/picture_recording.h"

namespace vorek {

namespace {

template <typename... Ways>
struct Overloaded : Ways... {
    using Ways::operator()...;
};
template <typename... Ways>
Overloaded(Ways...) -> Overloaded<Ways...>;

}  // namespace

void PictureRecording::replay(BoardCanvas& canvas) const {
    const Overloaded make{
        [&](const Pen& c) { canvas.setPenColor(c.color); },
        [&](const Brush& c) { canvas.setBrushColor(c.color); },
        [&](const Style& c) { canvas.setBrushStyle(c.style); },
        [&](const Fill& c) { canvas.fillRect(c.left, c.top, c.right, c.bottom); },
        [&](const Line& c) { canvas.line(c.x1, c.y1, c.x2, c.y2); },
        [&](const Ellipse& c) { canvas.ellipse(c.left, c.top, c.right, c.bottom); },
        [&](const Number& c) { canvas.number(c.centreX, c.centreY, c.number, c.color); },
    };
    for (const Call& call : calls_) std::visit(make, call);
}

void PictureRecording::setPenColor(Rgb color) { calls_.emplace_back(Pen{color}); }
void PictureRecording::setBrushColor(Rgb color) { calls_.emplace_back(Brush{color}); }
void PictureRecording::setBrushStyle(BrushStyle style) { calls_.emplace_back(Style{style}); }

void PictureRecording::fillRect(int left, int top, int right, int bottom) {
    calls_.emplace_back(Fill{left, top, right, bottom});
}

void PictureRecording::line(int x1, int y1, int x2, int y2) { calls_.emplace_back(Line{x1, y1, x2, y2}); }

void PictureRecording::ellipse(int left, int top, int right, int bottom) {
    calls_.emplace_back(Ellipse{left, top, right, bottom});
}

void PictureRecording::number(int centreX, int centreY, int number, Rgb color) {
    calls_.emplace_back(Number{centreX, centreY, number, color});
}

}  // namespace vorek
