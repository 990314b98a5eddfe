#include "DriveVolumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace brenvik {

QString DriveVolume::displayText() const {
    return label.isEmpty() ? rootPath : QStringLiteral("%1 [%2]").arg(rootPath, label);
}

VolumeAccess VolumeAccess::system() {
    VolumeAccess access;
    access.list = [] {
        QList<DriveVolume> volumes;
        for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
            // Single files mounted into a container (hosts, resolv.conf) are no drives.
            if (!storage.isValid() || !QFileInfo(storage.rootPath()).isDir()) continue;
            volumes.push_back({storage.rootPath(), storage.name()});
        }
        std::sort(volumes.begin(), volumes.end(), [](const DriveVolume& a, const DriveVolume& b) {
            return a.rootPath < b.rootPath;
        });
        volumes.erase(std::unique(volumes.begin(), volumes.end(),
                                  [](const DriveVolume& a, const DriveVolume& b) {
                                      return a.rootPath == b.rootPath;
                                  }),
                      volumes.end());
        return volumes;
    };
    access.ready = [](const QString& rootPath) {
        const QStorageInfo storage(rootPath);
        return storage.isValid() && storage.isReady() && QFileInfo(rootPath).isReadable();
    };
    return access;
}

qsizetype volumeIndexOf(const QList<DriveVolume>& volumes, const QString& path) {
    if (path.isEmpty()) return -1;
    const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    qsizetype best = -1;
    qsizetype bestLength = -1;
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        const QString root = QDir::cleanPath(volumes[i].rootPath);
        const bool holds =
            cleaned == root ||
            (cleaned.startsWith(root) &&
             (root.endsWith(QLatin1Char('/')) || cleaned.at(root.size()) == QLatin1Char('/')));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace brenvik
