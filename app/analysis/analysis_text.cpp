#include "app/analysis/analysis_text.h"

#include <QStringList>
#include <cmath>
#include <cstdlib>

#include "board/square_text.h"
#include "opponent/think_lines.h"

namespace vorek {

namespace {

QString squareWords(int square) { return QString::fromStdString(squareText(columnOf(square), rowOf(square))); }

// "850", "12.3k", "4.5M", "1.2G": three significant figures at most.
QString scaled(double value, const char* suffix) {
    const int decimals = value < 10 ? 1 : 0;
    return QString::number(value, 'f', decimals) + QLatin1String(suffix);
}

// Why the search did not confirm the claim.
QString reasonWords(const MateClaimCheck& check) {
    if (check.verdict == ClaimVerdict::Refuted)
        return check.claim.value >= 0
                   ? QStringLiteral("refuted: every move of the side to move loses to a win by threats")
                   : QStringLiteral("refuted: the side to move wins by threats");
    switch (check.stopped) {
        case SolveStop::Settled:
            return QStringLiteral("no win by threats found; the engine may see one with quiet moves, or be wrong");
        case SolveStop::Seconds: return QStringLiteral("the search ran out of time");
        case SolveStop::Nodes: return QStringLiteral("the search ran out of nodes");
        case SolveStop::Memory: return QStringLiteral("the search ran out of memory");
        case SolveStop::Interrupted: return QStringLiteral("the search was stopped");
    }
    return {};
}

}  // namespace

QString evalWords(const Evaluation& eval) {
    if (!eval.mate) return QString::number(eval.value);
    return (eval.value < 0 ? QStringLiteral("-M") : QStringLiteral("M")) + QString::number(std::abs(eval.value));
}

QString winrateWords(double winrate) { return QString::number(winrate * 100, 'f', 1) + QLatin1Char('%'); }

QString badgeWords(const std::optional<Evaluation>& eval, const std::optional<double>& winrate) {
    if (eval && eval->mate) return evalWords(*eval);
    if (winrate) return QString::number(static_cast<int>(std::lround(*winrate * 100)));
    if (!eval) return {};
    if (std::abs(eval->value) < 1000) return evalWords(*eval);
    const double thousands = eval->value / 1000.0;
    return QString::number(thousands, 'f', std::abs(thousands) < 10 ? 1 : 0) + QLatin1Char('k');
}

QString countWords(std::int64_t count) {
    const double value = static_cast<double>(count);
    if (count < 1000) return QString::number(count);
    if (count < 1'000'000) return scaled(value / 1e3, "k");
    if (count < 1'000'000'000) return scaled(value / 1e6, "M");
    return scaled(value / 1e9, "G");
}

QString lineWords(const std::vector<int>& squares) {
    QStringList words;
    for (const int square : squares) words << squareWords(square);
    return words.join(QLatin1Char(' '));
}

QString depthWords(const SearchLine& line) {
    if (!line.depth) return {};
    QString words = QString::number(*line.depth);
    if (line.selDepth && *line.selDepth > *line.depth) words += QLatin1Char('-') + QString::number(*line.selDepth);
    return words;
}

QString progressWords(const ThinkLines& lines) {
    QStringList parts;
    if (const SearchLine* best = lines.best(); best && best->depth)
        parts << QStringLiteral("depth ") + depthWords(*best);
    if (const auto nodes = lines.nodes()) parts << countWords(*nodes) + QStringLiteral(" nodes");
    if (const auto speed = lines.latest(&SearchLine::speed)) parts << countWords(*speed) + QStringLiteral(" nodes/s");
    if (const auto time = lines.latest(&SearchLine::totalTime))
        parts << QString::number(static_cast<double>(*time) / 1000, 'f', 1) + QStringLiteral(" s");
    return parts.join(QStringLiteral(", "));
}

QString mateCheckWords(const MateClaimCheck& check, QString* details) {
    const QString claim = evalWords(check.claim);
    if (check.verdict == ClaimVerdict::Proved) {
        const QString line = lineWords(check.line);
        if (details != nullptr)
            *details = QStringLiteral("Our threat-space search proves the claim: %1 plies, both sides' moves and the "
                                      "five, on the line %2")
                           .arg(check.plies)
                           .arg(line);
        return QStringLiteral("%1: proved by threats (%2 plies: %3)").arg(claim).arg(check.plies).arg(line);
    }
    const QString reason = reasonWords(check);
    if (details != nullptr) {
        *details = QStringLiteral("Our threat-space search does not confirm the claim: ") + reason;
        if (!check.line.empty()) *details += QStringLiteral(" (line ") + lineWords(check.line) + QLatin1Char(')');
    }
    return QStringLiteral("%1: not confirmed (%2)").arg(claim, reason);
}

QString shownText(std::string_view text, qsizetype most) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) c = QLatin1Char(' ');
    if (shown.size() > most) shown = shown.left(most) + QStringLiteral("...");
    return shown;
}

}  // namespace vorek
