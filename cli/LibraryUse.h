#pragma once
// The loop library as the commands use it: the user's own, and a library that cannot be used told
// once on the error stream, by the first command step that met it.
#include <ostream>
#include <string>

#include "ArrangementRequests.h"

namespace brenvik {
class Files;
}

namespace brenvik::cli {

// The library's trouble on err, when it has some not told yet.
void sayLibraryTrouble(const Files& files, std::ostream& err);

// The names of the loops of `card`, for the texts of the arrangements.
card::LoopNamer loopNamerOf(const Files& files, const std::string& card);

}  // namespace brenvik::cli
