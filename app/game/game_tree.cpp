#include "app/game/game_tree.h"

#include <algorithm>
#include <cassert>

#include "files/position_source.h"

namespace vorek {

GameTree::GameTree(char firstLetter) : firstLetter_(firstLetter), nodes_(1), line_{START} {
    read_.firstLetter = firstLetter;
}

GameTree GameTree::fromRecord(const GameRecord& record) {
    GameTree game(record.firstLetter);
    int parent = START;
    for (std::size_t i = 0; i < record.moves.size(); ++i) {
        const int time = i < record.milliseconds.size() ? record.milliseconds[i] : 0;
        parent = game.addMove(parent, record.moves[i], time);
    }
    game.read_ = record;
    game.followChosen();
    game.select(game.length());
    return game;
}

bool GameTree::contains(int id) const {
    return id >= 0 && at(id) < nodes_.size() && !nodes_[at(id)].removed;
}

int GameTree::addMove(int parent, int square, int milliseconds) {
    const int id = static_cast<int>(nodes_.size());
    nodes_.push_back(Node{square, parent, milliseconds, {}, -1, false});
    nodes_[at(parent)].children.push_back(id);
    nodes_[at(parent)].chosen = id;
    return id;
}

// The line from the start, through the chosen move at every branching.
void GameTree::followChosen() {
    line_.assign(1, START);
    for (int id = nodes_[at(START)].chosen; id >= 0; id = nodes_[at(id)].chosen) line_.push_back(id);
    std::vector<int> moves;
    for (std::size_t i = 1; i < line_.size(); ++i) moves.push_back(nodes_[at(line_[i])].square);
    fiveAt_ = firstFiveAt(moves);
    selected_ = std::min(selected_, length());
}

void GameTree::select(int count) { selected_ = std::clamp(count, 0, length()); }

char GameTree::letterToMove(int count) const {
    assert(count >= 0 && count <= length());
    return count % 2 == 0 ? firstLetter_ : otherLetter(firstLetter_);
}

GameRecord GameTree::lineRecord() const {
    GameRecord record;
    record.firstLetter = firstLetter_;
    for (std::size_t i = 1; i < line_.size(); ++i) {
        record.moves.push_back(nodes_[at(line_[i])].square);
        record.milliseconds.push_back(nodes_[at(line_[i])].milliseconds);
    }
    record.fiveAt = fiveAt_;
    record.timeLevels = read_.timeLevels;
    if (record.moves == read_.moves) record.trailer = read_.trailer;
    return record;
}

bool GameTree::takenOnLine(int square) const {
    for (int i = 1; i <= selected_; ++i)
        if (nodes_[at(line_[static_cast<std::size_t>(i)])].square == square) return true;
    return false;
}

GameTree::Play GameTree::play(int square, int milliseconds) {
    assert(isSquare(square));
    if (over()) return Play::GameOver;
    if (takenOnLine(square)) return Play::Taken;
    Node& here = nodes_[at(selectedId())];
    const auto again = std::find_if(here.children.begin(), here.children.end(),
                                    [&](int id) { return nodes_[at(id)].square == square; });
    if (again != here.children.end()) {
        here.chosen = *again;
    } else {
        addMove(selectedId(), square, milliseconds);
        changed_ = true;
    }
    const int next = selected_ + 1;
    followChosen();
    select(next);
    return Play::Played;
}

void GameTree::choose(int id) {
    assert(contains(id));
    int depth = 0;
    for (int child = id; child != START; child = nodes_[at(child)].parent, ++depth)
        nodes_[at(nodes_[at(child)].parent)].chosen = child;
    followChosen();
    select(depth);
}

bool GameTree::removeSelected() {
    if (selected_ == 0) return false;
    const int id = selectedId();
    Node& parent = nodes_[at(nodes_[at(id)].parent)];
    std::erase(parent.children, id);
    parent.chosen = parent.children.empty() ? -1 : parent.children.back();
    // The move and everything after it.
    std::vector<int> gone{id};
    while (!gone.empty()) {
        const int next = gone.back();
        gone.pop_back();
        nodes_[at(next)].removed = true;
        for (const int child : nodes_[at(next)].children) gone.push_back(child);
        nodes_[at(next)].children.clear();
    }
    const int before = selected_ - 1;
    followChosen();
    select(before);
    changed_ = true;
    return true;
}

}  // namespace vorek
