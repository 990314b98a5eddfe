#include "LibraryUse.h"

#include "CardNames.h"
#include "UserLibrary.h"

namespace brenvik::cli {

void sayLibraryTrouble(const Files& files, std::ostream& err) {
    if (const auto report = library::userLibrary(files).takeReport()) err << *report << '\n';
}

card::LoopNamer loopNamerOf(const Files& files, const std::string& card) {
    return library::loopNamer(library::userLibrary(files), card);
}

}  // namespace brenvik::cli
