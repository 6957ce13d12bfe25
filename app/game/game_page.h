// The "Game" page: the positions of a game record, one line each, "0. (empty
// board)" first and then one line per move, "1. 9,9", "2. 10,11", ... with
// the squares counted from 0 as everywhere in the window. The
// user picks a position by selecting its line; the arrow keys, Home and End
// step through the game, and typing never selects a line.
#pragma once

#include <QWidget>
#include <optional>

#include "files/game_record.h"

class QListWidget;

namespace vorek {

class GamePage final : public QWidget {
    Q_OBJECT

public:
    explicit GamePage(QWidget* parent = nullptr);

    // Lists the record's positions with none selected, replacing any game
    // listed before.
    void showRecord(GameRecord record);
    // The record listed; null before the first one.
    const GameRecord* record() const { return record_ ? &*record_ : nullptr; }

    // Selects the line of the position after `count` moves without reporting
    // it; a count that has no line (-1) selects none.
    void selectPosition(int count);
    // The number of moves of the position whose line is selected; -1 for none.
    int selectedPosition() const;

    QListWidget* GameList = nullptr;

signals:
    // The user selected the line of the position after `count` moves; the
    // line of `previous` moves (-1: none) was selected before.
    void positionChosen(int count, int previous);

private:
    std::optional<GameRecord> record_;
    bool quiet_ = false;  // set while the page changes the selection itself
};

// The line of the position after `count` (1 .. moves) moves: the move's
// number and its square as x,y counted from 0, "12. 13,11" for the record's
// "14,12"; "0. (empty board)" for 0.
QString gameLine(const GameRecord& record, int count);

}  // namespace vorek
