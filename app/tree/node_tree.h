// The tree view of the search tree: each item's numbers and, in a second
// column, the move that led to its node. It handles mouse and keys in its own way
// first and then reports the click, the double-click or the released key, so
// that the window acts on the item selected after the view's own handling.
// Letters and digits never move the selection, and a click on blank space
// keeps it.
#pragma once

#include <QPersistentModelIndex>
#include <QTreeWidget>
#include <array>

namespace vorek {

// Virtual-key codes of the keys the window acts on.
constexpr int KEY_UP = 0x26;
constexpr int KEY_RIGHT = 0x27;
constexpr int KEY_DOWN = 0x28;
constexpr int KEY_DIGIT_0 = 0x30;
constexpr int KEY_DIGIT_1 = 0x31;
constexpr int KEY_DIGIT_9 = 0x39;
constexpr int KEY_OTHER = 0;

// The virtual-key code of a key: the arrows by their Qt key; the digits of
// the main keyboard's top row by the key's place, whatever the layout, Shift
// or Ctrl make of it. The place is the native scan code where the platform
// gives one (an X keycode: evdev code + 8); with none (0) the Qt key of a
// digit outside the keypad stands in. KEY_OTHER for everything else.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode = 0);

class NodeTree final : public QTreeWidget {
    Q_OBJECT

public:
    explicit NodeTree(QWidget* parent = nullptr);

    // Typing never searches the items.
    void keyboardSearch(const QString& search) override;

    // Widens the numbers' column, never narrowing it, to hold the labels of
    // the item and its children, so that the moves' column stands clear of
    // them. It looks at those items alone, whatever the size of the tree.
    void fitLabels(const QTreeWidgetItem& item);

signals:
    void treeClicked();
    void treeDoubleClicked();
    // A key let go, as its virtual-key code; auto-repeat releases are not
    // reported. For a digit the item selected when the key went down is
    // selected again first, should the selection have moved meanwhile.
    void treeKeyReleased(int virtualKey);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void reselectItemAtKeyDown(int digit);
    int labelWidth(const QTreeWidgetItem& item, int depth) const;

    bool releaseEndsDoubleClick_ = false;
    // By digit 1..9: the item selected when that digit's key went down.
    std::array<QPersistentModelIndex, 10> selectedAtKeyDown_;
};

}  // namespace vorek
