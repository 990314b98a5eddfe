#include "LoopFolderName.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace brenvik::loop {

std::optional<int> loopNumberOf(std::string_view folderName) {
    constexpr std::string_view prefix = "LOOP";
    if (!sameNameOnCard(folderName.substr(0, prefix.size()), prefix)) return std::nullopt;
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

bool sameNameOnCard(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&lower](char x, char y) { return lower(x) == lower(y); });
}

std::string pathOnCard(const std::string& folder, const std::string& name) {
    const std::filesystem::path exact = std::filesystem::path(folder) / name;
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(exact, ec))) return exact.string();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (sameNameOnCard(it->path().filename().string(), name)) return it->path().string();
    return exact.string();
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

std::string foundDescriptionPath(const std::string& folder) {
    const std::string plain = descriptionPath(folder);
    std::error_code ec;
    if (folder.empty() || std::filesystem::exists(std::filesystem::symlink_status(plain, ec))) return plain;
    return pathOnCard(folder, kDescriptionFileName);
}

bool holdsDescription(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_regular_file(foundDescriptionPath(folder), ec);
}

bool isLoopFolder(const std::string& folder) {
    return loopNumberOf(lastFolderName(folder)).has_value() && holdsDescription(folder);
}

}  // namespace brenvik::loop
