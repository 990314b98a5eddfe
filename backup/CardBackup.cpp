#include "CardBackup.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>

#include "BackupNames.h"
#include "BackupWriting.h"
#include "LoopFolderName.h"
#include "Messages.h"

namespace fs = std::filesystem;

namespace brenvik::backup {

namespace {

// The card's loop files by loop number; other files and links are not part of a loop.
std::map<int, std::vector<fs::path>> loopFiles(const fs::path& card) {
    std::map<int, std::vector<fs::path>> loops;
    std::error_code ec;
    for (fs::directory_iterator it(card, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<int> number = loop::loopNumberOf(it->path().filename().string());
        if (!number || it->is_symlink(ec) || !it->is_directory(ec)) continue;
        std::vector<fs::path>& files = loops[*number];
        for (fs::directory_iterator file(it->path(), ec), none; !ec && file != none; file.increment(ec))
            if (isLoopFileName(file->path().filename().string()) && !file->is_symlink(ec) &&
                file->is_regular_file(ec))
                files.push_back(file->path());
        std::sort(files.begin(), files.end());
    }
    return loops;
}

}  // namespace

CardBackupResult backUpCard(const std::string& card, const std::string& destination, Platform& platform) {
    CardBackupResult result;
    if (!platform.folderExists(card)) {
        result.message = message::destinationMissing(card);
        return result;
    }
    if (!platform.folderExists(destination)) {
        result.message = message::destinationMissing(destination);
        return result;
    }
    std::vector<BackupFile> files;
    for (const auto& [number, paths] : loopFiles(card)) {
        const std::string loopName = loop::loopFolderName(number);
        result.loops.push_back(loopName);
        for (const fs::path& path : paths) files.push_back({path.string(), loopName + "/" + path.filename().string()});
    }
    if (result.loops.empty()) {
        result.message = message::noLoopsOnCard(card);
        return result;
    }
    std::string cardName = loop::lastFolderName(fs::absolute(card).lexically_normal().string());
    if (cardName.empty()) cardName = "card";
    try {
        result.folder = writeBackup(destination, cardName, files, platform);
    } catch (const std::exception&) {
        result.loops.clear();
        result.message = message::cardBackupFailed(destination);
    }
    return result;
}

}  // namespace brenvik::backup
