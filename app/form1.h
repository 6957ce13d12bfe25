// The main window: the board picture with its status bar on the left; the
// search tree, the two threat lists, the log of the last AI question, the
// game on the "Game" page and the position folder's path on the right, a
// splitter between them. The window lays out its widgets and connects them
// to its features (WindowFeatures), which hold the state and do the work.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <memory>

namespace vorek {

class BoardColumn;
class BoardCoordinates;
class WindowColumns;
class WindowFeatures;
struct WindowWidgets;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Lays out the window at its first size or the one it had last, reads the
    // position in the folder (empty: the working directory), keeps the
    // position files as found for closing, and shows the root node. Reads,
    // writes and AI runs all happen in the folder.
    explicit TForm1(const std::filesystem::path& folder, QWidget* parent = nullptr);
    // The same in the working directory.
    explicit TForm1(QWidget* parent = nullptr);
    // Keeps the window's size and splitter for the next start, destroys the
    // tree and, where the window wrote the position files, puts back the
    // files found at start-up.
    ~TForm1() override;

    WindowFeatures& features() { return *features_; }

protected:
    // Asks about a changed game first; ends a running solve, analysis or AI
    // game before the window closes.
    void closeEvent(QCloseEvent* event) override;

private:
    WindowWidgets setUpLayout();
    void connectHandlers();
    void keepGeometry() const;

    std::unique_ptr<BoardCoordinates> coordinates_;
    BoardColumn* boardColumn_ = nullptr;
    WindowColumns* columns_ = nullptr;
    std::unique_ptr<WindowWidgets> widgets_;
    std::unique_ptr<WindowFeatures> features_;
};

}  // namespace vorek
