#include "app/game/eval_graph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vorek {

namespace {

constexpr int HEIGHT_IN_LINES = 5;
constexpr double MARGIN = 3;
const QColor X_AHEAD(225, 225, 225);
const QColor O_AHEAD(Qt::white);
const QColor CURVE(0, 64, 255);
const QColor MARK(255, 0, 0);

bool allWithWinrate(const std::vector<std::optional<EngineView>>& views) {
    return std::all_of(views.begin(), views.end(), [](const std::optional<EngineView>& view) {
        return !view || (!view->eval && !view->winrate) || view->winrate;
    });
}

int evalScale(const std::vector<std::optional<EngineView>>& views) {
    int scale = EVAL_SCALE_LEAST;
    for (const std::optional<EngineView>& view : views)
        if (view && view->eval && !view->eval->mate) scale = std::max(scale, std::abs(view->eval->value));
    return scale;
}

// The view's value for the side to move, -1..1.
std::optional<double> moverValue(const EngineView& view, bool byWinrate, int scale) {
    if (byWinrate) return view.winrate ? std::optional(2 * *view.winrate - 1) : std::nullopt;
    if (!view.eval) return std::nullopt;
    if (view.eval->mate) return view.eval->value >= 0 ? 1.0 : -1.0;
    return std::clamp(static_cast<double>(view.eval->value) / scale, -1.0, 1.0);
}

}  // namespace

std::vector<std::optional<double>> graphValues(const std::vector<std::optional<EngineView>>& views,
                                               const std::vector<bool>& xToMove, bool* byWinrate) {
    const bool winrate = allWithWinrate(views);
    const int scale = evalScale(views);
    if (byWinrate != nullptr) *byWinrate = winrate;
    std::vector<std::optional<double>> values(views.size());
    for (std::size_t k = 0; k < views.size(); ++k) {
        if (!views[k]) continue;
        const std::optional<double> value = moverValue(*views[k], winrate, scale);
        const bool x = k < xToMove.size() && xToMove[k];
        if (value) values[k] = x ? *value : -*value;
    }
    return values;
}

EvalGraph::EvalGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvalGraph"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    hide();
}

QSize EvalGraph::sizeHint() const { return {200, fontMetrics().height() * HEIGHT_IN_LINES}; }

void EvalGraph::showValues(std::vector<std::optional<double>> values, int selected, const QString& unit) {
    values_ = std::move(values);
    selected_ = selected;
    const bool any = std::any_of(values_.begin(), values_.end(), [](const auto& value) { return value.has_value(); });
    setToolTip(QStringLiteral("The engine's %1 for x after each move: up is good for x, the middle line even. "
                              "A click selects the move.")
                   .arg(unit));
    setVisible(any);
    update();
}

void EvalGraph::select(int selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

double EvalGraph::xOf(int count) const {
    const double width = this->width() - 2 * MARGIN;
    const int last = std::max(static_cast<int>(values_.size()) - 1, 1);
    return MARGIN + width * count / last;
}

double EvalGraph::yOf(double value) const {
    const double half = (height() - 2 * MARGIN) / 2;
    return MARGIN + half * (1 - value);
}

int EvalGraph::countAt(int x) const {
    if (values_.empty()) return -1;
    const double width = this->width() - 2 * MARGIN;
    const int last = static_cast<int>(values_.size()) - 1;
    if (last == 0 || width <= 0) return 0;
    return std::clamp(static_cast<int>(std::lround((x - MARGIN) * last / width)), 0, last);
}

void EvalGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double middle = yOf(0);
    painter.fillRect(QRectF(0, 0, width(), middle), X_AHEAD);
    painter.fillRect(QRectF(0, middle, width(), height() - middle), O_AHEAD);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
    if (selected_ >= 0 && selected_ < static_cast<int>(values_.size())) {
        painter.setPen(QPen(MARK, 1));
        painter.drawLine(QPointF(xOf(selected_), 0), QPointF(xOf(selected_), height()));
    }
    // The curve, broken where the engine said nothing.
    QPainterPath path;
    bool drawing = false;
    for (std::size_t k = 0; k < values_.size(); ++k) {
        if (!values_[k]) {
            drawing = false;
            continue;
        }
        const QPointF at(xOf(static_cast<int>(k)), yOf(*values_[k]));
        if (drawing) path.lineTo(at);
        else path.moveTo(at);
        drawing = true;
    }
    painter.setPen(QPen(CURVE, 1.5));
    painter.drawPath(path);
    painter.setBrush(CURVE);
    for (std::size_t k = 0; k < values_.size(); ++k)
        if (values_[k]) painter.drawEllipse(QPointF(xOf(static_cast<int>(k)), yOf(*values_[k])), 1.5, 1.5);
}

void EvalGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int count = countAt(static_cast<int>(event->position().x()));
    if (count >= 0) emit positionClicked(count);
}

}  // namespace vorek
