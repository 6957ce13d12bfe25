// The "Game" page: the positions of the game's line, one row each, "0. (empty
// board)" first and then one row per move, "1. 9,9", "2. 10,11", ... with
// the squares counted from 0 as everywhere in the window, and beside each
// what the analysis found; under them the moves played from the selected
// position, the line's and its variations. The user picks a position by
// selecting its row (the arrow keys, Home and End step through the line) and
// a variation by selecting it below. Typing never selects a row, and a row
// gets selected only by the user or the window's features, never by the
// list taking the focus.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QTreeWidget;

namespace vorek {

class EvalGraph;

class GamePage final : public QWidget {
    Q_OBJECT

public:
    static constexpr int MOVE_COLUMN = 0;
    static constexpr int ANALYSIS_COLUMN = 1;

    explicit GamePage(QWidget* parent = nullptr);

    // Lists the rows with the analysis beside them (as many texts, or
    // none), the row of `selected` moves selected, without reporting it.
    void showLine(const QStringList& moves, const QStringList& analysis, int selected);
    // The analysis beside the row of the position after `count` moves.
    void showAnalysis(int count, const QString& text, const QString& explanation = {});
    // The moves played from the selected position, `onLine` the line's one
    // (-1: none), without reporting it; none hides the list.
    void showNextMoves(const QStringList& moves, int onLine);

    // Selects the row of the position after `count` moves without reporting
    // it; a count that has no row (-1) selects none.
    void selectPosition(int count);
    // The number of moves of the position whose row is selected; -1 for none.
    int selectedPosition() const;
    int rows() const;
    QString rowText(int count, int column = MOVE_COLUMN) const;
    // The texts of the moves played from the selected position.
    QStringList nextMoves() const;

    QTreeWidget* GameList = nullptr;
    // Under the list, once an engine has judged the game's positions.
    EvalGraph* Graph = nullptr;
    QListWidget* NextMoves = nullptr;

signals:
    // The user selected the row of the position after `count` moves (in
    // the list or on the graph); the row of `previous` moves (-1: none) was
    // selected before.
    void positionChosen(int count, int previous);
    // The user chose the move `index` of those played from the selected position.
    void nextMoveChosen(int index);
    // A digit key 1 to 9 of the main keyboard was let go in the list.
    void digitReleased(int digit);

private:
    QLabel* nextMovesHeading_ = nullptr;
    bool quiet_ = false;  // set while the page changes the selection itself
};

}  // namespace vorek
