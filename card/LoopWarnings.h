#pragma once
// What an intact loop's description says that its music does not bear out: a stored tempo that its
// beat count and length do not make (the loop plays at another tempo than it was meant to), and a
// beat count that wrapped in its one byte. Such a loop plays, so these are warnings, not problems.
#include <vector>

#include "LoopCheck.h"
#include "LoopContents.h"

namespace brenvik::card {

// None for a loop without a readable 16384-byte description, without chosen tracks, or shorter than
// a quarter second (the shortest a tempo can be chosen for).
std::vector<LoopProblem> loopWarnings(const LoopContents& contents);

}  // namespace brenvik::card
