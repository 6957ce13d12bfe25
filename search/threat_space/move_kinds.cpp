#include "search/threat_space/move_kinds.h"

#include "threats/line_codes.h"

namespace vorek {

namespace {

constexpr LineKindPairs buildLineKindPairs() {
    const LineCodes codes = line_codes::buildLineCodes();
    LineKindPairs pairs{};
    for (unsigned before = 0; before < 256; ++before) {
        for (unsigned after = 0; after < 256; ++after) {
            const std::uint32_t both = codes[before << 8 | after];
            pairs[before | after << 8] = static_cast<std::uint8_t>(LINE_KIND_OF_CODE[both & 0xFFFFu] |
                                                                   LINE_KIND_OF_CODE[both >> 16] << LINE_KIND_BITS);
        }
    }
    return pairs;
}

}  // namespace

constinit const LineKindPairs LINE_KIND_PAIRS = buildLineKindPairs();

}  // namespace vorek
