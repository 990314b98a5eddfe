#include "BackupNames.h"

#include <algorithm>

namespace brenvik::backup {

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<int> loopNumberOf(std::string_view folderName) {
    if (!folderName.starts_with("LOOP")) return std::nullopt;
    const std::string_view digits = folderName.substr(4);
    if (!allDigits(digits) || digits.size() > 3 || digits.front() == '0') return std::nullopt;
    return std::stoi(std::string(digits));
}

bool isLoopFileName(std::string_view name) {
    return name == "loopinfo.ldf" || name == "track1.wav" || name == "track2.wav" || name == "track3.wav" ||
           name == "track4.wav";
}

std::optional<int> restorableEntry(std::string_view entry) {
    const size_t slash = entry.find('/');
    if (slash == std::string_view::npos || !isLoopFileName(entry.substr(slash + 1))) return std::nullopt;
    return loopNumberOf(entry.substr(0, slash));
}

std::string utcStamp(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

}  // namespace brenvik::backup
