// The tree view of the search tree. It handles mouse and keys in its own way
// first and then reports the click, the double-click or the released key, so
// that the window acts on the item selected after the view's own handling.
#pragma once

#include <QTreeWidget>

namespace vorek {

// Virtual-key codes of the keys the window acts on.
constexpr int KEY_UP = 0x26;
constexpr int KEY_RIGHT = 0x27;
constexpr int KEY_DOWN = 0x28;
constexpr int KEY_DIGIT_1 = 0x31;
constexpr int KEY_DIGIT_9 = 0x39;
constexpr int KEY_OTHER = 0;

// The virtual-key code of a Qt key: arrows, and digits of the main keyboard
// (not the keypad); KEY_OTHER for everything else.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

class NodeTree final : public QTreeWidget {
    Q_OBJECT

public:
    explicit NodeTree(QWidget* parent = nullptr);

signals:
    void treeClicked();
    void treeDoubleClicked();
    // A key let go, as its virtual-key code; auto-repeat releases are not reported.
    void treeKeyReleased(int virtualKey);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool releaseEndsDoubleClick_ = false;
};

}  // namespace vorek
