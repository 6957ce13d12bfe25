#include "app/board_view/position_view.h"

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>

#include "app/board_view/board_image.h"
#include "app/board_view/list_box_sink.h"
#include "app/board_view/view_menu.h"
#include "app/window_controller.h"
#include "app/window_widgets.h"
#include "board/evaluation.h"
#include "board/five_in_row.h"
#include "board/threat_text.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

constexpr QChar BLACK_STONE(0x25CF);
constexpr QChar WHITE_STONE(0x25CB);

// player 1's four line values of a square scan, by weight.
int playerOneWeightSum(const LineThreats& lines) {
    int sum = 0;
    for (int line = 0; line < LINES; ++line) sum += weight(lines[lineThreatIndex(PLAYER1, line)]);
    return sum;
}

void showThreats(QListWidget& list, const V2Board& board, int player) {
    list.clear();
    ListBoxSink sink(list);
    fillThreatList(board, sink, player);
}

char letterOf(Player player, char player1Letter) {
    return player == PLAYER1 ? player1Letter : otherLetter(player1Letter);
}

// Whether the letter's stones are black in the picture.
bool playsBlack(char letter, char player1Letter, const PictureOptions& options) {
    return options.coloursByLetter ? letter == options.blackLetter : letter == player1Letter;
}

}  // namespace

PositionView::PositionView(WindowController& controller, const WindowWidgets& widgets)
    : controller_(controller), widgets_(widgets) {}

// A position of a game keeps the record's colours, its first mover black,
// whatever the "View" menu says; the last move is marked. A line's moves
// always carry numbers: from 1 on, or following the others' where "Move
// Numbers" numbers every stone. An edited position keeps its stones'
// colours while the side to move changes.
PictureOptions PositionView::pictureOptions() const {
    const ViewMenu& view = widgets_.viewMenu;
    if (const PositionEditor* editor = controller_.editor()) {
        PictureOptions options = view.pictureOptions(editor->letterToMove(), editor->numbers());
        if (!options.coloursByLetter) {
            options.coloursByLetter = true;
            options.blackLetter = editor->blackLetter();
        }
        return options;
    }
    const StoneLabels& labels = controller_.shownLabels();
    const SolveLine* line = controller_.shownLine();
    const StatNode& current = *controller_.currentNode();
    const std::vector<int> moves = line != nullptr ? line->movesShown() : movesFromRoot(current);
    PictureOptions options = view.pictureOptions(labels.player1Letter, numbersAfter(labels, moves));
    if (line != nullptr && !view.MoveNumbers1->isChecked()) options.moveNumbers = line->lineNumbers();
    options.lastMove = lastMoveAfter(labels, moves);
    if (labels.gameFirstLetter != 0) {
        options.coloursByLetter = true;
        options.blackLetter = labels.gameFirstLetter;
    }
    if (line == nullptr && &current == controller_.root()) options.hint = rootHint_;
    return options;
}

void PositionView::show() {
    V2Board& board = controller_.shownBoard();
    PictureOptions options = pictureOptions();
    const std::optional<FiveInRow> five = fiveInRow(board);
    if (five) options.fiveSquares = five->squares;
    widgets_.board.showBoard(board, options);
    showThreats(widgets_.threats0, board, 0);
    showThreats(widgets_.threats1, board, 1);
    const char letter1 = controller_.player1Letter();
    widgets_.heading1.setText(QStringLiteral("Threats of %1").arg(QLatin1Char(letter1)));
    widgets_.heading0.setText(QStringLiteral("Threats of %1").arg(QLatin1Char(otherLetter(letter1))));
    if (five) {
        const char winner = letterOf(five->owner, letter1);
        widgets_.sideToMove.setText(QStringLiteral("%1 wins (five)").arg(QLatin1Char(winner)));
        widgets_.sideToMove.setToolTip(QStringLiteral("%1 has five in a row: the game is over").arg(QLatin1Char(winner)));
    } else {
        showSideToMove(board, options);
    }
    if (reported_) showSquareReport();
    widgets_.reportPanel.setToolTip(
        QStringLiteral("The square under the pointer: the best threat %1 and then %2 would make there. cn: the "
                       "stones still missing for five (0: five, 1: a four); tn: the moves still needed to win the "
                       "line (0: won).")
            .arg(QLatin1Char(otherLetter(letter1)))
            .arg(QLatin1Char(letter1)));
    widgets_.weightPanel.setToolTip(
        QStringLiteral("The weights of %1's four lines through the square under the pointer, added: what the move "
                       "generator makes of the square for %1.")
            .arg(QLatin1Char(letter1)));
    if (shown_) shown_();
}

bool PositionView::playsBlack(Player player) const {
    const char letter1 = controller_.player1Letter();
    return vorek::playsBlack(letterOf(player, letter1), letter1, pictureOptions());
}

// "x to move" after a stone of the colour the picture gives the side to
// move: a black circle or a white one.
void PositionView::showSideToMove(const V2Board& board, const PictureOptions& options) {
    const char letter1 = controller_.player1Letter();
    const char mover = letterOf(board.sideToMove(), letter1);
    const bool black = vorek::playsBlack(mover, letter1, options);
    widgets_.sideToMove.setText(
        QStringLiteral("%1 %2 to move").arg(black ? BLACK_STONE : WHITE_STONE).arg(QLatin1Char(mover)));
    widgets_.sideToMove.setToolTip(QStringLiteral("%1 is to move in the position shown, with the %2 stones")
                                       .arg(QLatin1Char(mover))
                                       .arg(black ? QStringLiteral("black") : QStringLiteral("white")));
}

void PositionView::forgetSquareReport() {
    reported_ = false;
    widgets_.window.setWindowTitle(QStringLiteral("Form1"));
    widgets_.reportPanel.clear();
    widgets_.weightPanel.clear();
}

void PositionView::reportSquareAt(int x, int y) {
    // A held button reports positions off the picture; they name no square.
    const std::optional<int> square = squareAtPixel(x, y, widgets_.board.side());
    if (!square) return;
    mouseSquare_ = *square;
    mouseColumn_ = columnOf(mouseSquare_);
    mouseRow_ = rowOf(mouseSquare_);
    reported_ = true;
    widgets_.window.setWindowTitle(QStringLiteral("[%1,%2,%3]").arg(mouseColumn_).arg(mouseRow_).arg(mouseSquare_));
    showSquareReport();
}

// The report of the mouse's square: its items and player 1's line weights.
void PositionView::showSquareReport() {
    const V2Board& board = controller_.shownBoard();
    widgets_.reportPanel.setText(QString::fromStdString(squareReport(board, mouseSquare_)));
    widgets_.weightPanel.setText(QString::number(playerOneWeightSum(scanSquare(board, mouseSquare_))));
}

void PositionView::markMove(int column, int row) { widgets_.board.markMove(column, row); }

const QImage& PositionView::image() const { return widgets_.board.image(); }

QString PositionView::sideToMoveText() const { return widgets_.sideToMove.text(); }

}  // namespace vorek
