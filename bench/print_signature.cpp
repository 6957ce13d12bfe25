// Prints the search signature and the solves behind it, and whether it is the
// one recorded in bench/signature.h. Exits 1 when it is not.
#include <cstdio>

#include "bench/signature.h"

int main() {
    using namespace vorek::bench;
    const std::vector<SignatureSolve> solves = signatureSolves();
    std::uint64_t nodes = 0;
    for (const SignatureSolve& solve : solves) {
        std::printf("%-52s %8llu nodes\n", solve.name.c_str(), static_cast<unsigned long long>(solve.nodes));
        nodes += solve.nodes;
    }
    const std::uint64_t signature = searchSignature(solves);
    std::printf("search signature %llu (%zu solves, %llu nodes)%s\n", static_cast<unsigned long long>(signature),
                solves.size(), static_cast<unsigned long long>(nodes),
                signature == RECORDED_SEARCH_SIGNATURE ? "" : ": NOT the recorded signature");
    return signature == RECORDED_SEARCH_SIGNATURE ? 0 : 1;
}
