#include <QTemporaryDir>
#include <QtTest>

#include "ByteWriter.h"
#include "TestFiles.h"
#include "WaveTempo.h"

using namespace brenvik::tempo;

class TestTempo : public QObject {
    Q_OBJECT
private slots:
    // A loop under a second long may be a single beat: a hit on it and a weak one half-way.
    void aShortLoopCanBeOneBeat() {
        const auto found = estimateFromOnsets({{0, 1}, {0.45, 0.2}}, 0.9);
        QVERIFY(found);
        QCOMPARE(found->beats, 1);
        QCOMPARE(found->beatsPerMinute, 60.0 / 0.9);
    }

    // An onset's strength is how far the level rises: a square wave of 0.2 from the start, then
    // of 0.8 half a second in (each analysed sample alternating in sign, so the level is flat).
    void anOnsetsStrengthIsTheRiseInLevel() {
        brenvik::test::ByteWriter samples;
        for (int i = 0; i < 44100; ++i)
            samples.le16((i < 22050 ? 6553 : 26214) * ((i / 8) % 2 ? -1 : 1));
        QTemporaryDir dir;
        const std::string path = dir.filePath("step.wav").toStdString();
        brenvik::test::writeFile(path, brenvik::test::wave(1, samples.bytes()));
        const auto found = findWaveOnsets(path);
        QVERIFY(found);
        QCOMPARE(found->onsets.size(), size_t{2});
        QCOMPARE(found->onsets[0].seconds, 0.0);
        QVERIFY(std::abs(found->onsets[1].seconds - 0.5) < 0.01);
        for (const auto& [onset, rise] : {std::pair{found->onsets[0], 0.2}, {found->onsets[1], 0.6}})
            QVERIFY2(std::abs(onset.strength - rise) < 0.001, qPrintable(QString::number(onset.strength)));
    }
};

QTEST_GUILESS_MAIN(TestTempo)
#include "tst_tempo.moc"
