#include "CardWatcher.h"

#include <sys/stat.h>

#include <QStringList>

namespace brenvik {

namespace {

// What tells one folder from another at the same name: inotify watches a folder, not its name, so a
// folder renamed away (one of two loops swapped) goes on being watched under the name it had.
// A rename, a folder made anew in its place, or a change inside it moves the ctime.
std::optional<CardWatcher::FolderIdentity> identityOf(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return CardWatcher::FolderIdentity{st.st_dev, st.st_ino, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
}

}  // namespace

CardWatcher::CardWatcher(QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    const auto restart = [this] { m_quiet.start(); };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, restart);
    connect(&m_quiet, &QTimer::timeout, this, &CardWatcher::changed);
}

void CardWatcher::watch(const std::string& card, const std::vector<std::string>& loopFolders) {
    // A card of 999 loops is watched again after every change: only the folders that are new, gone
    // or no longer the one watched under their name are taken off and put on again.
    std::map<std::string, FolderIdentity> wanted;
    const auto want = [&wanted](const std::string& folder) {
        // A folder that is gone (a pulled card) cannot be watched; the others still are.
        if (const std::optional<FolderIdentity> identity = identityOf(folder)) wanted.emplace(folder, *identity);
    };
    want(card);
    for (const std::string& folder : loopFolders) want(folder);

    const QStringList watching = m_watcher.directories();
    QStringList off, on;
    for (const auto& [folder, identity] : m_watched) {
        const auto still = wanted.find(folder);
        if (still == wanted.end() || still->second != identity ||
            !watching.contains(QString::fromStdString(folder)))
            off << QString::fromStdString(folder);
    }
    if (!off.isEmpty()) m_watcher.removePaths(off);  // before the adds: a renamed folder keeps its watch
    for (const QString& folder : off) m_watched.erase(folder.toStdString());
    for (const auto& [folder, identity] : wanted)
        if (!m_watched.count(folder)) on << QString::fromStdString(folder);
    if (!on.isEmpty()) {
        const QStringList failed = m_watcher.addPaths(on);
        for (const QString& folder : on)
            if (!failed.contains(folder)) m_watched[folder.toStdString()] = wanted.at(folder.toStdString());
    }
}

}  // namespace brenvik
