#include "picture/board_png.h"

#include "picture/board_picture.h"
#include "picture/qt_canvas.h"

namespace vorek {

QImage renderBoard(const V2Board& board, const PictureOptions& options) {
    QImage image = newBoardImage();
    {
        QtCanvas canvas(image);
        drawBoard(board, canvas, options);
    }
    return image;
}

bool writeBoardPng(const V2Board& board, const QString& fileName, const PictureOptions& options) {
    return renderBoard(board, options).save(fileName, "PNG");
}

}  // namespace vorek
