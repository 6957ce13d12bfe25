// Threat list lines into a QListWidget, as new last rows.
#pragma once

#include <QListWidget>

#include "board/threat_text.h"

namespace vorek {

class ListBoxSink final : public LineSink {
public:
    explicit ListBoxSink(QListWidget& list) : list_(list) {}
    void addLine(std::string_view line) override;

private:
    QListWidget& list_;
};

}  // namespace vorek
