#include "app/game/game_page.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "board/square_text.h"

namespace vorek {

namespace {

// Typing never jumps to a line: a digit meant for the tree would replace it.
class PositionList final : public QListWidget {
public:
    using QListWidget::QListWidget;
    void keyboardSearch(const QString&) override {}
};

}  // namespace

GamePage::GamePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Game"));
    GameList = new PositionList(this);
    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setUniformItemSizes(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(GameList);
    connect(GameList, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current, QListWidgetItem* previous) {
                if (quiet_ || current == nullptr) return;
                emit positionChosen(GameList->row(current), previous ? GameList->row(previous) : -1);
            });
}

void GamePage::showRecord(GameRecord record) {
    record_ = std::move(record);
    QStringList lines;
    const int moves = static_cast<int>(record_->moves.size());
    for (int count = 0; count <= moves; ++count) lines << gameLine(*record_, count);
    quiet_ = true;
    GameList->clear();
    GameList->addItems(lines);
    GameList->setCurrentRow(-1);
    quiet_ = false;
}

void GamePage::selectPosition(int count) {
    quiet_ = true;
    GameList->setCurrentRow(count >= 0 && count < GameList->count() ? count : -1);
    quiet_ = false;
}

int GamePage::selectedPosition() const { return GameList->currentRow(); }

QString gameLine(const GameRecord& record, int count) {
    if (count == 0) return QStringLiteral("0. (empty board)");
    const int square = record.moves.at(static_cast<std::size_t>(count - 1));
    return QStringLiteral("%1. %2").arg(count).arg(QString::fromStdString(squareText(columnOf(square), rowOf(square))));
}

}  // namespace vorek
