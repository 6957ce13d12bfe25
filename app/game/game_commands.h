// The game on the "Game" page: opening a record, stepping through its
// positions, playing moves on the board with variations, taking them back,
// starting a new game, saving the line shown as a ".psq" record, the
// analysis beside each position, and an AI that plays one side or both.
// Each position selected becomes the root of a new tree, as "File Input"
// makes the position files' the root.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "app/game/engine_view_run.h"
#include "app/game/game_tree.h"
#include "search/game_analysis.h"

namespace vorek {

class AiPlayer;
class AnalysisRun;
class EngineViewRun;
class GamePage;
class WindowFeatures;

class GameCommands final : public QObject {
    Q_OBJECT

public:
    GameCommands(WindowFeatures& window, GamePage& page);
    ~GameCommands() override;

    // Stops the analysis and hands the board back from the AI; before the
    // window goes.
    void endAll();

    GamePage& page() { return page_; }
    // The game on the page; null before the first one.
    const GameTree* game() const { return game_ ? &*game_ : nullptr; }
    AiPlayer& ai() { return *ai_; }

    // "Open Game...": asks for a game record and opens it.
    void OpenGameClick();
    // Reads the game record and lists its positions on the "Game" page, which
    // comes to the front with the keyboard focus on its list; the position
    // after the last move becomes the root of a new tree. A record that
    // cannot be read gets a message naming the file and the line (its
    // squares counted from 0, the record's own beside them), and the tree,
    // the position and the page stay as they were. Nothing happens where
    // the mode does not allow opening, or the user keeps a changed game.
    // True when the game was opened.
    bool OpenGame(const std::filesystem::path& file);
    // Makes the position after `count` moves of the line the root of a new
    // tree, writing nothing. Where the mode does not allow it the row of
    // `previous` moves is selected again instead.
    void ShowGamePosition(int count, int previous = -1);
    // No row is selected: the root is no position of the game.
    void showNoPosition();

    // "New Game": an empty game, x to move; "New Game From Here": a game
    // whose moves lead to the position shown (the tree's node, or the edited
    // position, whose edit then ends), where a game can. Either leaves a
    // changed game only where the user lets it go.
    void NewGameClick();
    void NewGameFromHereClick();

    // A click on the board: on the "Game" page, with the left button, plays
    // the square (PlayMove). Elsewhere nothing. True when a move was played.
    bool ImgBoardClick(int square, Qt::MouseButton button);
    // Plays the letter to move on the square after the selected position: at
    // the end of the line, or as a new variation beside the move that
    // followed (which stays). Nothing on a stone, after a five (the status
    // bar says the game is over) or where the mode does not allow it. Then
    // the AI answers where it plays the letter now to move. True when the
    // move was played.
    bool PlayMove(int square);
    // "Back" and "Forward": the position before or after on the line.
    void BackClick();
    void ForwardClick();
    // "Delete Move": takes the selected move and all that followed it out
    // of the game; the position before it is shown.
    void DeleteMoveClick();
    // Follows the move `index` of those played from the selected position.
    void chooseNextMove(int index);

    // "Save Game": writes the line to the record it came from or was saved
    // to, else asks where ("Save Game As..."). The record holds the line's
    // moves from the empty board with their times, and, while the line is
    // the record's own, the lines that followed its moves. A failed write
    // keeps the old file whole and says so. True when the game was saved.
    bool SaveGameClick();
    bool SaveGameAsClick();
    bool saveGameTo(const std::filesystem::path& file);
    // Before the game is left (`doing`: "open another game", "close the
    // window"): a changed game asks Save, Discard or Cancel. True when the
    // game may be left.
    bool confirmLeave(const QString& doing);

    // "Analyse Game" on: the line's positions are judged on a thread of
    // their own and each row gets its result and mark as they come; the
    // selected position's proving move is ringed on the board. With an
    // engine chosen for the analysis ("Engine Settings..."), the engine
    // also gives its view of each position on another thread, drawn in the
    // graph under the list. Off: stops.
    void AnalyseGameClick(bool on);
    bool analysing() const { return analysis_ != nullptr || engineRun_ != nullptr; }
    // Waits until the analysis has judged every position (tests).
    void waitForAnalysis();

    // The "Game" page came to the front: the board shows the game's
    // selected position again.
    void pageShown();
    // A digit key on the page: asks an AI about the position shown.
    void digitReleased(int digit);

    // The AI player has a move for the game: plays it as if clicked, with
    // its thinking time. False where it cannot be played.
    bool playAiMove(int square, int milliseconds);

private:
    bool pageShownNow() const;
    void startGame(GameTree game, const std::filesystem::path& file);
    void showGame();
    void showSelected();
    QString rowText(int count) const;
    QString analysisText(int count, QString* explanation = nullptr) const;
    void showAnalysisColumn();
    void showGraph();
    QString engineText(int count) const;
    void startEngineRun();
    // Takes what the runs have found; the column is shown again when
    // something came or the rows were made again since.
    void takeVerdicts();
    // Takes the engine's new views; true when any came.
    bool takeViews();
    void stopAnalysis();
    int hintOfSelected() const;
    bool played(GameTree::Play result);

    WindowFeatures& window_;
    GamePage& page_;
    std::optional<GameTree> game_;
    std::filesystem::path file_;
    std::filesystem::path lastOpened_;  // the game record opened last; empty before one
    // The analysis's verdicts on the positions after the moves of these ids.
    std::map<int, PositionVerdict> verdicts_;
    std::unique_ptr<AnalysisRun> analysis_;
    // The engine's views of the positions after the moves of these ids.
    std::map<int, SeenPosition> views_;
    std::unique_ptr<EngineViewRun> engineRun_;
    // The rows were made again since the analysis column was last shown:
    // their explanations are still to be shown.
    bool columnDue_ = true;
    QTimer analysisTimer_;
    QElapsedTimer sinceShown_;  // the time the player takes over a move
    std::unique_ptr<AiPlayer> ai_;
};

}  // namespace vorek
