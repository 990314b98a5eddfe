#pragma once
// The drives of the folder chooser: on a machine without drive letters, one entry per mounted
// volume, named by its mount point. A volume that cannot be read (a card reader without a card,
// a vanished network share) is "not ready".
#include <QList>
#include <QString>
#include <functional>

namespace brenvik {

struct DriveVolume {
    QString rootPath;  // the mount point, "/" for the system volume
    QString label;     // the volume's name, empty when it has none

    QString displayText() const;
};

struct VolumeAccess {
    std::function<QList<DriveVolume>()> list;
    std::function<bool(const QString& rootPath)> ready;

    // The machine's mounted volumes, sorted by mount point.
    static VolumeAccess system();
};

// The volume that holds a path: the one whose mount point is the longest leading part of the
// cleaned absolute path. -1 when none does. The path itself need not exist.
qsizetype volumeIndexOf(const QList<DriveVolume>& volumes, const QString& path);

}  // namespace brenvik
