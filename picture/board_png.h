// The board picture as an image or a PNG file, for the window and the tools.
#pragma once

#include <QImage>
#include <QString>

#include "picture/board_picture.h"
#include "picture/qt_canvas.h"

namespace vorek {

// The picture of the board with its candidate dots, `side` pixels a side
// (PICTURE_SIZE: the picture's own 401 x 401), with numbers written as asked.
QImage renderBoard(const V2Board& board, const PictureOptions& options = {}, int side = PICTURE_SIZE,
                   NumberStyle numbers = NumberStyle::GLYPHS);

// Writes the board's picture at its own size as a PNG file; false when it
// cannot be written.
bool writeBoardPng(const V2Board& board, const QString& fileName, const PictureOptions& options = {});

}  // namespace vorek
