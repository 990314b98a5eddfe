#include "FolderHierarchy.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace brenvik {

QString cleanFolderPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

std::optional<QList<FolderListRow>> folderEntries(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable()) return std::nullopt;
    QDir dir(cleanFolderPath(path));
    if (!dir.isReadable()) return std::nullopt;

    QList<FolderListRow> chain;
    QDir walk = dir;
    for (;;) {
        const QString here = walk.absolutePath();
        chain.prepend({here, walk.isRoot() ? here : walk.dirName(), 0, true});
        if (walk.isRoot() || !walk.cdUp()) break;
    }
    for (qsizetype i = 0; i < chain.size(); ++i) chain[i].depth = static_cast<int>(i);

    const int childDepth = static_cast<int>(chain.size());
    const QFileInfoList children =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children)
        chain.push_back({child.absoluteFilePath(), child.fileName(), childDepth, false});
    return chain;
}

}  // namespace brenvik
