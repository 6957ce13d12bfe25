#include "threats/line_codes.h"

namespace vorek {

constinit const LineCodes LINE_CODES = line_codes::buildLineCodes();

}  // namespace vorek
