// Menus and menu items as the window's menus make them, and widgets named
// as the window's code and tests look them up.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vorek {

// The widget, its object name set to `name`.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A menu with the text put into the bar before the action; its object name is `name`.
inline QMenu* addNamedMenu(QMenuBar& bar, QAction* before, const char* text, const char* name) {
    auto* menu = named(new QMenu(QLatin1String(text), &bar), name);
    bar.insertMenu(before, menu);
    return menu;
}

// Appends an item with the text to the menu; its object name is `name`.
inline QAction* addNamedAction(QMenu& menu, const char* text, const char* name) {
    return named(menu.addAction(QLatin1String(text)), name);
}

}  // namespace vorek
