// Reading the four preferences at start-up: defaults, conversions, hand-edited values.
#include <QTest>

#include "AppGlobals.h"
#include "StartupPreferences.h"
#include "TestPlatform.h"

using namespace brenvik;

class TestStartupPreferences : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesTheDefaults() {
        test::TestPlatform platform;
        AppGlobals globals;
        globals.initLoopDir = globals.initWaveDir = "stale";
        globals.crossfadeMs = globals.autoIncrement = 0;
        readPreferences(globals, platform);
        // "C:\" of the original platform is the root here.
        QCOMPARE(globals.initLoopDir, std::string("/"));
        QCOMPARE(globals.initWaveDir, std::string("/"));
        QCOMPARE(globals.crossfadeMs, int16_t(45));
        QCOMPARE(globals.autoIncrement, int16_t(1));
        QVERIFY(platform.settingWrites().empty() && platform.settings().empty());
    }

    // Folders are taken as they stand; numbers are rounded to whole 16-bit values, halves to the
    // even neighbour, and texts that are no 16-bit whole number fall back to the defaults.
    void values_data() {
        QTest::addColumn<QString>("crossfade");
        QTest::addColumn<QString>("autoIncrement");
        QTest::addColumn<int>("expectedCrossfade");
        QTest::addColumn<int>("expectedAuto");
        QTest::newRow("as written") << "45" << "1" << 45 << 1;
        QTest::newRow("off and negative") << "-20" << "0" << -20 << 0;
        QTest::newRow("halves to even") << "12.5" << "0.5" << 12 << 0;
        QTest::newRow("halves up to even") << "13.5" << "1.5" << 14 << 2;
        QTest::newRow("range edges") << "32767" << "-32768" << 32767 << -32768;
        QTest::newRow("not a number") << "abc" << "yes" << 45 << 1;
        QTest::newRow("out of range") << "32768" << "-32769" << 45 << 1;
        QTest::newRow("empty") << "" << "" << 45 << 1;
    }
    void values() {
        QFETCH(QString, crossfade);
        QFETCH(QString, autoIncrement);
        test::TestPlatform platform;
        platform.settings() = {{"Startup/intLP", "/media/CARD/"}, {"Startup/intWV", ""},
                               {"Startup/intCF", crossfade.toStdString()},
                               {"Startup/intAI", autoIncrement.toStdString()}};
        AppGlobals globals;
        readPreferences(globals, platform);
        QCOMPARE(globals.initLoopDir, std::string("/media/CARD/"));
        QCOMPARE(globals.initWaveDir, std::string(""));
        QTEST(int(globals.crossfadeMs), "expectedCrossfade");
        QTEST(int(globals.autoIncrement), "expectedAuto");
        QVERIFY(platform.settingWrites().empty());
    }
};

QTEST_MAIN(TestStartupPreferences)
#include "tst_startuppreferences.moc"
