#include "app/board_view/view_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "app/menu_action.h"

namespace vorek {

namespace {

// A check item whose state lives in the settings under `key`.
QAction* keptCheckItem(QMenu& menu, const char* text, const char* name, const char* key) {
    QAction* action = addNamedAction(menu, text, name);
    action->setCheckable(true);
    action->setChecked(QSettings().value(QLatin1String(key), false).toBool());
    QObject::connect(action, &QAction::toggled, action,
                     [key](bool checked) { QSettings().setValue(QLatin1String(key), checked); });
    return action;
}

}  // namespace

ViewMenu::ViewMenu(QMenuBar& bar, QAction* before) : QObject(&bar) {
    View1 = addNamedMenu(bar, before, "&View", "View1");

    ColoursByLetter1 = keptCheckItem(*View1, "Colours by &Letter", "ColoursByLetter1", "view/coloursByLetter");
    Coordinates1 = keptCheckItem(*View1, "&Coordinates", "Coordinates1", "view/coordinates");
    MoveNumbers1 = keptCheckItem(*View1, "Move &Numbers", "MoveNumbers1", "view/moveNumbers");
    for (QAction* item : {ColoursByLetter1, Coordinates1, MoveNumbers1})
        connect(item, &QAction::toggled, this, &ViewMenu::changed);
}

PictureOptions ViewMenu::pictureOptions(char player1Letter, const MoveNumbers& numbers) const {
    PictureOptions options;
    options.coloursByLetter = ColoursByLetter1->isChecked();
    options.player1Letter = player1Letter;
    if (MoveNumbers1->isChecked()) options.moveNumbers = numbers;
    return options;
}

bool ViewMenu::coordinates() const { return Coordinates1->isChecked(); }

}  // namespace vorek
