// The window's state apart from its widgets: the mode with what it allows,
// the search tree with what the source of its root's position said of its
// stones, the node shown, the position being edited, and the line of the
// last solve. The window's features show this state and turn the user's
// commands into calls here; what a mode allows is asked here alone.
#pragma once

#include <memory>

#include "app/edit/position_editor.h"
#include "app/solve/solve_line.h"
#include "app/tree/tree_disposal.h"
#include "app/window_mode.h"
#include "files/position_source.h"
#include "search/stat_node.h"

namespace vorek {

class WindowController {
public:
    WindowController() = default;
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    WindowMode mode() const { return mode_; }
    bool allows(Command command) const { return vorek::allows(mode_, command); }
    // Enters a mode of work: EDITING, SOLVING, ASKING or SHOWING_LINE.
    void begin(WindowMode work);
    // Ends the work: back to GAME when the root is a position of the game
    // record, to IDLE otherwise.
    void end();

    // The root of the search tree; null before the first one.
    StatNode* root() const { return root_.get(); }
    // The root's board; null before the first tree.
    V2Board* rootBoard() const { return root_ ? root_->board : nullptr; }
    // The node whose position the board shows outside an edit or a line: the
    // root of a new tree, then the node last selected. It points into the tree.
    StatNode* currentNode() const { return current_; }
    void setCurrentNode(StatNode& node) { current_ = &node; }

    // The board on show: the edited one while a position is edited, the
    // line's while one is shown, else the current node's.
    V2Board& shownBoard();
    // What the source of the position shown said of its stones: a line's own
    // copy while one is shown (the tree may have been replaced since its solve).
    const StoneLabels& shownLabels() const;
    // The letter of player 1 in the position shown.
    char player1Letter() const;
    // The letters, numbers and marks of the root's stones, as its source gave them.
    const StoneLabels& rootLabels() const { return labels_; }
    // Makes a new tree over the source's position, built as a root is built,
    // the window's from now on, and keeps the source's labels. A record's
    // position brings the window to rest in GAME, any other in IDLE. The tree
    // it replaces is deleted off this thread; nothing may use its nodes any
    // more.
    void replaceTree(PositionSource source);
    // Deletes the tree off this thread too, leaving none and no current node.
    void dropTree();
    // Deletes the tree off this thread too, or whatever else frees a
    // tree's memory (a solve with a tree of its own).
    TreeDisposal& disposal() { return disposal_; }

    // The position being edited; null outside EDITING.
    PositionEditor* editor() const { return editor_.get(); }
    // Enters EDITING with the editor.
    void startEditing(std::unique_ptr<PositionEditor> editor);
    // Leaves EDITING, handing back the editor with the edited position.
    std::unique_ptr<PositionEditor> finishEditing();

    // The line of the last solve, while its dialog offers it; null otherwise.
    SolveLine* line() const { return line_.get(); }
    // The line while the board shows it, in SHOWING_LINE; null otherwise.
    SolveLine* shownLine() const { return mode_ == WindowMode::SHOWING_LINE ? line_.get() : nullptr; }
    // Keeps the line of a solve just ended, at its start, in place of any
    // other (null: none).
    void keepLine(std::unique_ptr<SolveLine> line);
    // Shows the kept line after `step` moves, held to its length: in
    // SHOWING_LINE away from the step the current node stands at (its
    // resting step), back in the mode of rest there. Nothing happens without
    // a line or where the mode does not allow stepping. True when the step
    // was taken.
    bool stepLine(int step);
    // Forgets the line, back to the mode of rest if it was shown.
    void dropLine();

private:
    WindowMode restingMode() const;

    // Declared first: the deletions it runs end after everything else.
    TreeDisposal disposal_;
    WindowMode mode_ = WindowMode::IDLE;
    std::unique_ptr<StatNode> root_;
    StatNode* current_ = nullptr;
    StoneLabels labels_;
    SourceKind rootKind_ = SourceKind::Folder;
    std::unique_ptr<PositionEditor> editor_;
    std::unique_ptr<SolveLine> line_;
};

}  // namespace vorek
