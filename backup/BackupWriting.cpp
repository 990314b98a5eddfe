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

void writeText(const std::string& path, const std::string& text) {
    FileSink file(path);
    file.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    file.sync();
    file.close();
}

}  // namespace

NewBackup::NewBackup(const std::string& parent, const std::string& prefix, Files& files)
    : m_files(files), m_made(utcStamp(std::time(nullptr))) {
    files.createFolders(parent);
    const std::string base = prefix + "-" + m_made;
    for (int k = 1; k < 1000 && m_folder.empty(); ++k) {
        const std::string folder = Files::joinPath(parent, k == 1 ? base : base + "-" + std::to_string(k));
        if (files.entryExists(folder)) continue;
        files.createFolder(folder);
        m_folder = folder;
    }
    if (m_folder.empty()) throw RoutineError("no free backup name for " + base + " in " + parent);
    try {
        m_lock = FolderLock::take(m_folder, FolderLock::Mode::Exclusive, {});
    } catch (const std::exception&) {
        files.deleteFolder(m_folder);
        throw;
    }
}

NewBackup::~NewBackup() {
    if (m_finished) return;
    try {
        m_files.deleteFolder(m_folder);
    } catch (const std::exception&) {
        // What cannot be removed now has no manifest and goes at the store's next use.
    }
}

void NewBackup::finish(const std::vector<BackupFile>& copies, const BackupOrigin& origin) {
    Manifest manifest;
    std::set<std::string> subfolders;
    for (const BackupFile& copy : copies) {
        const std::string to = Files::joinPath(m_folder, copy.name);
        if (subfolders.insert(Files::parentOf(to)).second) m_files.createFolders(Files::parentOf(to));
        FileSource from(copy.source, FileSource::Links::Refuse);
        manifest.push_back({copyWithDigest(from, to), copy.name});
    }
    writeText(Files::joinPath(m_folder, kOriginName), formatOrigin(origin));
    const std::string unchecked = Files::joinPath(m_folder, std::string(kManifestName) + ".part");
    writeText(unchecked, formatManifest(manifest));
    for (const std::string& subfolder : subfolders) m_files.syncFolder(subfolder);
    m_files.syncFolder(m_folder);
    m_files.syncFolder(Files::parentOf(m_folder));
    // Read back: the copies on the device are the bytes the manifest names.
    for (const ManifestEntry& entry : manifest)
        if (digestOf(Files::joinPath(m_folder, entry.name)) != entry.digest)
            throw RoutineError("the copy of " + entry.name + " read back different from the original");
    m_files.renameEntry(unchecked, Files::joinPath(m_folder, kManifestName));
    m_files.syncFolder(m_folder);
    m_finished = true;
    m_lock.reset();
}

}  // namespace brenvik::backup
