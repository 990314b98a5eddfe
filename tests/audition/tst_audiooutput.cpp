// Real audio out: a PulseAudio server of the test's own, with a null sink in place of a sound
// card, plays a loop of noise through brenvik-cli play and the program's audio output while the
// sink's monitor is recorded; the recording must be the loop, sample for sample, pass after pass.
#include <QAudioDevice>
#include <QAudioSource>
#include <QDir>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <csignal>
#include <functional>
#include <utility>

#include "AudioPlayback.h"
#include "ByteOrder.h"
#include "LoopFixture.h"
#include "Messages.h"
#include "PlaySource.h"
#include "SoundServer.h"
#include "TestChildren.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

constexpr int kLoopSectors = 80;  // 20480 frames, under half a second
const char* kCapture = "ci_capture";

}  // namespace

class TestAudioOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (const QString why = m_server.start(); !why.isEmpty()) QSKIP(qPrintable(why));
    }
    void theCommandPlaysTheLoopSampleForSample_data();
    void theCommandPlaysTheLoopSampleForSample();
    void theCommandEndsCleanlyEveryTime();
    void playbackFollowsTheLoopThenStops_data();
    void playbackFollowsTheLoopThenStops();  // last: its last row stops the sound server

private:
    std::string makeNoiseLoop(std::vector<std::vector<uint8_t>>& tracks, int sectors = kLoopSectors);
    void recordAndCompare(const std::vector<std::vector<uint8_t>>& tracks, int64_t frames, int passes,
                          const std::function<void()>& play, const std::function<bool()>& ended);
    SoundServer m_server;
    QTemporaryDir m_dir;
    int m_loops = 0;
};

// A stereo loop of noise in the test's card folder: its folder, its two tracks' samples.
std::string TestAudioOutput::makeNoiseLoop(std::vector<std::vector<uint8_t>>& tracks, int sectors) {
    const std::string folder = makeCardLoop(m_dir.path().toStdString(), ++m_loops, {1, 2}, sectors);
    for (int k : {1, 2}) {
        tracks.push_back(noiseBytes(512 * static_cast<size_t>(sectors), static_cast<uint32_t>(k)));
        writeFile(folder + "/track" + std::to_string(k) + ".wav", expectedTrack(tracks.back()));
    }
    return folder;
}

// Records the null sink while `play` starts the loop, until `passes` passes have been heard (or
// `ended` says playing is over). The first sound is the loop's phase: its first frame, as Play
// starts the loop from the top. From there on every frame recorded must be the loop's, pass
// after pass, the silence after the last pass aside.
void TestAudioOutput::recordAndCompare(const std::vector<std::vector<uint8_t>>& tracks, int64_t frames,
                                       int passes, const std::function<void()>& play,
                                       const std::function<bool()>& ended) {
    QAudioDevice captureDevice;
    for (const QAudioDevice& device : QMediaDevices::audioInputs())
        if (device.id() == kCapture) captureDevice = device;
    QVERIFY2(!captureDevice.isNull(), "the null sink's capture source is not listed");
    QAudioSource capture(captureDevice, AudioPlayback::format());
    QIODevice* recorder = capture.start();
    QVERIFY(recorder);
    QByteArray recording;
    connect(recorder, &QIODevice::readyRead, this, [&] { recording += recorder->readAll(); });

    const auto firstSound = [&]() -> int64_t {
        for (qsizetype f = 0; f + 4 <= recording.size(); f += 4)
            if (readLe32(reinterpret_cast<const uint8_t*>(recording.constData() + f)) != 0)
                return f / 4;
        return -1;
    };
    // The capture runs before the first sound: what it records first is silence.
    QTRY_VERIFY_WITH_TIMEOUT(recording.size() >= 4 * 4410, 10000);
    QCOMPARE(firstSound(), int64_t{-1});
    play();
    QTRY_VERIFY_WITH_TIMEOUT(firstSound() >= 0 && recording.size() / 4 - firstSound() >= passes * frames, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(ended(), 20000);
    capture.stop();

    const int64_t start = firstSound();
    const auto* heard = reinterpret_cast<const uint8_t*>(recording.constData()) + 4 * start;
    const int64_t recorded = std::min<int64_t>(recording.size() / 4 - start, passes * frames);
    for (int64_t f = 0; f < recorded; ++f) {
        for (size_t c = 0; c < 2; ++c) {
            if (readLe16(heard + 4 * f + 2 * c) != readLe16(&tracks[c][2 * static_cast<size_t>(f % frames)]))
                QFAIL(qPrintable(QString("recorded frame %1 (pass %2, frame %3), channel %4 differs")
                                     .arg(f)
                                     .arg(f / frames)
                                     .arg(f % frames)
                                     .arg(c)));
        }
    }
}

void TestAudioOutput::theCommandPlaysTheLoopSampleForSample_data() {
    QTest::addColumn<QString>("times");
    QTest::addColumn<bool>("ctrlC");  // pressed once the passes compared have been heard
    QTest::addColumn<int>("status");
    QTest::newRow("three passes, then it ends") << "3" << false << 0;
    QTest::newRow("Ctrl+C stops it") << "10000" << true << 130;
}

// The built brenvik-cli play, which hands the command to its companion: the passes heard
// exactly, then it ends by itself, or on Ctrl+C, with its exit status.
void TestAudioOutput::theCommandPlaysTheLoopSampleForSample() {
    QFETCH(QString, times);
    QFETCH(bool, ctrlC);
    QFETCH(int, status);
    std::vector<std::vector<uint8_t>> tracks;
    const std::string folder = makeNoiseLoop(tracks);
    const int64_t frames = static_cast<int64_t>(tracks[0].size() / 2);
    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedChannels);
    tieToTest(cli);
    recordAndCompare(
        tracks, frames, 3, [&] { cli.start(BRENVIK_CLI_PATH, {"play", QString::fromStdString(folder), "--times", times}); },
        [&] {
            // Once: a second Ctrl+C, after the command has ended, would end the program as Ctrl+C does.
            if (std::exchange(ctrlC, false)) ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
            return cli.state() == QProcess::NotRunning;
        });
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), status);
}

