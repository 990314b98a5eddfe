// The folder chooser's folder list and drive list contents, without the dialog.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "DriveVolumes.h"
#include "FolderHierarchy.h"

using namespace brenvik;

class TestFolderHierarchy : public QObject {
    Q_OBJECT
private slots:
    void chainDownToTheFolderThenItsSubFolders() {
        QTemporaryDir dir;
        for (const char* sub : {"zeta", "Alpha", "beta", ".hidden"})
            QVERIFY(QDir(dir.path()).mkpath(QString("songs/") + sub));
        QVERIFY(QFile(dir.filePath("songs/take.wav")).open(QIODevice::WriteOnly));

        const QString songs = QDir(dir.filePath("songs")).absolutePath();
        const auto entries = folderEntries(songs + "/");
        QVERIFY(entries);
        // Root, each folder down to songs (open), then its three sub-folders (closed), by name.
        const int depth = int(songs.split('/', Qt::SkipEmptyParts).size());
        QCOMPARE(entries->size(), depth + 1 + 3);
        QStringList seen;
        for (qsizetype i = 0; i < entries->size(); ++i) {
            const FolderEntry& entry = (*entries)[i];
            QCOMPARE(entry.depth, int(std::min<qsizetype>(i, depth + 1)));
            QCOMPARE(entry.open, i <= depth);
            if (i == 0 || i >= depth) seen << entry.name + "=" + entry.path;
        }
        QCOMPARE(seen, (QStringList{"/=/", "songs=" + songs, "Alpha=" + songs + "/Alpha",
                                    "beta=" + songs + "/beta", "zeta=" + songs + "/zeta"}));
        QVERIFY(!folderEntries(dir.filePath("missing")));
        QVERIFY(!folderEntries(""));
    }

    void volumeOfAPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside the card") << "/media/card/LOOP1" << 1;
        QTest::newRow("the card itself") << "/media/card" << 1;
        QTest::newRow("trailing separator") << "/media/card/" << 1;
        QTest::newRow("similar name is not inside") << "/media/cardx/LOOP1" << 0;
        QTest::newRow("missing folder on root") << "/no/such/folder" << 0;
        QTest::newRow("root") << "/" << 0;
        QTest::newRow("empty") << "" << -1;
    }
    void volumeOfAPath() {
        QFETCH(QString, path);
        const QList<DriveVolume> volumes = {{"/", ""}, {"/media/card", "REPEATER"}};
        QTEST(int(volumeIndexOf(volumes, path)), "expected");
    }

    void volumesAreNamedAndTheSystemsHoldTheRoot() {
        QCOMPARE((DriveVolume{"/media/card", "REPEATER"}).displayText(), QString("/media/card [REPEATER]"));
        QCOMPARE((DriveVolume{"/", ""}).displayText(), QString("/"));
        QVERIFY(volumeIndexOf(VolumeAccess::system().list(), "/") >= 0);
    }
};

QTEST_MAIN(TestFolderHierarchy)
#include "tst_folderhierarchy.moc"
