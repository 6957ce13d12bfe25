#include "app/board_view/list_box_sink.h"

namespace vorek {

void ListBoxSink::addLine(std::string_view line) {
    list_.addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

}  // namespace vorek
