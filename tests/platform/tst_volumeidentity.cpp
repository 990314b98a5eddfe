// Which volume a folder lies on, read from a mount table and udev's device links made for the
// test: the mount nearest the folder, and the label and UUID with their escapes undone.
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "VolumeIdentity.h"

namespace fs = std::filesystem;

class TestVolumeIdentity : public QObject {
    Q_OBJECT

private slots:
    void labelAndUuid() {
        QTemporaryDir dir;
        const fs::path root = fs::canonical(dir.path().toStdString());
        fs::create_directories(root / "my card" / "LOOP1");
        fs::create_directories(root / "disk" / "by-label");
        fs::create_directories(root / "disk" / "by-uuid");
        std::ofstream(root / "sdb1").close();  // the device
        fs::create_symlink(root / "sdb1", root / "disk" / "by-label" / "MY\\x20CARD");
        fs::create_symlink(root / "sdb1", root / "disk" / "by-uuid" / "1234-ABCD");
        struct stat st {};
        QCOMPARE(::stat(root.c_str(), &st), 0);
        const std::string device = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
        std::string escaped = (root / "my card").string();
        escaped.replace(escaped.find(' '), 1, "\\040");
        // A mount further up, then the card's own, then one of another device.
        std::ofstream(root / "mountinfo") << "1 0 " << device << " / / rw - ext4 /dev/other rw\n"
                                          << "2 1 " << device << " / " << escaped << " rw - vfat "
                                          << (root / "sdb1").string() << " rw\n"
                                          << "3 1 0:99 / " << escaped << "/LOOP1 rw - tmpfs none rw\n";
        const brenvik::VolumeIdentity volume = brenvik::volumeIdentity(
            (root / "my card" / "LOOP1").string(), (root / "mountinfo").string(), (root / "disk").string());
        QCOMPARE(volume.mountPoint, (root / "my card").string());
        QCOMPARE(volume.label, std::string("MY CARD"));
        QCOMPARE(volume.uuid, std::string("1234-ABCD"));
    }
};

QTEST_GUILESS_MAIN(TestVolumeIdentity)
#include "tst_volumeidentity.moc"
