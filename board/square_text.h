// The text of a square as AI programs write a move, in "tah.dat" and in
// protocol lines, and as the window names a square: "x,y", column and row
// counted from 0.
#pragma once

#include <string>

namespace vorek {

// "x,y" for any two integers, on the board or not, so that a message can name
// a square that is off it.
std::string squareText(int x, int y);

}  // namespace vorek
