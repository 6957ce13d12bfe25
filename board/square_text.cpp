#include "board/square_text.h"

namespace vorek {

std::string squareText(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

}  // namespace vorek
