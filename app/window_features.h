// The window's features, each a class of its own with its state and its
// commands: the board's view of the position shown, the tree, the position
// folder, the game, editing, solving, asking an AI and an engine's
// analysis, over the one
// controller that holds the mode and the tree. The window makes its widgets,
// hands them over here and connects its menus and widgets to the features;
// the features call one another through this object.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "app/window_controller.h"
#include "app/window_widgets.h"

namespace vorek {

class AnalysisCommands;
class AskCommands;
class EditCommands;
class FolderCommands;
class GameCommands;
class PositionView;
class SolveCommands;
class TreeCommands;

class WindowFeatures {
public:
    // The features over the widgets, working on the position files of the
    // folder (empty: the working directory). Nothing is shown yet: start()
    // reads the folder's position.
    WindowFeatures(const WindowWidgets& widgets, const std::filesystem::path& folder);
    // Ends a running solve, analysis or AI game, destroys the tree and puts
    // back the position files the window wrote.
    ~WindowFeatures();
    WindowFeatures(const WindowFeatures&) = delete;
    WindowFeatures& operator=(const WindowFeatures&) = delete;

    // Reads the folder's position into the first tree and shows it.
    void start();

    WindowController& controller() { return controller_; }
    const WindowController& controller() const { return controller_; }
    const WindowWidgets& widgets() const { return widgets_; }
    PositionView& view() { return *view_; }
    TreeCommands& tree() { return *tree_; }
    FolderCommands& folder() { return *folder_; }
    GameCommands& game() { return *game_; }
    EditCommands& edit() { return *edit_; }
    SolveCommands& solve() { return *solve_; }
    AskCommands& ask() { return *ask_; }
    AnalysisCommands& analysis() { return *analysis_; }

    bool allows(Command command) const { return controller_.allows(command); }
    // Every command's control follows what the mode allows, and the status
    // bar under the pages says what a mode of work asks of the user.
    void applyMode();
    // The status bar's word on the mode; at rest it is cleared.
    void showModeMessage();
    // A word in the status bar under the pages, until the next position shown.
    void say(const QString& text);

    // A click on the board: an edit's, or a move on the "Game" page;
    // elsewhere nothing.
    void ImgBoardClick(int square, Qt::MouseButton button);

    // Stops what works beside the window before it closes. False when the
    // user chose to keep the window open (an unsaved game).
    bool prepareToClose();

private:
    // Declared first: the features below use it until they are gone.
    WindowController controller_;
    WindowWidgets widgets_;
    std::unique_ptr<PositionView> view_;
    std::unique_ptr<TreeCommands> tree_;
    std::unique_ptr<FolderCommands> folder_;
    std::unique_ptr<GameCommands> game_;
    std::unique_ptr<EditCommands> edit_;
    std::unique_ptr<SolveCommands> solve_;
    std::unique_ptr<AskCommands> ask_;
    std::unique_ptr<AnalysisCommands> analysis_;
};

}  // namespace vorek
