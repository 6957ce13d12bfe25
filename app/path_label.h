// A one-line label for a path that fits any width: a path too long for it
// loses its middle to an ellipsis, and the whole path is the tool tip. Its
// width never pushes on the window's.
#pragma once

#include <QLabel>

namespace vorek {

class PathLabel final : public QLabel {
    Q_OBJECT

public:
    explicit PathLabel(QWidget* parent = nullptr);

    // Shows the path, shortened to the label's width where needed.
    void setPath(const QString& path);
    // The whole path last set.
    const QString& path() const { return path_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QString path_;
};

}  // namespace vorek
