#include "board/candidates.h"

namespace vorek {

CandidateRecord CandidateList;

int generateCandidates(V2Board&) {
    CandidateList.count = 0;
    return GENERATE_OPEN;
}
bool pushCandidate(V2Board&, int) { return false; }
int addDefences(V2Board&, Threat, int) { return 0; }
void addScoredCandidates(V2Board&, int) {}
void clearCandidateMarks(V2Board&, int) {}

}  // namespace vorek
