// Without a sound server: the audio output says why Play cannot work, refuses to play, and
// nothing waits for a server that is not there. The waveform's peaks need no server: they arrive
// from the worker thread, batch after batch, into the right lanes.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "AudioPlayback.h"
#include "Messages.h"
#include "PeakLoader.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

class TestAudioUnavailable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void playSaysWhyItCannot();
    void peaksArriveIntoTheirLanes();

private:
    QTemporaryDir m_dir;
};

void TestAudioUnavailable::initTestCase() {
    // A server named by a socket that does not exist, and no server started in its place.
    qputenv("PULSE_SERVER", ("unix:" + m_dir.filePath("no-server")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    qputenv("HOME", m_dir.path().toLocal8Bit());
}

void TestAudioUnavailable::playSaysWhyItCannot() {
    const std::string path = m_dir.filePath("w.wav").toStdString();
    writeFile(path, wave(2, patternBytes(40000)));
    const audition::Preparation prepared = audition::sourceOfWave(path);
    QVERIFY(prepared.source);
    AudioPlayback playback;
    QSignalSpy playing(&playback, &AudioPlayback::playingChanged);
    QCOMPARE(playback.unavailableReason(), QString(message::kNoAudioOutput));
    QVERIFY(!playback.play(*prepared.source));
    QCOMPARE(playback.lastError(), QString(message::kNoAudioOutput));
    QVERIFY(!playback.isPlaying());
    QCOMPARE(playback.playheadFrame(), qint64{-1});
    QCOMPARE(playing.count(), 0);
}

// A left track and a right track of different lengths, each more than 1 MiB, loaded over a load
// that is still running: only the second load's peaks arrive, each track in its own lane.
void TestAudioUnavailable::peaksArriveIntoTheirLanes() {
    const std::vector<std::pair<std::string, size_t>> files{
        {"first.raw", 3000000}, {"left.raw", 2400000}, {"right.raw", 1300000}};
    std::vector<std::vector<audition::Peak>> expected;
    std::vector<audition::SampleRun> runs;
    for (const auto& [name, bytes] : files) {
        const std::string path = m_dir.filePath(QString::fromStdString(name)).toStdString();
        const auto data = patternBytes(bytes, static_cast<uint16_t>(bytes));
        writeFile(path, data);
        const auto frames = static_cast<int64_t>(bytes / 2);
        runs.push_back({path, 0, frames, 1});
        expected.emplace_back(static_cast<size_t>(audition::peakBlocks(frames)));
        audition::peaksOfSamples(reinterpret_cast<const int16_t*>(data.data()), frames, 1,
                                 expected.back().data());
    }
    PeakLoader loader;
    QSignalSpy loaded(&loader, &PeakLoader::loaded);
    QSignalSpy arrived(&loader, &PeakLoader::peaksArrived);
    loader.load({runs[0]});
    loader.load({runs[1], runs[2]});
    QVERIFY(loaded.wait(20000));
    QCOMPARE(loader.lanes().size(), size_t{2});
    QCOMPARE(loader.lanes()[0], expected[1]);
    QCOMPARE(loader.lanes()[1], expected[2]);
    QCOMPARE(loader.frames(), int64_t{1200000});
    // Two clears, then one batch per megabyte read: drawn as they come, none of the first load.
    QCOMPARE(arrived.count(), 2 + 3 + 2);
    QCOMPARE(loaded.count(), 1);
}

QTEST_GUILESS_MAIN(TestAudioUnavailable)
#include "tst_audiounavailable.moc"
