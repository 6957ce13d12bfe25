// The board picture as an image or a PNG file, for the window and the tools.
#pragma once

#include <QImage>
#include <QString>

#include "picture/board_picture.h"

namespace vorek {

// The 401 x 401 picture of the board with its candidate dots.
QImage renderBoard(const V2Board& board, const PictureOptions& options = {});

// Writes the board's picture as a PNG file; false when it cannot be written.
bool writeBoardPng(const V2Board& board, const QString& fileName, const PictureOptions& options = {});

}  // namespace vorek
