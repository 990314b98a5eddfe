// The lowest free loop number in a folder, as the Preferences OK looks for it.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "FreeLoopSearch.h"
#include "TestPlatform.h"

using namespace brenvik;
using brenvik::test::TestPlatform;

class TestFreeLoopSearch : public QObject {
    Q_OBJECT
private slots:
    void pathsAreJoinedAsTheyStand_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root doubles the separator") << "/" << 1 << "//LOOP1";
        QTest::newRow("plain decimal") << "/media/card" << 12 << "/media/card/LOOP12";
        QTest::newRow("trailing separator kept") << "/media/card/" << 999 << "/media/card//LOOP999";
    }
    void pathsAreJoinedAsTheyStand() {
        QFETCH(QString, folder);
        QFETCH(int, number);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(loopFolderPath(folder.toStdString(), number)), expected);
    }

    void lowestMissingNumber_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty card") << QStringList{} << 1;
        QTest::newRow("three loops") << QStringList{"LOOP1", "LOOP2", "LOOP3"} << 4;
        QTest::newRow("gap is filled first") << QStringList{"LOOP1", "LOOP2", "LOOP4"} << 3;
        QTest::newRow("LOOP001 is not LOOP1") << QStringList{"LOOP001", "LOOP2"} << 1;
        QTest::newRow("a file is no loop folder") << QStringList{"LOOP1", "file:LOOP2"} << 2;
    }
    void lowestMissingNumber() {
        QFETCH(QStringList, present);
        QFETCH(int, expected);
        QTemporaryDir card;
        for (const QString& name : present) {
            if (name.startsWith("file:")) {
                QFile file(card.filePath(name.mid(5)));
                QVERIFY(file.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(QDir(card.path()).mkdir(name));
            }
        }
        TestPlatform platform;
        QCOMPARE(firstFreeLoop(platform, card.path().toStdString()), std::optional<int>(expected));
        // With a trailing separator the doubled one counts as one.
        QCOMPARE(firstFreeLoop(platform, card.path().toStdString() + "/"), std::optional<int>(expected));
    }

    void allNumbersTakenGivesNothing() {
        QTemporaryDir card;
        for (int n = 1; n <= 999; ++n) QVERIFY(QDir(card.path()).mkdir(QString("LOOP%1").arg(n)));
        TestPlatform platform;
        QCOMPARE(firstFreeLoop(platform, card.path().toStdString()), std::optional<int>());
    }
};

QTEST_MAIN(TestFreeLoopSearch)
#include "tst_freeloopsearch.moc"
