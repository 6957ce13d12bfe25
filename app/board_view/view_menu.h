// The "View" menu: check items for what the board picture shows beyond the
// stones and the dots: "Colours by Letter", "Coordinates" and "Move
// Numbers". All are off until the user turns them on; the choice is kept in
// the application's settings for the next run.
#pragma once

#include <QObject>

#include "picture/board_picture.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vorek {

class ViewMenu final : public QObject {
    Q_OBJECT

public:
    // Puts the menu into the bar in front of the menu whose action is
    // `before`, with the items checked as last kept.
    ViewMenu(QMenuBar& bar, QAction* before);

    // The options for the picture of a position whose player 1 plays
    // `player1Letter`, given the numbers its stones would carry: the letter
    // colours and the numbers only where their items are checked.
    PictureOptions pictureOptions(char player1Letter, const MoveNumbers& numbers) const;
    // True while "Coordinates" is checked.
    bool coordinates() const;

    QMenu* View1 = nullptr;
    QAction* ColoursByLetter1 = nullptr;
    QAction* Coordinates1 = nullptr;
    QAction* MoveNumbers1 = nullptr;

signals:
    // An item was checked or cleared; the settings already hold the choice.
    void changed();
};

}  // namespace vorek
