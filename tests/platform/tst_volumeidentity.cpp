// Which volume a card folder lies on, read from a mount table and udev's device names written into
// a temporary folder: the folder's own device is looked up there by its numbers.
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "VolumeIdentity.h"

using namespace brenvik;
namespace fs = std::filesystem;

class TestVolumeIdentity : public QObject {
    Q_OBJECT

private slots:
    // Of the mounts of the folder's device, the nearest one that holds the folder; its label and
    // UUID are the names leading to its device, with the table's and udev's escapes undone.
    void readsTheNearestMount_data() {
        QTest::addColumn<QStringList>("mounts");  // mount point below the temporary folder, device source
        QTest::addColumn<QString>("mountPoint");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("uuid");
        QTest::newRow("a card") << QStringList{"/my\\040card", "dev/sdb1"} << "/my card" << "MY CARD [2]" << "1234-ABCD";
        QTest::newRow("nearest of two") << QStringList{"/my\\040card", "dev/sdb1", "", "dev/sda1", "/my\\040card/LOOP1x", "dev/sda1"}
                                        << "/my card" << "MY CARD [2]" << "1234-ABCD";
        QTest::newRow("no device") << QStringList{"/my\\040card", "tmpfs"} << "/my card" << "" << "";
        QTest::newRow("other device only") << QStringList{} << "" << "" << "";
    }
    void readsTheNearestMount() {
        QFETCH(QStringList, mounts);
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString();
        fs::create_directories(root + "/my card/LOOP1");
        fs::create_directories(root + "/disk/by-label");
        fs::create_directories(root + "/disk/by-uuid");
        fs::create_directories(root + "/dev");
        for (const char* device : {"/dev/sda1", "/dev/sdb1"}) test::writeFile(root + device, {});
        fs::create_symlink(root + "/dev/sdb1", root + "/disk/by-label/MY\\x20CARD\\x20\\x5b2\\x5d");
        fs::create_symlink(root + "/dev/sda1", root + "/disk/by-label/SYSTEM");
        fs::create_symlink(root + "/dev/sdb1", root + "/disk/by-uuid/1234-ABCD");

        struct stat st {};
        QCOMPARE(::stat((root + "/my card").c_str(), &st), 0);
        const std::string device = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
        std::ofstream table(root + "/mountinfo");
        table << "20 1 " << major(st.st_dev) + 1 << ":0 / " << root << "/my\\040card rw - vfat /dev/sdc1 rw\n";
        for (int i = 0; i + 1 < mounts.size(); i += 2) {
            const std::string source = mounts[i + 1].startsWith("dev/") ? root + "/" + mounts[i + 1].toStdString()
                                                                        : mounts[i + 1].toStdString();
            table << 30 + i << " 1 " << device << " / " << root << mounts[i].toStdString() << " rw shared:1 - vfat "
                  << source << " rw\n";
        }
        table.close();

        const VolumeIdentity volume = volumeIdentity(root + "/my card/LOOP1", root + "/mountinfo", root + "/disk");
        QFETCH(QString, mountPoint);
        QCOMPARE(QString::fromStdString(volume.mountPoint), mountPoint.isEmpty() ? "" : dir.path() + mountPoint);
        QTEST(QString::fromStdString(volume.label), "label");
        QTEST(QString::fromStdString(volume.uuid), "uuid");
    }
};

QTEST_GUILESS_MAIN(TestVolumeIdentity)
#include "tst_volumeidentity.moc"
