// The window's state apart from its widgets: the mode with what it allows,
// the search tree with what the source of its root's position said of its
// stones, and the position being edited. The window shows this state and turns the user's commands
// into calls here; what a mode allows is asked here alone.
#pragma once

#include <memory>

#include "app/edit/position_editor.h"
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
    // Enters a mode of work: EDITING, SOLVING or ASKING.
    void begin(WindowMode work);
    // Ends the work: back to GAME when the root is a position of the game
    // record, to IDLE otherwise.
    void end();

    // The root of the search tree; null before the first one.
    StatNode* root() const { return root_.get(); }
    // The letters, numbers and marks of the root's stones, as its source gave them.
    const StoneLabels& rootLabels() const { return labels_; }
    // Makes a new tree over the source's position, built as a root is built,
    // the window's from now on, and keeps the source's labels. A record's
    // position brings the window to rest in GAME, any other in IDLE. The tree
    // it replaces is deleted off this thread; nothing may use its nodes any
    // more.
    void replaceTree(PositionSource source);
    // Deletes the tree off this thread too, leaving none.
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

private:
    WindowMode restingMode() const;

    // Declared first: the deletions it runs end after everything else.
    TreeDisposal disposal_;
    WindowMode mode_ = WindowMode::IDLE;
    std::unique_ptr<StatNode> root_;
    StoneLabels labels_;
    SourceKind rootKind_ = SourceKind::Folder;
    std::unique_ptr<PositionEditor> editor_;
};

}  // namespace vorek
