// The lowest free loop number in a folder, as the Preferences OK looks for it.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "FreeLoopSearch.h"
#include "TestPlatform.h"

using namespace brenvik;

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
        QTEST(QString::fromStdString(loopFolderPath(folder.toStdString(), number)), "expected");
    }

    // "all" is LOOP1 to LOOP999, which leaves no number; "file:" makes a file, not a folder.
    void lowestMissingNumber_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<std::optional<int>>("expected");
        QTest::newRow("empty card") << QStringList{} << std::optional<int>(1);
        QTest::newRow("three loops") << QStringList{"LOOP1", "LOOP2", "LOOP3"} << std::optional<int>(4);
        QTest::newRow("gap is filled first") << QStringList{"LOOP1", "LOOP2", "LOOP4"} << std::optional<int>(3);
        QTest::newRow("LOOP001 is not LOOP1") << QStringList{"LOOP001", "LOOP2"} << std::optional<int>(1);
        QTest::newRow("a file is no loop folder") << QStringList{"LOOP1", "file:LOOP2"} << std::optional<int>(2);
        QTest::newRow("all numbers taken") << QStringList{"all"} << std::optional<int>();
    }
    void lowestMissingNumber() {
        QFETCH(QStringList, present);
        QTemporaryDir card;
        if (present == QStringList{"all"})
            for (int n = 1; n <= 999; ++n) present << QString("LOOP%1").arg(n);
        for (const QString& name : present) {
            if (name.startsWith("file:")) QVERIFY(QFile(card.filePath(name.mid(5))).open(QIODevice::WriteOnly));
            else QVERIFY(name == "all" || QDir(card.path()).mkdir(name));
        }
        test::TestPlatform platform;
        QTEST(firstFreeLoop(platform, card.path().toStdString()), "expected");
        // With a trailing separator the doubled one counts as one.
        QTEST(firstFreeLoop(platform, card.path().toStdString() + "/"), "expected");
    }
};

QTEST_MAIN(TestFreeLoopSearch)
#include "tst_freeloopsearch.moc"
