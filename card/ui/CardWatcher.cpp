#include "CardWatcher.h"

#include <QFileInfo>
#include <QStringList>

namespace brenvik {

CardWatcher::CardWatcher(QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    const auto restart = [this] { m_quiet.start(); };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, restart);
    connect(&m_quiet, &QTimer::timeout, this, &CardWatcher::changed);
}

void CardWatcher::watch(const std::string& card, const std::vector<std::string>& loopFolders) {
    if (const QStringList watched = m_watcher.directories(); !watched.isEmpty()) m_watcher.removePaths(watched);
    QStringList folders;
    // A folder that is gone (a pulled card) cannot be watched; the others still are.
    const auto add = [&folders](const std::string& folder) {
        const QString path = QString::fromStdString(folder);
        if (QFileInfo(path).isDir()) folders << path;
    };
    add(card);
    for (const std::string& folder : loopFolders) add(folder);
    if (!folders.isEmpty()) m_watcher.addPaths(folders);
}

}  // namespace brenvik
