#include "app/board_view/board_marks.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <unordered_set>

#include "picture/board_canvas.h"
#include "threats/square.h"

namespace vorek {

namespace {

constexpr double BADGE_INSET = 2.5;
constexpr double BADGE_RADIUS = 4;
constexpr int BADGE_ALPHA = 225;
constexpr int GHOST_ALPHA = 140;
constexpr double RING_WIDTH = 2;
const QColor RING_COLOUR(0, 64, 255);
// The text's height in picture pixels, largest first; a longer text gets a
// smaller one to fit its cell.
constexpr double TEXT_SIZES[] = {9, 8, 7, 6};
constexpr double TEXT_ROOM = CELL_SIZE - 2 * BADGE_INSET - 1;

QRectF cellRect(int square, double inset) {
    const double left = columnOf(square) * CELL_SIZE + STONE_INSET;
    const double top = rowOf(square) * CELL_SIZE + STONE_INSET;
    const double side = STONE_END - STONE_INSET;
    return QRectF(left + inset, top + inset, side - 2 * inset, side - 2 * inset);
}

QColor fill(bool black, int alpha) { return black ? QColor(0, 0, 0, alpha) : QColor(255, 255, 255, alpha); }
QColor ink(bool black) { return black ? Qt::white : Qt::black; }

// The text centred in the rectangle at the largest size that fits its width;
// one too wide even at the smallest ("-M28" in some fonts) is narrowed to fit
// rather than clipped at both ends, which would drop its sign.
void fittedText(QPainter& painter, const QRectF& rect, const QString& text) {
    QFont font = painter.font();
    font.setBold(true);
    double width = 0;
    for (const double size : TEXT_SIZES) {
        font.setPixelSize(static_cast<int>(size));
        width = QFontMetricsF(font).horizontalAdvance(text);
        if (width <= TEXT_ROOM) break;
    }
    painter.setFont(font);
    if (width <= TEXT_ROOM) {
        painter.drawText(rect, Qt::AlignCenter, text);
        return;
    }
    painter.save();
    painter.translate(rect.center());
    painter.scale(TEXT_ROOM / width, 1);
    painter.drawText(QRectF(-width / 2, -rect.height() / 2, width, rect.height()), Qt::AlignCenter, text);
    painter.restore();
}

void paintBadge(QPainter& painter, const MoveBadge& badge) {
    const QRectF rect = cellRect(badge.square, BADGE_INSET);
    painter.setPen(badge.best ? QPen(RING_COLOUR, RING_WIDTH) : QPen(ink(badge.black), 0.5));
    painter.setBrush(fill(badge.black, BADGE_ALPHA));
    painter.drawRoundedRect(rect, BADGE_RADIUS, BADGE_RADIUS);
    if (badge.text.isEmpty()) return;
    painter.setPen(ink(badge.black));
    fittedText(painter, rect, badge.text);
}

void paintGhost(QPainter& painter, const GhostStone& ghost) {
    const QRectF rect = cellRect(ghost.square, 0);
    painter.setPen(QPen(QColor(0, 0, 0, GHOST_ALPHA), 1));
    painter.setBrush(fill(ghost.black, GHOST_ALPHA));
    painter.drawEllipse(rect);
    painter.setPen(ink(ghost.black));
    fittedText(painter, rect, QString::number(ghost.number));
}

}  // namespace

void paintBoardMarks(QPainter& painter, const BoardMarks& marks) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    std::unordered_set<int> covered;
    for (const GhostStone& ghost : marks.ghosts) covered.insert(ghost.square);
    for (const MoveBadge& badge : marks.badges)
        if (isSquare(badge.square) && !covered.contains(badge.square)) paintBadge(painter, badge);
    for (const GhostStone& ghost : marks.ghosts)
        if (isSquare(ghost.square)) paintGhost(painter, ghost);
    painter.restore();
}

}  // namespace vorek
