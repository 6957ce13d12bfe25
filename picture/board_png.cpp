#include "picture/board_png.h"

#include "picture/board_picture.h"

namespace vorek {

QImage renderBoard(const V2Board& board, const PictureOptions& options, int side, NumberStyle numbers) {
    QImage image = newBoardImage(side);
    {
        QtCanvas canvas(image, side, numbers);
        drawBoard(board, canvas, options);
    }
    return image;
}

bool writeBoardPng(const V2Board& board, const QString& fileName, const PictureOptions& options) {
    return renderBoard(board, options).save(fileName, "PNG");
}

}  // namespace vorek
