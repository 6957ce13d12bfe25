#include "search/solve_report.h"

namespace vorek {

std::string_view resultText(SolveResult result) {
    switch (result) {
        case SolveResult::Proved: return "proved";
        case SolveResult::Disproved: return "disproved";
        case SolveResult::Unknown: break;
    }
    return "unknown";
}

}  // namespace vorek
