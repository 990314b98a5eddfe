#include "BackupNames.h"

#include "LoopFolderName.h"
#include "TrackFile.h"

namespace brenvik::backup {

bool isLoopFileName(std::string_view name) {
    return name == loop::kDescriptionFileName || loop::trackOfFileName(name) != 0;
}

std::optional<int> restorableEntry(std::string_view entry) {
    const size_t slash = entry.find('/');
    if (slash == std::string_view::npos || !isLoopFileName(entry.substr(slash + 1))) return std::nullopt;
    return loop::loopNumberOf(entry.substr(0, slash));
}

std::string utcStamp(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

}  // namespace brenvik::backup
