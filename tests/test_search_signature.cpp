// The search signature: the benchmark solves make the node counts recorded
// with the search, so that a change to the search cannot pass unnoticed.
#include <gtest/gtest.h>

#include "bench/signature.h"

namespace vorek {
namespace {

TEST(SearchSignature, TheBenchmarkSolvesMakeTheRecordedNodeCounts) {
    const std::vector<bench::SignatureSolve> solves = bench::signatureSolves();
    std::string counts;
    for (const bench::SignatureSolve& solve : solves) counts += solve.name + " " + std::to_string(solve.nodes) + "\n";
    EXPECT_EQ(bench::searchSignature(solves), bench::RECORDED_SEARCH_SIGNATURE)
        << "the search makes other node counts; if that is meant, record the new signature in "
           "bench/signature.h and say why in the commit:\n"
        << counts;
}

}  // namespace
}  // namespace vorek
