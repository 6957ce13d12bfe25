// The graph under the game's list: what the engine made of each position of
// the line, for x, from move 0 on the left to the last move on the right;
// the middle line is an even game, up is good for x. The selected position
// is marked; a click selects the position under it.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "opponent/engine_viewer.h"

namespace vorek {

// The graph's values, -1..1 for x, one for each position (nullopt where the
// engine said nothing): by win rate (2w - 1) when the engine gave one for
// every position it judged, else by evaluation over the largest non-mate
// one (at least EVAL_SCALE_LEAST), a mate at an end. `xToMove[k]` tells who
// moves in position k. `byWinrate` says which was used.
inline constexpr int EVAL_SCALE_LEAST = 100;
std::vector<std::optional<double>> graphValues(const std::vector<std::optional<EngineView>>& views,
                                               const std::vector<bool>& xToMove, bool* byWinrate = nullptr);

class EvalGraph final : public QWidget {
    Q_OBJECT

public:
    explicit EvalGraph(QWidget* parent = nullptr);

    // The values of positions 0.. (graphValues), the `selected` one marked
    // (-1: none); no value at all hides the graph.
    void showValues(std::vector<std::optional<double>> values, int selected, const QString& unit);
    void select(int selected);
    const std::vector<std::optional<double>>& values() const { return values_; }
    // The position whose column holds the pixel x; -1 without positions.
    int countAt(int x) const;
    // The pixel x of position count's column.
    double xOf(int count) const;

    QSize sizeHint() const override;

signals:
    // The user clicked in the column of position `count`.
    void positionClicked(int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double yOf(double value) const;

    std::vector<std::optional<double>> values_;
    int selected_ = -1;
};

}  // namespace vorek
