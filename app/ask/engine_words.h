// The evaluation and the best line an engine gives in its MESSAGE lines
// beside its move ("MESSAGE Speed 401K | Depth 9-11 | Eval +M15", "MESSAGE
// Bestline G13 F14 J10"), with the squares of the line in the window's x,y.
#pragma once

#include <QStringList>

#include "app/ask/ask_commands.h"

namespace vorek {

// The words of the MESSAGE lines (their texts after "MESSAGE "), the last
// evaluation and the last line given. A square of the line is "x,y" as
// written, or a letter and a number ("G13": column G, the seventh, and row
// 13) read so that the line starts with the engine's answer, column, row:
// rows counted from 1 at the top or at the bottom, whichever gives it; a line
// that fits neither is kept as the engine wrote it.
EngineWords engineWords(const QStringList& messages, int answerColumn, int answerRow);

}  // namespace vorek
