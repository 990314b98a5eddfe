#include "CardFolder.h"

#include <algorithm>
#include <exception>
#include <map>

#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

// Every entry of the card named as a loop, by number and, of one number, by name.
std::map<int, std::vector<FolderEntry>> entriesByNumber(const Files& files, const std::string& card) {
    std::map<int, std::vector<FolderEntry>> byNumber;
    for (FolderEntry& entry : files.listFolder(card))
        if (const std::optional<int> number = loop::loopNumberOf(entry.name))
            byNumber[*number].push_back(std::move(entry));
    return byNumber;
}

bool isLoopFolder(const FolderEntry& entry) { return entry.isLink || entry.kind == FolderEntry::Kind::Folder; }

std::vector<std::string> namesBeside(const std::vector<FolderEntry>& entries, const std::string& name) {
    std::vector<std::string> others;
    for (const FolderEntry& entry : entries)
        if (entry.name != name) others.push_back(entry.name);
    return others;
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::vector<LoopFolder> loopFoldersIn(const Files& files, const std::string& card) {
    std::vector<LoopFolder> loops;
    for (const auto& [number, entries] : entriesByNumber(files, card))
        for (const FolderEntry& entry : entries)
            if (isLoopFolder(entry))
                loops.push_back({number, entry.path, entry.isLink, namesBeside(entries, entry.name), entry});
    return loops;
}

std::vector<std::string> loopFoldersNamed(const Files& files, const std::string& card, int number) {
    std::vector<std::string> named;
    for (const FolderEntry& entry : files.listFolder(card))
        if (loop::loopNumberOf(entry.name) == number) named.push_back(entry.path);
    return named;
}

std::optional<std::string> loopFolderHolding(const Files& files, const std::string& card, int number) {
    const std::vector<std::string> named = loopFoldersNamed(files, card, number);
    if (named.size() > 1) {
        std::vector<std::string> others;
        for (size_t k = 1; k < named.size(); ++k) others.push_back(loop::lastFolderName(named[k]));
        throw RoutineError(named.front() + ": " + message::oneNameOnCard(others) + ": " + message::kOneNameAdvice);
    }
    if (named.empty()) return std::nullopt;
    return named.front();
}

std::optional<int> lowestFreeLoop(const Files& files, const std::string& card, const std::set<int>& taken) {
    std::set<int> held = taken;
    try {
        for (const LoopFolder& folder : loopFoldersIn(files, card)) held.insert(folder.number);
    } catch (const std::exception&) {
        // A card that cannot be read holds no loops; writing there says why it cannot.
    }
    for (int n = loop::kLowestLoop; n <= loop::kHighestLoop; ++n)
        if (!held.count(n)) return n;
    return std::nullopt;
}

bool isOneLoop(const std::string& path) {
    return loop::loopNumberOf(loop::lastFolderName(path)) || loop::holdsDescription(path);
}

std::vector<LoopFolder> loopFoldersOf(const Files& files, const std::string& path) {
    if (!isOneLoop(path)) return loopFoldersIn(files, path);
    const std::string folder = withoutTrailingSeparators(path);
    LoopFolder one{loop::loopNumberOf(loop::lastFolderName(folder)).value_or(0), path, files.isLink(folder), {}, {}};
    if (one.number == 0) return {one};
    try {
        const std::string name = loop::lastFolderName(folder);
        const std::string card = Files::parentOf(folder);
        for (const std::string& other : loopFoldersNamed(files, card.empty() ? "." : card, one.number))
            if (loop::lastFolderName(other) != name) one.twins.push_back(loop::lastFolderName(other));
    } catch (const std::exception&) {
        // A loop whose card cannot be listed is checked by itself.
    }
    return {one};
}

std::vector<LoopFolderEntries> readLoopFolders(const Files& files, const std::string& card) {
    std::vector<LoopFolderEntries> read;
    for (LoopFolder& folder : loopFoldersIn(files, card)) {
        LoopFolderEntries loop{std::move(folder), {}, {}};
        try {
            loop.entries = files.listFolder(loop.folder.path);
        } catch (const std::exception&) {
            loop.unreadable = caughtReason();
        }
        read.push_back(std::move(loop));
    }
    return read;
}

}  // namespace brenvik::card
