#include "BackupWriting.h"

#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "BackupNames.h"
#include "ByteSource.h"
#include "HashedCopy.h"
#include "Manifest.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik::backup {

namespace {

fs::path newFolder(const fs::path& parent, const std::string& prefix) {
    std::error_code ec;
    fs::create_directories(parent, ec);
    if (ec) throw RoutineError::ofSystem("cannot create the folder", parent.string(), ec);
    const std::string base = prefix + "-" + utcStamp(std::time(nullptr));
    for (int k = 1; k < 1000; ++k) {
        const fs::path folder = parent / (k == 1 ? base : base + "-" + std::to_string(k));
        if (fs::create_directory(folder, ec)) return folder;
        if (ec) throw RoutineError::ofSystem("cannot create the folder", folder.string(), ec);
    }
    throw RoutineError("no free backup name for " + base + " in " + parent.string());
}

std::string write(const fs::path& folder, const std::vector<BackupFile>& files, Platform& platform) {
    Manifest manifest;
    std::set<fs::path> subfolders;
    for (const BackupFile& file : files) {
        const fs::path to = folder / file.name;
        if (subfolders.insert(to.parent_path()).second) fs::create_directories(to.parent_path());
        manifest.push_back({copyWithDigest(file.source, to.string()), file.name});
    }
    const std::string text = formatManifest(manifest);
    FileSink manifestFile((folder / kManifestName).string());
    manifestFile.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    manifestFile.sync();
    manifestFile.close();
    for (const fs::path& subfolder : subfolders) platform.syncFolder(subfolder.string());
    platform.syncFolder(folder.string());
    platform.syncFolder(folder.parent_path().string());
    // Read back: the copies on the device are the bytes the manifest names.
    for (const ManifestEntry& entry : manifest)
        if (digestOf((folder / entry.name).string()) != entry.digest)
            throw RoutineError("the copy of " + entry.name + " read back different from the original");
    return folder.string();
}

}  // namespace

std::string writeBackup(const std::string& parent, const std::string& prefix,
                        const std::vector<BackupFile>& files, Platform& platform) {
    const fs::path folder = newFolder(parent, prefix);
    try {
        return write(folder, files, platform);
    } catch (const std::exception&) {
        std::error_code ec;
        fs::remove_all(folder, ec);
        throw;
    }
}

}  // namespace brenvik::backup
