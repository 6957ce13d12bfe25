// The "Analysis" panel, a dock under the board and the pages: the engine
// and how its think goes (depth, nodes, speed, time), its best lines one row
// each with the move, the evaluation, the win rate, the depth and the line
// in x,y, the check of a mate it claims, and its last message. A dock, so
// that it stays in sight beside the tree or the game it follows; the user may
// move it to a side, float it or close it ("Engine" > "Analysis Panel").
#pragma once

#include <QDockWidget>
#include <QStringList>
#include <vector>

class QLabel;
class QTreeWidget;

namespace vorek {

// One row of the lines, in the window's words.
struct AnalysisRow {
    QString move;
    QString eval;
    QString winrate;
    QString depth;
    QString line;
};

class AnalysisPanel final : public QDockWidget {
    Q_OBJECT

public:
    static constexpr int MOVE_COLUMN = 0;
    static constexpr int EVAL_COLUMN = 1;
    static constexpr int WINRATE_COLUMN = 2;
    static constexpr int DEPTH_COLUMN = 3;
    static constexpr int LINE_COLUMN = 4;

    explicit AnalysisPanel(QWidget* parent = nullptr);

    // The engine's name and, in the tool tip, its whole command line and settings.
    void showEngine(const QString& name, const QString& details);
    // How the think goes: "Thinking: depth 12-20, 1.2M nodes, ...".
    void showState(const QString& text);
    // The rows of the lines, the best first, in place of the last ones.
    void showLines(const std::vector<AnalysisRow>& rows);
    // The check of a mate claim (empty: none), its details in the tool tip.
    void showMateCheck(const QString& text, const QString& details = {});
    void showMessage(const QString& text);

    QString engineText() const;
    QString stateText() const;
    QString mateCheckText() const;
    QString messageText() const;
    int rows() const;
    QString rowText(int row, int column) const;

    QTreeWidget* Lines = nullptr;

signals:
    // The pointer is over the row of line `index`; -1 when over none.
    void lineHovered(int index);

private:
    QLabel* engine_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* mateCheck_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace vorek
