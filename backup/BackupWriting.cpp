#include "BackupWriting.h"

#include <ctime>
#include <exception>
#include <set>

#include "BackupNames.h"
#include "ByteSource.h"
#include "HashedCopy.h"
#include "Manifest.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

std::string newFolder(const std::string& parent, const std::string& prefix, Files& files) {
    files.createFolders(parent);
    const std::string base = prefix + "-" + utcStamp(std::time(nullptr));
    for (int k = 1; k < 1000; ++k) {
        const std::string folder =
            Files::joinPath(parent, k == 1 ? base : base + "-" + std::to_string(k));
        if (files.entryExists(folder)) continue;
        files.createFolder(folder);
        return folder;
    }
    throw RoutineError("no free backup name for " + base + " in " + parent);
}

std::string write(const std::string& folder, const std::vector<BackupFile>& copies, Files& files) {
    Manifest manifest;
    std::set<std::string> subfolders;
    for (const BackupFile& copy : copies) {
        const std::string to = Files::joinPath(folder, copy.name);
        if (subfolders.insert(Files::parentOf(to)).second) files.createFolders(Files::parentOf(to));
        manifest.push_back({copyWithDigest(copy.source, to), copy.name});
    }
    const std::string text = formatManifest(manifest);
    FileSink manifestFile(Files::joinPath(folder, kManifestName));
    manifestFile.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    manifestFile.sync();
    manifestFile.close();
    for (const std::string& subfolder : subfolders) files.syncFolder(subfolder);
    files.syncFolder(folder);
    files.syncFolder(Files::parentOf(folder));
    // Read back: the copies on the device are the bytes the manifest names.
    for (const ManifestEntry& entry : manifest)
        if (digestOf(Files::joinPath(folder, entry.name)) != entry.digest)
            throw RoutineError("the copy of " + entry.name +
                               " read back different from the original");
    return folder;
}

}  // namespace

std::string writeBackup(const std::string& parent, const std::string& prefix,
                        const std::vector<BackupFile>& copies, Files& files) {
    const std::string folder = newFolder(parent, prefix, files);
    try {
        return write(folder, copies, files);
    } catch (const std::exception&) {
        try {
            files.deleteFolder(folder);
        } catch (const std::exception&) {
            // what cannot be removed stays; the failure to tell is the one that came first
        }
        throw;
    }
}

}  // namespace brenvik::backup
