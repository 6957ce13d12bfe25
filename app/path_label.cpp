#include "app/path_label.h"

#include <algorithm>

namespace vorek {

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void PathLabel::setPath(const QString& path) {
    path_ = path;
    setToolTip(path);
    fit();
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void PathLabel::fit() {
    const int room = contentsRect().width() - 2 * margin();
    setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(room, 0)));
}

}  // namespace vorek
