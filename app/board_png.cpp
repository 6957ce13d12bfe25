#include "app/board_png.h"

#include "app/qt_canvas.h"

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
