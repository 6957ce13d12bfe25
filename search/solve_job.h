// A solve as the front ends run it, whichever search it is: run() works to
// the end on the thread that calls it, while any other thread may read how
// far it has got.
#pragma once

#include "search/search_control.h"
#include "search/solve_report.h"

namespace vorek {

class SolveJob {
public:
    virtual ~SolveJob() = default;
    SolveJob(const SolveJob&) = delete;
    SolveJob& operator=(const SolveJob&) = delete;

    // Solves until the start position is decided, nothing is left to search
    // or the budget is spent; once.
    virtual SolveReport run() = 0;

    // The progress so far; safe to read from any thread while run() works.
    SolveProgress progress() const { return control_.progress(); }

protected:
    SolveJob(const SolveBudget& budget, MemoryUse memory) : control_(budget, memory) {}

    SearchControl control_;  // the budget the search counts its nodes against
};

}  // namespace vorek
