#include "app/analysis/analysis_panel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/menu_action.h"

namespace vorek {

namespace {

// The rows the panel shows without scrolling at its first height.
constexpr int ROWS_SHOWN = 3;

// Leaving the rows' area is told as hovering none.
class LeaveWatcher final : public QObject {
public:
    LeaveWatcher(QObject* parent, AnalysisPanel& panel) : QObject(parent), panel_(panel) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Leave) emit panel_.lineHovered(-1);
        return false;
    }

private:
    AnalysisPanel& panel_;
};

}  // namespace

AnalysisPanel::AnalysisPanel(QWidget* parent) : QDockWidget(QStringLiteral("Analysis"), parent) {
    setObjectName(QStringLiteral("Analysis"));
    auto* body = new QWidget(this);
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);

    auto* heading = new QHBoxLayout;
    engine_ = named(new QLabel(QStringLiteral("No engine chosen: F5 asks for one"), body), "AnalysisEngine");
    state_ = named(new QLabel(body), "AnalysisState");
    heading->addWidget(engine_);
    heading->addWidget(state_, 1);
    rows->addLayout(heading);

    Lines = named(new QTreeWidget(body), "AnalysisLines");
    Lines->setColumnCount(5);
    Lines->setHeaderLabels({QStringLiteral("Move"), QStringLiteral("Eval"), QStringLiteral("Win rate"),
                            QStringLiteral("Depth"), QStringLiteral("Line")});
    Lines->setRootIsDecorated(false);
    Lines->setUniformRowHeights(true);
    Lines->setSelectionMode(QAbstractItemView::NoSelection);
    Lines->setMouseTracking(true);
    Lines->header()->setStretchLastSection(true);
    for (int column = MOVE_COLUMN; column < LINE_COLUMN; ++column)
        Lines->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    Lines->setMinimumHeight(Lines->header()->sizeHint().height() + Lines->fontMetrics().height() * ROWS_SHOWN + 8);
    rows->addWidget(Lines, 1);
    connect(Lines, &QTreeWidget::itemEntered, this,
            [this](QTreeWidgetItem* item) { emit lineHovered(Lines->indexOfTopLevelItem(item)); });
    Lines->viewport()->installEventFilter(new LeaveWatcher(this, *this));

    mateCheck_ = named(new QLabel(body), "AnalysisMateCheck");
    mateCheck_->hide();
    rows->addWidget(mateCheck_);
    message_ = named(new QLabel(body), "AnalysisMessage");
    rows->addWidget(message_);
    // What an engine writes is shown as it is, never read as markup.
    for (QLabel* label : {engine_, state_, mateCheck_, message_}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    setWidget(body);
}

void AnalysisPanel::showEngine(const QString& name, const QString& details) {
    engine_->setText(name);
    engine_->setToolTip(details);
}

void AnalysisPanel::showState(const QString& text) { state_->setText(text); }

void AnalysisPanel::showLines(const std::vector<AnalysisRow>& rows) {
    // Rows are kept and rewritten, so that the pointer over one stays over it.
    while (Lines->topLevelItemCount() > static_cast<int>(rows.size()))
        delete Lines->takeTopLevelItem(Lines->topLevelItemCount() - 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem* item = Lines->topLevelItem(static_cast<int>(i));
        if (item == nullptr) {
            item = new QTreeWidgetItem;
            Lines->addTopLevelItem(item);
        }
        const AnalysisRow& row = rows[i];
        item->setText(MOVE_COLUMN, row.move);
        item->setText(EVAL_COLUMN, row.eval);
        item->setText(WINRATE_COLUMN, row.winrate);
        item->setText(DEPTH_COLUMN, row.depth);
        item->setText(LINE_COLUMN, row.line);
        item->setToolTip(LINE_COLUMN, row.line);
    }
}

void AnalysisPanel::showMateCheck(const QString& text, const QString& details) {
    mateCheck_->setText(text);
    mateCheck_->setToolTip(details);
    mateCheck_->setVisible(!text.isEmpty());
}

void AnalysisPanel::showMessage(const QString& text) {
    message_->setText(text);
    message_->setToolTip(text);
}

QString AnalysisPanel::engineText() const { return engine_->text(); }
QString AnalysisPanel::stateText() const { return state_->text(); }
QString AnalysisPanel::mateCheckText() const { return mateCheck_->text(); }
QString AnalysisPanel::messageText() const { return message_->text(); }
int AnalysisPanel::rows() const { return Lines->topLevelItemCount(); }

QString AnalysisPanel::rowText(int row, int column) const {
    const QTreeWidgetItem* item = Lines->topLevelItem(row);
    return item != nullptr ? item->text(column) : QString();
}

}  // namespace vorek
