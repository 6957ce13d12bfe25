// The menu bar reached from the keyboard as desktop programs reach theirs:
// Alt+letter opens the menu whose letter is underlined, Alt pressed and let
// go alone puts the bar's first menu under the keyboard, and F10 opens the
// first menu.
#pragma once

class QMenuBar;

namespace vorek {

// Gives the bar Alt alone and F10; Alt+letter comes with the menus' mnemonics.
void openMenusByKeyboard(QMenuBar& bar);

}  // namespace vorek
