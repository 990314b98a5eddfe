#include "LoopFolderName.h"

#include <filesystem>
#include <system_error>

namespace brenvik::loop {

std::optional<int> loopNumberOf(std::string_view folderName) {
    constexpr std::string_view prefix = "LOOP";
    if (!folderName.starts_with(prefix)) return std::nullopt;
    const std::string_view digits = folderName.substr(prefix.size());
    if (digits.empty() || digits.size() > 3 || digits.front() == '0') return std::nullopt;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (!isLoopNumber(number)) return std::nullopt;
    return number;
}

std::string loopFolderName(int number) { return "LOOP" + std::to_string(number); }

std::string lastFolderName(const std::string& path) {
    const std::filesystem::path folder(path);
    return (folder.has_filename() ? folder : folder.parent_path()).filename().string();
}

std::string descriptionPath(const std::string& folder) {
    return folder + static_cast<char>(std::filesystem::path::preferred_separator) +
           kDescriptionFileName;
}

bool holdsDescription(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_regular_file(descriptionPath(folder), ec);
}

}  // namespace brenvik::loop
