#include "UdisksEject.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QStorageInfo>
#include <map>

namespace brenvik {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
// Unmounting writes out what the system still holds for the card, which on a slow card takes
// longer than D-Bus's usual 25 seconds.
constexpr int kUnmountTimeoutMs = 180000;

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = std::map<QString, Interfaces>;  // by object path

// What is written to the volume reaches the device before it is unmounted, whatever comes of that.
void syncVolumeOf(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) ::sync();
    if (fd >= 0) ::close(fd);
}

ManagedObjects managedObjectsOf(const QDBusMessage& reply) {
    ManagedObjects objects;
    if (reply.arguments().isEmpty()) return objects;
    const auto argument = reply.arguments().constFirst().value<QDBusArgument>();
    argument.beginMap();
    while (!argument.atEnd()) {
        QDBusObjectPath path;
        Interfaces interfaces;
        argument.beginMapEntry();
        argument >> path >> interfaces;
        argument.endMapEntry();
        objects[path.path()] = interfaces;
    }
    argument.endMap();
    return objects;
}

// udisks2 gives each mount point as bytes ending in a NUL.
bool mountedAt(const QVariantMap& filesystem, const QString& mountPoint) {
    for (QByteArray bytes : qdbus_cast<QList<QByteArray>>(filesystem.value(QStringLiteral("MountPoints")))) {
        if (bytes.endsWith('\0')) bytes.chop(1);
        if (QFile::decodeName(bytes) == mountPoint) return true;
    }
    return false;
}

QVariant property(const ManagedObjects& objects, const QString& path, const QString& interface, const char* name) {
    const auto object = objects.find(path);
    return object == objects.end() ? QVariant() : object->second.value(interface).value(QString::fromLatin1(name));
}

QDBusMessage call(const QString& object, const QString& interface, const QString& method, int timeoutMs = -1) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, object, interface, method);
    if (interface != QLatin1String("org.freedesktop.DBus.ObjectManager")) message << QVariantMap();  // no options
    return QDBusConnection::systemBus().call(message, QDBus::Block, timeoutMs);
}

bool failed(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ErrorMessage; }

}  // namespace

VolumeEjection ejectVolumeHolding(const std::string& folder) {
    using Result = VolumeEjection::Result;
    syncVolumeOf(folder);
    if (!QDBusConnection::systemBus().isConnected()) return {Result::NoService, {}};
    const QDBusMessage reply = call(kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                    QStringLiteral("GetManagedObjects"));
    if (failed(reply)) {
        const QDBusError::ErrorType error = QDBusError(reply).type();
        if (error == QDBusError::ServiceUnknown || error == QDBusError::Disconnected)
            return {Result::NoService, {}};
        return {Result::Failed, reply.errorMessage().toStdString()};
    }
    const ManagedObjects objects = managedObjectsOf(reply);

    // The file system udisks2 has mounted where the system says the folder's volume is.
    const QString mountPoint = QStorageInfo(QString::fromStdString(folder)).rootPath();
    QString block;
    for (const auto& [path, interfaces] : objects)
        if (interfaces.contains(kFilesystem) && mountedAt(interfaces[kFilesystem], mountPoint)) block = path;
    // Only a device the musician can take out is ejected: never the disk the system runs from.
    const QString drive = qdbus_cast<QDBusObjectPath>(property(objects, block, kBlock, "Drive")).path();
    if (block.isEmpty() || !property(objects, drive, kDrive, "Removable").toBool()) return {Result::NotRemovable, {}};

    const QDBusMessage unmounted = call(block, kFilesystem, QStringLiteral("Unmount"), kUnmountTimeoutMs);
    if (failed(unmounted)) return {Result::Failed, unmounted.errorMessage().toStdString()};
    if (!property(objects, drive, kDrive, "CanPowerOff").toBool()) return {Result::Unmounted, {}};
    const QDBusMessage poweredOff = call(drive, kDrive, QStringLiteral("PowerOff"));
    if (failed(poweredOff)) return {Result::Unmounted, poweredOff.errorMessage().toStdString()};
    return {Result::PoweredOff, {}};
}

}  // namespace brenvik
