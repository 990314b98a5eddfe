#include "BackupNames.h"

#include <algorithm>

#include "LoopFolderName.h"

namespace brenvik::backup {

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return c == '/' || byte < 0x20 || byte == 0x7F;
           });
}

std::optional<int> restorableEntry(std::string_view entry) {
    const size_t slash = entry.find('/');
    if (slash == std::string_view::npos || !isPlainFileName(entry.substr(slash + 1))) return std::nullopt;
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
