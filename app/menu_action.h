// Menu items as the window's menus make them.
#pragma once

#include <QAction>
#include <QMenu>

namespace vorek {

// Appends an item with the text to the menu; its object name is `name`.
inline QAction* addNamedAction(QMenu& menu, const char* text, const char* name) {
    QAction* action = menu.addAction(QLatin1String(text));
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace vorek
