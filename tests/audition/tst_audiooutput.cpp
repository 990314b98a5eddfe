// Real audio out: a PulseAudio server of the test's own, with a null sink in place of a sound
// card, plays a loop of noise through the program's audio output while the sink's monitor is
// recorded; the recording must be the loop, sample for sample, pass after pass.
#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

#include "AudioPlayback.h"
#include "ByteOrder.h"
#include "LoopFixture.h"
#include "SoundServer.h"
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
    void playsTheLoopSampleForSample();

private:
    SoundServer m_server;
};

void TestAudioOutput::playsTheLoopSampleForSample() {
    QTemporaryDir card;
    const std::string folder = makeCardLoop(card.path().toStdString(), 1, {1, 2}, kLoopSectors);
    std::vector<std::vector<uint8_t>> tracks;
    for (int k : {1, 2}) {
        tracks.push_back(noiseBytes(512 * kLoopSectors, static_cast<uint32_t>(k)));
        writeFile(folder + "/track" + std::to_string(k) + ".wav", expectedTrack(tracks.back()));
    }
    const audition::Preparation prepared = audition::sourceOfLoop(folder);
    QVERIFY2(prepared.source, prepared.reason.c_str());
    const int64_t frames = prepared.source->frames;

    AudioPlayback playback;
    QCOMPARE(playback.unavailableReason(), QString());
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
    QVERIFY2(playback.play(*prepared.source), qPrintable(playback.lastError()));
    QTRY_VERIFY_WITH_TIMEOUT(firstSound() >= 0 && recording.size() / 4 - firstSound() > 3 * frames,
                             20000);
    capture.stop();
    playback.stop();

    // The first sound is the loop's phase: its first frame, as Play starts the loop from the
    // top. From there on every frame recorded is the loop's, pass after pass.
    const int64_t start = firstSound();
    const auto* heard = reinterpret_cast<const uint8_t*>(recording.constData()) + 4 * start;
    for (int64_t f = 0; f < recording.size() / 4 - start; ++f) {
        for (size_t c = 0; c < 2; ++c) {
            if (readLe16(heard + 4 * f + 2 * c) !=
                readLe16(&tracks[c][2 * static_cast<size_t>(f % frames)]))
                QFAIL(
                    qPrintable(QString("recorded frame %1 (pass %2, frame %3), channel %4 differs")
                                   .arg(f)
                                   .arg(f / frames)
                                   .arg(f % frames)
                                   .arg(c)));
        }
    }
}

QTEST_GUILESS_MAIN(TestAudioOutput)
#include "tst_audiooutput.moc"
