#include <QTest>

#include "LoopDescription.h"
#include "LoopLayout.h"

using namespace brenvik::loop;

class TestLoopDescription : public QObject {
    Q_OBJECT
private slots:
    void monoMillionBytes();
};

// A mono source of 1,000,000 data bytes on track 1.
void TestLoopDescription::monoMillionBytes() {
    LoopValues v;
    v.trackSectors = trackSectors(1000000, false);
    v.loopSectors = loopSectors(1000000);
    v.clusters = clusterCount(v.loopSectors);
    v.tempoCode = tempoCode(120.0f);
    v.bars = 1;
    v.beats = 1;
    v.division = 4;
    v.tracks[0].chosen = true;
    const Description d = buildDescription(v);
    QCOMPARE(v.trackSectors, 1953);
    QCOMPARE(v.clusters, 62);
    QCOMPARE(v.tempoCode, 491590);
    QCOMPARE(d[0x036], 0xA0);
    QCOMPARE(d[0x037], 0x07);
    for (int i = 0; i < 7; ++i) QCOMPARE(d[0x06C + i], 0xFF);
    QCOMPARE(d[0x06C + 7], 0x3F);
    QVERIFY(verifyCheckTriples(d).triple1);
    QVERIFY(verifyCheckTriples(d).triple2);
}

QTEST_APPLESS_MAIN(TestLoopDescription)
#include "tst_loopdescription.moc"