// Played to its end a hundred times, a short loop each time: the command ends with its status every
// time, never by a signal while the sound server's connection is torn down.
void TestAudioOutput::theCommandEndsCleanlyEveryTime() {
    std::vector<std::vector<uint8_t>> tracks;
    const QString folder = QString::fromStdString(makeNoiseLoop(tracks, 4));  // 23 ms
    for (int run = 0; run < 100; ++run) {
        QProcess cli;
        cli.setProcessChannelMode(QProcess::ForwardedChannels);
        tieToTest(cli);
        cli.start(BRENVIK_CLI_PATH, {"play", folder});
        QVERIFY(cli.waitForFinished(60000));
        if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
            QFAIL(qPrintable(QString("run %1 ended %2, status %3")
                                 .arg(run)
                                 .arg(cli.exitStatus() == QProcess::NormalExit ? "normally" : "by a signal")
                                 .arg(cli.exitCode())));
    }
}

void TestAudioOutput::playbackFollowsTheLoopThenStops_data() {
    QTest::addColumn<int>("passes");
    QTest::addColumn<QString>("error");  // none: the passes end it; else the server stops mid-play
    QTest::newRow("one pass, then it ends") << 1 << QString();
    QTest::newRow("the sound server stops") << 0 << QString(message::kNoAudioOutput);
}

// The audio output itself, as the windows use it: a play that starts after one the stream refused
// has no error; its playhead reaches the loop's second half; it ends by itself or fails, and then
// it is stopped, with no playhead, and has closed the loop's files (the card can be ejected).
void TestAudioOutput::playbackFollowsTheLoopThenStops() {
    QFETCH(int, passes);
    QFETCH(QString, error);
    std::vector<std::vector<uint8_t>> tracks;
    const std::string folder = makeNoiseLoop(tracks);
    const std::optional<audition::PlaySource> source = audition::sourceOfLoop(folder).source;
    QVERIFY(source);
    AudioPlayback playback;
    QSignalSpy playing(&playback, &AudioPlayback::playingChanged);
    QSignalSpy finished(&playback, &AudioPlayback::finished),
        failed(&playback, &AudioPlayback::failed);
    QVERIFY(!playback.play({{{folder + "/none.wav", 0, source->frames, 2}}, source->frames}));
    QVERIFY(!playback.lastError().isEmpty());
    QVERIFY(playback.play(*source, passes));
    QCOMPARE(playback.lastError(), QString());
    // The playhead moves on from the loop's first frame into its second half, looked at often, as
    // the waveform's is: a pass takes less than half a second.
    qint64 furthest = -1;
    QTimer look;
    look.callOnTimeout([&] { furthest = std::max(furthest, playback.playheadFrame()); });
    look.start(5);
    if (!error.isEmpty()) {
        QTRY_VERIFY(furthest >= source->frames / 2);
        m_server.stop();
    }
    QTRY_COMPARE(finished.count() + failed.count(), 1);
    QVERIFY(furthest >= source->frames / 2 && furthest < source->frames);
    QCOMPARE(failed.value(0).value(0).toString(), error);
    QCOMPARE(playing.count(), 2);
    QCOMPARE(playing.last().value(0).toBool(), false);
    QCOMPARE(playback.playheadFrame(), qint64{-1});
    QCOMPARE(playback.lastError(), error);
    const QString canonical = QDir(QString::fromStdString(folder)).canonicalPath() + '/';
    for (const QFileInfo& fd : QDir("/proc/self/fd").entryInfoList(QDir::Files | QDir::System))
        QVERIFY2(!fd.symLinkTarget().startsWith(canonical), qPrintable(fd.symLinkTarget()));
}

QTEST_GUILESS_MAIN(TestAudioOutput)
#include "tst_audiooutput.moc"
