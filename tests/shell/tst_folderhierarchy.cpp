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
        QVERIFY(QDir(dir.path()).mkpath("songs/zeta"));
        QVERIFY(QDir(dir.path()).mkpath("songs/Alpha"));
        QVERIFY(QDir(dir.path()).mkpath("songs/beta"));
        QVERIFY(QDir(dir.path()).mkpath("songs/.hidden"));
        QFile file(dir.filePath("songs/take.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const QString songs = QDir(dir.filePath("songs")).absolutePath();
        const auto entries = folderEntries(songs + "/");
        QVERIFY(entries);
        const QStringList parts = songs.split('/', Qt::SkipEmptyParts);
        // Root, each folder down to songs, then three sub-folders.
        QCOMPARE(entries->size(), parts.size() + 1 + 3);
        QCOMPARE(entries->front().path, QString("/"));
        QCOMPARE(entries->front().depth, 0);
        QVERIFY(entries->front().open);
        const FolderEntry& current = (*entries)[parts.size()];
        QCOMPARE(current.path, songs);
        QCOMPARE(current.name, QString("songs"));
        QCOMPARE(current.depth, int(parts.size()));
        QVERIFY(current.open);
        QStringList children;
        for (qsizetype i = parts.size() + 1; i < entries->size(); ++i) {
            QVERIFY(!(*entries)[i].open);
            QCOMPARE((*entries)[i].depth, int(parts.size()) + 1);
            children << (*entries)[i].name;
        }
        QCOMPARE(children, (QStringList{"Alpha", "beta", "zeta"}));
    }

    void missingFolderGivesNothing() {
        QTemporaryDir dir;
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
        QFETCH(int, expected);
        const QList<DriveVolume> volumes = {{"/", ""}, {"/media/card", "REPEATER"}};
        QCOMPARE(int(volumeIndexOf(volumes, path)), expected);
    }

    void volumeTextShowsTheLabel() {
        QCOMPARE((DriveVolume{"/media/card", "REPEATER"}).displayText(), QString("/media/card [REPEATER]"));
        QCOMPARE((DriveVolume{"/", ""}).displayText(), QString("/"));
    }

    void systemVolumesHoldTheRoot() {
        const QList<DriveVolume> volumes = VolumeAccess::system().list();
        QVERIFY(volumeIndexOf(volumes, "/") >= 0);
    }
};

QTEST_MAIN(TestFolderHierarchy)
#include "tst_folderhierarchy.moc"
