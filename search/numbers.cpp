#include "search/numbers.h"

namespace vorek {

void updateNumbers(StatNode&) {}
StatNode* propagateNumbers(StatNode* start) { return start; }
bool expandAndPropagate(StatNode&) { return false; }

}  // namespace vorek
