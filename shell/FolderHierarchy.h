#pragma once
// What the folder chooser's folder list shows for a current folder: the folders from the root
// down to it (open), then its sub-folders (closed), each indented by its depth.
#include <QList>
#include <QString>
#include <optional>

namespace brenvik {

struct FolderListRow {
    QString path;
    QString name;
    int depth = 0;
    bool open = false;  // the current folder or one above it
};

// The cleaned absolute form of a folder path, as the folder list reports it.
QString cleanFolderPath(const QString& path);

// Nothing when the folder does not exist or cannot be read. Hidden folders are left out and
// sub-folders are sorted by name, case-insensitively.
std::optional<QList<FolderListRow>> folderEntries(const QString& path);

}  // namespace brenvik
