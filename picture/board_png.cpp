#include "picture/board_png.h"

#include "board/board_picture.h"
#include "picture/qt_canvas.h"

namespace vorek {

QImage renderBoard(V2Board& board) {
    QImage image = newBoardImage();
    {
        QtCanvas canvas(image);
        drawBoard(board, canvas);
    }
    return image;
}

bool writeBoardPng(V2Board& board, const QString& fileName) {
    return renderBoard(board).save(fileName, "PNG");
}

}  // namespace vorek
