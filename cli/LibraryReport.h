#pragma once
// A loop library that cannot be used is told once on the error stream, by the first command that
// met it; the command goes on without names.
#include <ostream>

namespace brenvik {
class Files;
}

namespace brenvik::cli {

void reportLibraryOnce(const Files& files, std::ostream& err);

}  // namespace brenvik::cli
