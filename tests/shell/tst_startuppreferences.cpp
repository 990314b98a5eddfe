// Reading the four preferences at start-up: defaults, conversions, hand-edited values.
#include <QTest>

#include "AppGlobals.h"
#include "StartupPreferences.h"
#include "TestPlatform.h"

using namespace brenvik;
using brenvik::test::TestPlatform;

class TestStartupPreferences : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesTheDefaults() {
        TestPlatform platform;
        AppGlobals globals;
        globals.initLoopDir = globals.initWaveDir = "stale";
        globals.crossfadeMs = 0;
        globals.autoIncrement = 0;
        readPreferences(globals, platform);
        // "C:\" of the original platform is the root here.
        QCOMPARE(globals.initLoopDir, std::string("/"));
        QCOMPARE(globals.initWaveDir, std::string("/"));
        QCOMPARE(globals.crossfadeMs, int16_t(45));
        QCOMPARE(globals.autoIncrement, int16_t(1));
        QVERIFY(platform.settingWrites().empty());
        QVERIFY(platform.settings().empty());
    }

    void storedFoldersAreTakenAsTheyStand() {
        TestPlatform platform;
        platform.settings()["Startup/intLP"] = "/media/CARD/";
        platform.settings()["Startup/intWV"] = "";
        AppGlobals globals;
        readPreferences(globals, platform);
        QCOMPARE(globals.initLoopDir, std::string("/media/CARD/"));
        QCOMPARE(globals.initWaveDir, std::string(""));
    }

    void numbers_data() {
        QTest::addColumn<QString>("crossfade");
        QTest::addColumn<QString>("autoIncrement");
        QTest::addColumn<int>("expectedCrossfade");
        QTest::addColumn<int>("expectedAuto");
        QTest::newRow("as written") << "45" << "1" << 45 << 1;
        QTest::newRow("off and negative") << "-20" << "0" << -20 << 0;
        // Whole-number conversion rounds halves to the even neighbour.
        QTest::newRow("halves to even") << "12.5" << "0.5" << 12 << 0;
        QTest::newRow("halves up to even") << "13.5" << "1.5" << 14 << 2;
        QTest::newRow("range edges") << "32767" << "-32768" << 32767 << -32768;
        // Texts that are no 16-bit whole number fall back to the defaults.
        QTest::newRow("not a number") << "abc" << "yes" << 45 << 1;
        QTest::newRow("out of range") << "32768" << "-32769" << 45 << 1;
        QTest::newRow("empty") << "" << "" << 45 << 1;
    }
    void numbers() {
        QFETCH(QString, crossfade);
        QFETCH(QString, autoIncrement);
        QFETCH(int, expectedCrossfade);
        QFETCH(int, expectedAuto);
        TestPlatform platform;
        platform.settings()["Startup/intCF"] = crossfade.toStdString();
        platform.settings()["Startup/intAI"] = autoIncrement.toStdString();
        AppGlobals globals;
        readPreferences(globals, platform);
        QCOMPARE(int(globals.crossfadeMs), expectedCrossfade);
        QCOMPARE(int(globals.autoIncrement), expectedAuto);
        QVERIFY(platform.settingWrites().empty());
    }
};

QTEST_MAIN(TestStartupPreferences)
#include "tst_startuppreferences.moc"
