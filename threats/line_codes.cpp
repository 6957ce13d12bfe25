#include "threats/line_codes.h"

namespace vorek {

namespace {

// Both players' codes of a line at once, by the cells before and after the
// square: player 0's in the low half, player 1's in the high half. One load
// a line; most scans touch only a small part of the table.
constexpr LineCodes buildLineCodes() {
    const auto far = line_codes::buildFarCodesBefore();
    const auto near = line_codes::buildNearParts();
    LineCodes codes{};
    for (unsigned before = 0; before < 256; ++before) {
        for (unsigned after = 0; after < 256; ++after) {
            std::uint32_t both = 0;
            for (int player = 0; player < 2; ++player)
                both |= std::uint32_t{line_codes::codeOf(far, near, player, before, after)} << (16 * player);
            codes[before << 8 | after] = both;
        }
    }
    return codes;
}

}  // namespace

constinit const LineCodes LINE_CODES = buildLineCodes();

}  // namespace vorek
