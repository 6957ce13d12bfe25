// A game played on the board, with its variations: the moves from the empty
// board as a tree, the line shown through it (at each branching the
// variation chosen last), and the position selected on that line. Each move
// keeps an id for as long as it stays in the game.
#pragma once

#include <vector>

#include "files/game_record.h"

namespace vorek {

class GameTree {
public:
    // The id of the empty board, the root of every game.
    static constexpr int START = 0;

    // An empty game whose first move is `firstLetter`'s; the empty board selected.
    explicit GameTree(char firstLetter = 'x');
    // The record's moves as the one line, its time levels and the lines
    // after its moves kept for saving it unchanged; its last position selected.
    static GameTree fromRecord(const GameRecord& record);

    char firstLetter() const { return firstLetter_; }
    // The square of a move; the parent and the moves played after it.
    int squareOf(int id) const { return nodes_[at(id)].square; }
    int parentOf(int id) const { return nodes_[at(id)].parent; }
    const std::vector<int>& nextMoves(int id) const { return nodes_[at(id)].children; }
    // Whether the id stands for a move (or the start) still in the game.
    bool contains(int id) const;

    // The line shown: the ids from START to the line's last move.
    const std::vector<int>& line() const { return line_; }
    // The moves of the line.
    int length() const { return static_cast<int>(line_.size()) - 1; }
    // The number of moves of the position selected on the line, 0..length().
    int selected() const { return selected_; }
    int selectedId() const { return line_[static_cast<std::size_t>(selected_)]; }
    // Selects the position after `count` moves of the line, held to it.
    void select(int count);

    // The line as a record: its moves with their times, where a five ended
    // it, the time levels, and the trailer while the line is the record's
    // own as it was read.
    GameRecord lineRecord() const;
    // The move of the line (from 1) that made five; 0 when none did.
    int fiveAt() const { return fiveAt_; }
    // A five ended the game at or before the selected position.
    bool over() const { return fiveAt_ != 0 && selected_ >= fiveAt_; }
    // The letter to move after `count` moves of the line.
    char letterToMove(int count) const;

    enum class Play {
        Played,    // the move is on the line, selected
        Taken,     // the square holds a stone
        GameOver,  // a five ended the game at the selected position
    };
    // Plays the square after the selected position, `milliseconds` taken
    // over it. A move played there from this position before becomes the
    // line's again, with what followed it; any other is a new variation
    // beside the line's continuation, which stays in the game.
    Play play(int square, int milliseconds);
    // Makes the line run through the move: at every branching on the way to
    // it the line takes its variation, and after it what was chosen there
    // last. The move is selected.
    void choose(int id);
    // Takes the selected move and all that followed it out of the game and
    // selects the position before it. False at the empty board.
    bool removeSelected();

    // The game has changed since it was made, read or saved.
    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

private:
    struct Node {
        int square = -1;
        int parent = -1;
        int milliseconds = 0;
        std::vector<int> children;  // in the order played
        int chosen = -1;            // the child the line goes on with
        bool removed = false;
    };

    std::size_t at(int id) const { return static_cast<std::size_t>(id); }
    int addMove(int parent, int square, int milliseconds);
    void followChosen();
    bool takenOnLine(int square) const;

    char firstLetter_;
    std::vector<Node> nodes_;
    std::vector<int> line_;
    int selected_ = 0;
    int fiveAt_ = 0;
    bool changed_ = false;
    // The record read, for its time levels and its trailer.
    GameRecord read_;
};

}  // namespace vorek
