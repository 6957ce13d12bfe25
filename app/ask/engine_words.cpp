#include "app/ask/engine_words.h"

#include <QRegularExpression>
#include <optional>

#include "threats/square.h"

namespace vorek {

namespace {

// The words that name an evaluation, and a best line, in engines' messages.
const QStringList EVAL_WORDS{QStringLiteral("eval"), QStringLiteral("ev"), QStringLiteral("score")};
const QStringList BEST_LINE_WORDS{QStringLiteral("bestline"), QStringLiteral("pv"), QStringLiteral("line")};

struct Square {
    int column;
    int row;  // from the top; for letter squares, the number as written
    bool lettered;
};

std::optional<Square> squareOf(const QString& word) {
    static const QRegularExpression pair(QStringLiteral("^(\\d{1,2}),(\\d{1,2})$"));
    static const QRegularExpression lettered(QStringLiteral("^([A-Za-z])(\\d{1,2})$"));
    if (const auto match = pair.match(word); match.hasMatch())
        return Square{match.captured(1).toInt(), match.captured(2).toInt(), false};
    if (const auto match = lettered.match(word); match.hasMatch())
        return Square{match.captured(1).toUpper().at(0).unicode() - 'A', match.captured(2).toInt(), true};
    return std::nullopt;
}

// The line's squares as x,y, rows of lettered squares counted as `fromTop`
// says; nullopt where a square falls off the board.
std::optional<QStringList> lineText(const std::vector<Square>& squares, bool fromTop) {
    QStringList line;
    for (const Square& s : squares) {
        const int row = !s.lettered ? s.row : fromTop ? s.row - 1 : BOARD_SIDE - s.row;
        if (!onBoard(s.column, row)) return std::nullopt;
        line << QStringLiteral("%1,%2").arg(s.column).arg(row);
    }
    return line;
}

QStringList readLine(const QStringList& words, qsizetype from, int answerColumn, int answerRow) {
    std::vector<Square> squares;
    QStringList written;
    for (qsizetype i = from; i < words.size(); ++i) {
        const std::optional<Square> square = squareOf(words[i]);
        if (!square) break;
        squares.push_back(*square);
        written << words[i];
    }
    const QString answer = QStringLiteral("%1,%2").arg(answerColumn).arg(answerRow);
    for (const bool fromTop : {true, false}) {
        const std::optional<QStringList> line = lineText(squares, fromTop);
        if (line && !line->isEmpty() && line->front() == answer) return *line;
    }
    return written;
}

}  // namespace

EngineWords engineWords(const QStringList& messages, int answerColumn, int answerRow) {
    EngineWords found;
    for (const QString& message : messages) {
        // "Eval +M15 |", "eval: 45", "pv h8 i9": the separators go.
        QString text = message;
        text.replace(QLatin1Char('|'), QLatin1Char(' ')).replace(QLatin1Char(':'), QLatin1Char(' '));
        const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (qsizetype i = 0; i + 1 < words.size(); ++i) {
            const QString key = words[i].toLower();
            if (EVAL_WORDS.contains(key)) found.eval = words[i + 1];
            if (BEST_LINE_WORDS.contains(key)) {
                const QStringList line = readLine(words, i + 1, answerColumn, answerRow);
                if (!line.isEmpty()) found.line = line;
            }
        }
    }
    return found;
}

}  // namespace vorek
