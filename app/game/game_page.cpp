#include "app/game/game_page.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/game/eval_graph.h"
#include "app/tree/node_tree.h"

namespace vorek {

namespace {

// The rows of the line. Typing never jumps to a row: a digit asks an AI. The
// focus coming to the list selects no row of its own accord, as a list does
// to have a current row: the board would jump to that position.
class PositionList final : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    void keyboardSearch(const QString&) override {}
    bool takingFocus() const { return takingFocus_; }

protected:
    void focusInEvent(QFocusEvent* event) override {
        QTreeWidgetItem* before = currentItem();
        takingFocus_ = true;
        QTreeWidget::focusInEvent(event);
        if (currentItem() != before) setCurrentItem(before);
        takingFocus_ = false;
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (digitOf(*event) > 0) {
            event->accept();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QTreeWidget::keyReleaseEvent(event);
        const int digit = digitOf(*event);
        if (digit > 0 && !event->isAutoRepeat()) emit page()->digitReleased(digit);
    }

private:
    static int digitOf(const QKeyEvent& event) {
        const int code = virtualKeyCode(event.key(), event.modifiers(), event.nativeScanCode());
        return code >= KEY_DIGIT_1 && code <= KEY_DIGIT_9 ? code - KEY_DIGIT_0 : 0;
    }
    GamePage* page() const { return static_cast<GamePage*>(parentWidget()); }

    bool takingFocus_ = false;
};

}  // namespace

GamePage::GamePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Game"));
    auto* list = new PositionList(this);
    GameList = list;
    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setColumnCount(2);
    GameList->setHeaderLabels({QStringLiteral("Position"), QStringLiteral("Analysis")});
    GameList->setRootIsDecorated(false);
    GameList->setUniformRowHeights(true);
    GameList->setSelectionMode(QAbstractItemView::SingleSelection);
    GameList->header()->setStretchLastSection(true);
    GameList->header()->setSectionResizeMode(MOVE_COLUMN, QHeaderView::ResizeToContents);

    nextMovesHeading_ = new QLabel(QStringLiteral("Moves played from here; choose one to follow it:"), this);
    nextMovesHeading_->setWordWrap(true);
    NextMoves = new QListWidget(this);
    NextMoves->setObjectName(QStringLiteral("NextMoves"));
    NextMoves->setUniformItemSizes(true);
    NextMoves->setMaximumHeight(NextMoves->fontMetrics().height() * 5);
    nextMovesHeading_->hide();
    NextMoves->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(GameList, 1);
    Graph = new EvalGraph(this);
    column->addWidget(Graph);
    column->addWidget(nextMovesHeading_);
    column->addWidget(NextMoves);
    connect(GameList, &QTreeWidget::currentItemChanged, this,
            [this, list](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                if (quiet_ || list->takingFocus() || current == nullptr) return;
                emit positionChosen(GameList->indexOfTopLevelItem(current),
                                    previous ? GameList->indexOfTopLevelItem(previous) : -1);
            });
    // A click on the graph selects the row as the user would.
    connect(Graph, &EvalGraph::positionClicked, this, [this](int count) {
        if (QTreeWidgetItem* row = GameList->topLevelItem(count)) GameList->setCurrentItem(row);
    });
    connect(NextMoves, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!quiet_ && row >= 0) emit nextMoveChosen(row);
    });
}

void GamePage::showLine(const QStringList& moves, const QStringList& analysis, int selected) {
    QList<QTreeWidgetItem*> rows;
    for (qsizetype i = 0; i < moves.size(); ++i)
        rows << new QTreeWidgetItem(QStringList{moves[i], analysis.value(i)});
    quiet_ = true;
    GameList->clear();
    GameList->addTopLevelItems(rows);
    quiet_ = false;
    selectPosition(selected);
}

void GamePage::showAnalysis(int count, const QString& text, const QString& explanation) {
    QTreeWidgetItem* row = GameList->topLevelItem(count);
    if (row == nullptr) return;
    row->setText(ANALYSIS_COLUMN, text);
    row->setToolTip(ANALYSIS_COLUMN, explanation);
}

void GamePage::showNextMoves(const QStringList& moves, int onLine) {
    quiet_ = true;
    NextMoves->clear();
    NextMoves->addItems(moves);
    NextMoves->setCurrentRow(onLine);
    quiet_ = false;
    // A single move leaves nothing to choose.
    nextMovesHeading_->setVisible(moves.size() > 1);
    NextMoves->setVisible(moves.size() > 1);
}

void GamePage::selectPosition(int count) {
    quiet_ = true;
    QTreeWidgetItem* row = count >= 0 ? GameList->topLevelItem(count) : nullptr;
    GameList->setCurrentItem(row);
    Graph->select(count);
    if (row == nullptr) GameList->clearSelection();
    else GameList->scrollToItem(row);
    quiet_ = false;
}

int GamePage::selectedPosition() const {
    QTreeWidgetItem* row = GameList->currentItem();
    return row != nullptr && row->isSelected() ? GameList->indexOfTopLevelItem(row) : -1;
}

int GamePage::rows() const { return GameList->topLevelItemCount(); }

QString GamePage::rowText(int count, int column) const {
    const QTreeWidgetItem* row = GameList->topLevelItem(count);
    return row != nullptr ? row->text(column) : QString();
}

QStringList GamePage::nextMoves() const {
    QStringList texts;
    for (int i = 0; i < NextMoves->count(); ++i) texts << NextMoves->item(i)->text();
    return texts;
}

}  // namespace vorek
