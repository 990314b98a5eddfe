#include "LibraryReport.h"

#include "Files.h"
#include "UserLibrary.h"

namespace brenvik::cli {

void reportLibraryOnce(const Files& files, std::ostream& err) {
    if (const auto report = library::userLibrary(files).takeReport()) err << *report << '\n';
}

}  // namespace brenvik::cli
