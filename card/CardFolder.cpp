#include "CardFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik::card {

std::optional<int> loopNumberOf(const std::string& name) {
    constexpr std::string_view prefix = "LOOP";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 3 ||
        name.compare(0, prefix.size(), prefix) != 0 || name[prefix.size()] == '0')
        return std::nullopt;
    int number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        number = number * 10 + (name[i] - '0');
    }
    return number;  // 1 to 999: at most three digits, no leading zero
}

std::vector<LoopFolder> loopFoldersIn(const std::string& card) {
    std::error_code ec;
    fs::directory_iterator it(card, ec);
    if (ec) throw RoutineError("cannot read the card folder");
    std::vector<LoopFolder> loops;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) throw RoutineError("cannot read the card folder");
        const std::optional<int> number = loopNumberOf(it->path().filename().string());
        std::error_code typeError;
        if (number && it->is_directory(typeError)) loops.push_back({*number, it->path().string()});
    }
    std::sort(loops.begin(), loops.end(),
              [](const LoopFolder& a, const LoopFolder& b) { return a.number < b.number; });
    return loops;
}

bool isLoopFolderPath(const std::string& path) {
    fs::path p(path);
    if (!p.has_filename()) p = p.parent_path();  // "card/LOOP7/" names LOOP7 too
    return loopNumberOf(p.filename().string()).has_value();
}

}  // namespace brenvik::card
