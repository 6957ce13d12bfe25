#include "search/threat_space/move_kinds.h"

#include "threats/line_codes.h"

namespace vorek {

namespace {

// From the two sides' parts of the line codes, as LINE_CODES is built, without
// the whole table of codes in between: evaluated while compiling, that table
// would cost more time than the kinds.
constexpr LineKindPairs buildLineKindPairs() {
    const auto far = line_codes::buildFarCodesBefore();
    const auto near = line_codes::buildNearParts();
    LineKindPairs pairs{};
    for (unsigned before = 0; before < 256; ++before) {
        for (unsigned after = 0; after < 256; ++after) {
            unsigned both = 0;
            for (int player = 0; player < 2; ++player) {
                const unsigned code = line_codes::codeOf(far, near, player, before, after);
                both |= static_cast<unsigned>(LINE_KIND_OF_CODE[code]) << (LINE_KIND_BITS * player);
            }
            pairs[before | after << 8] = static_cast<std::uint8_t>(both);
        }
    }
    return pairs;
}

}  // namespace

constinit const LineKindPairs LINE_KIND_PAIRS = buildLineKindPairs();

}  // namespace vorek
