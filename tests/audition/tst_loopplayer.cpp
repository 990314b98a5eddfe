// The loop player's stream and the waveform peaks on real files: what plays, pass after pass,
// must be the exact samples of the audio, with nothing dropped or repeated where a pass wraps.
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>

#include "ByteOrder.h"
#include "LoopDescription.h"
#include "LoopFixture.h"
#include "LoopLayout.h"
#include "LoopStream.h"
#include "Messages.h"
#include "Peaks.h"
#include "RoutineError.h"
#include "TestFiles.h"
#include "WaveformSource.h"

using namespace brenvik;
using namespace brenvik::audition;
using namespace brenvik::test;

namespace {

using Samples = std::vector<int16_t>;

Samples samplesOf(const std::vector<uint8_t>& bytes) {
    Samples s(bytes.size() / 2);
    for (size_t i = 0; i < s.size(); ++i) s[i] = readLeS16(&bytes[2 * i]);
    return s;
}

// One pass as heard: left and right, the shorter side silent at the end.
Samples pairPass(const Samples& left, const Samples& right) {
    Samples out(2 * std::max(left.size(), right.size()), 0);
    for (size_t i = 0; i < left.size(); ++i) out[2 * i] = left[i];
    for (size_t i = 0; i < right.size(); ++i) out[2 * i + 1] = right[i];
    return out;
}
Samples centredPass(const Samples& mono) {
    return pairPass(mono, mono);
}

// Writes what a row plays into `dir` and says what one pass must sound like, or why it cannot
// be played.
using Text = std::string;
struct PlayCase {
    std::function<Preparation(const Text& dir, Samples& pass, Text& reason)> setup;
};

void panTrack(const std::string& folder, int track, int32_t pan) {
    std::vector<uint8_t> d = readFile(folder + "/loopinfo.ldf");
    const auto at = static_cast<size_t>(loop::ldf::kMixPan[static_cast<size_t>(track - 1)]);
    for (int i = 0; i < 3; ++i)
        d[at + static_cast<size_t>(i)] = loop::int24Byte(pan, i);
    writeFile(folder + "/loopinfo.ldf", d);
}

TrackAudio trackOf(const std::string& dir, const std::string& loop,
                   const std::vector<uint8_t>& audio) {
    return TrackAudio{makeLoop(dir, loop, audio), 16384, static_cast<int32_t>(audio.size())};
}

}  // namespace

Q_DECLARE_METATYPE(PlayCase)

class TestLoopPlayer : public QObject {
    Q_OBJECT
private slots:
    void playsEveryPassExactly_data();
    void playsEveryPassExactly();
    void aFileCutWhilePlayingStopsTheStream();
    void waveformMarksWhatTheLoopHolds();
    void peaksAreEachBlocksExtremes_data();
    void peaksAreEachBlocksExtremes();
};

void TestLoopPlayer::playsEveryPassExactly_data() {
    QTest::addColumn<PlayCase>("row");
    QTest::newRow("mono wave, centred") << PlayCase{[](const Text& dir, Samples& pass, Text&) {
        const auto data = patternBytes(2 * 20001, 3);
        writeFile(dir + "/w.wav", wave(1, data));
        pass = centredPass(samplesOf(data));
        return sourceOfWave(dir + "/w.wav");
    }};
    QTest::newRow("stereo wave behind an odd-sized chunk") << PlayCase{[](const Text& dir,
                                                                          Samples& pass, Text&) {
        const auto data = noiseBytes(4 * 17003, 5);
        writeFile(dir + "/w.wav", riff({fmtChunk(2, 44100, 16), chunk("LIST", 3, {1, 2, 3}),
                                        chunk("data", static_cast<int32_t>(data.size()), data)}));
        pass = samplesOf(data);
        return sourceOfWave(dir + "/w.wav");
    }};
    QTest::newRow("mono loop, without its buffers")
        << PlayCase{[](const Text& dir, Samples& pass, Text&) {
               const auto audio = patternBytes(512 * 40, 9);
               makeLoop(dir, "LOOP1", audio, 1, 512);
               pass = centredPass(samplesOf(audio));
               return sourceOfLoop(dir + "/LOOP1");
           }};
    QTest::newRow("stereo loop, track 4 panned left") << PlayCase{[](const Text& dir, Samples& pass,
                                                                     Text&) {
        const std::string folder = makeCardLoop(dir, 3, {1, 4}, 33);
        panTrack(folder, 1, 100);
        panTrack(folder, 4, -100);
        pass = pairPass(samplesOf(patternBytes(512 * 33, 4)), samplesOf(patternBytes(512 * 33, 1)));
        return sourceOfLoop(folder);
    }};
    QTest::newRow("opened track pair, right shorter")
        << PlayCase{[](const Text& dir, Samples& pass, Text&) {
               const auto left = patternBytes(512 * 50, 11), right = noiseBytes(512 * 20, 7);
               pass = pairPass(samplesOf(left), samplesOf(right));
               return sourceOfTracks(trackOf(dir, "L", left), trackOf(dir, "R", right));
           }};
    QTest::newRow("track cut short") << PlayCase{[](const Text& dir, Samples&, Text& reason) {
        const std::string folder = makeFolder(dir, "LOOP1");
        writeDescriptionFor(folder, 4096);
        const std::string track =
            writeTrack(folder, {1, 16384, patternBytes(4096), 0, {}, 44100, 44 + 16384 + 1000});
        reason = message::trackShorterThanAudio(track, 1000, 4096);
        return sourceOfLoop(folder);
    }};
    QTest::newRow("three tracks") << PlayCase{[](const Text& dir, Samples&, Text& reason) {
        reason = message::playTrackCount("LOOP4", 3);
        return sourceOfLoop(makeCardLoop(dir, 4, {1, 2, 3}, 2));
    }};
    QTest::newRow("no audio") << PlayCase{[](const Text& dir, Samples&, Text& reason) {
        reason = message::kNothingToPlay;
        return sourceOfLoop(makeCardLoop(dir, 6, {1}, 0));
    }};
    QTest::newRow("empty wave") << PlayCase{[](const Text& dir, Samples&, Text& reason) {
        writeFile(dir + "/w.wav", wave(1, {}));
        reason = message::kNothingToPlay;
        return sourceOfWave(dir + "/w.wav");
    }};
    QTest::newRow("three channels") << PlayCase{[](const Text& dir, Samples&, Text& reason) {
        writeFile(dir + "/w.wav", wave(3, patternBytes(6 * 1000)));
        reason = message::playNotAWave(dir + "/w.wav");
        return sourceOfWave(dir + "/w.wav");
    }};
    QTest::newRow("wave data past the file's end")
        << PlayCase{[](const Text& dir, Samples&, Text& reason) {
               writeFile(dir + "/w.wav",
                         riff({fmtChunk(1, 44100, 16), chunk("data", 9000, patternBytes(6000))}));
               reason = message::trackShorterThanAudio(dir + "/w.wav", 6000, 9000);
               return sourceOfWave(dir + "/w.wav");
           }};
}

// Read one frame, then pieces of 997 frames, so the wraps fall inside a read, for three and a half passes
// without end and for exactly three passes when three are asked for; or refused with its reason.
void TestLoopPlayer::playsEveryPassExactly() {
    QFETCH(PlayCase, row);
    QTemporaryDir dir;
    Samples pass;
    std::string reason;
    const Preparation prepared = row.setup(dir.path().toStdString(), pass, reason);
    QCOMPARE(prepared.reason, reason);
    QCOMPARE(prepared.source.has_value(), reason.empty());
    if (!prepared.source) return;
    const size_t frames = pass.size() / 2;
    QCOMPARE(prepared.source->frames, static_cast<int64_t>(frames));
    for (int passes : {0, 3}) {
        LoopStream stream(*prepared.source, passes);
        const size_t wanted = passes ? 3 * frames + 5000 : 7 * frames / 2;
        Samples heard(2 * wanted, 0x5a5a);  // what the stream leaves unwritten is heard, not zeros
        size_t got = 0;
        while (got < wanted) {
            const size_t piece = got == 0 ? 1 : 997;  // a first read of one frame: the playhead's start
            const size_t n = stream.read(heard.data() + 2 * got, std::min<size_t>(piece, wanted - got));
            if (n == 0) break;
            got += n;
        }
        QCOMPARE(got, passes ? 3 * frames : wanted);
        QCOMPARE(stream.finished(), passes != 0);
        for (size_t f = 0; f < got; ++f) {
            const size_t at = f % frames;
            if (heard[2 * f] != pass[2 * at] || heard[2 * f + 1] != pass[2 * at + 1])
                QFAIL(qPrintable(QString("frame %1 (pass %2, frame %3) differs")
                                     .arg(f)
                                     .arg(f / frames)
                                     .arg(at)));
        }
    }
}

void TestLoopPlayer::aFileCutWhilePlayingStopsTheStream() {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/w.wav";
    writeFile(path, wave(2, noiseBytes(4 * 40000, 2)));
    const Preparation prepared = sourceOfWave(path);
    QVERIFY(prepared.source);
    LoopStream stream(*prepared.source);
    std::filesystem::resize_file(path, 44 + 4 * 20000);
    Samples heard(2 * 40000);
    try {
        stream.read(heard.data(), 40000);
        QFAIL("the stream played past the file's end");
    } catch (const RoutineError& e) {
        QCOMPARE(std::string(e.what()), message::playUnreadable(path));
    }
}

// A wave's mark ends where a loop written from it ends: whole sectors per track (a stereo loop
// counts its sectors over both channels). Tracks show their whole data, as far as the file goes.
void TestLoopPlayer::waveformMarksWhatTheLoopHolds() {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/w.wav";
    for (const auto& [channels, frames, marked] : {std::tuple{1, 1000, 768}, {2, 400, 384}}) {
        writeFile(path, wave(channels, patternBytes(static_cast<size_t>(2 * channels * frames))));
        const WaveformSource view = waveformOfWave(*sourceOfWave(path).source);
        QCOMPARE(view.runs.front().frames, int64_t{frames});
        QCOMPARE(view.markTo, int64_t{marked});
    }
    const std::string folder = makeFolder(dir.path().toStdString(), "LOOP1");
    const std::string track =
        writeTrack(folder, {1, 16384, patternBytes(4096), 512, {}, 44100, 44 + 16384 + 4096});
    const OpenedTrack opened{track, "LOOP1", "track1", TrackSizes{16384, 4096, 512, 16384 + 4608}};
    const WaveformSource view = waveformOfTracks(opened, opened);
    QCOMPARE(view.runs.size(), size_t{2});
    QCOMPARE(view.runs[1].frames, int64_t{(16384 + 4096) / 2});
    QCOMPARE(std::tuple(view.markFrom, view.markTo, view.playFrom),
             std::tuple(int64_t{8192}, int64_t{8192 + 2048}, int64_t{8192}));
}

void TestLoopPlayer::peaksAreEachBlocksExtremes_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("spikes");
    // 1 MiB holds 524288 mono or 262144 stereo frames: these cross several reads.
    QTest::newRow("mono noise, three reads") << 1 << 1200000 << 44 << false;
    QTest::newRow("stereo noise, odd offset, short last block") << 2 << 600001 << 45 << false;
    QTest::newRow("stereo spikes at block edges") << 2 << 2048 + 7 << 44 << true;
    QTest::newRow("mono spikes, one short block") << 1 << 100 << 0 << true;
}

void TestLoopPlayer::peaksAreEachBlocksExtremes() {
    QFETCH(int, channels);
    QFETCH(int, frames);
    QFETCH(int, offset);
    QFETCH(bool, spikes);
    const auto width = static_cast<size_t>(channels);
    Samples s = samplesOf(noiseBytes(2 * width * static_cast<size_t>(frames), 9));
    // Quiet blocks with a full-scale sample on a block's last (left) or first (right) frame.
    for (size_t i = 0; spikes && i < s.size(); ++i) {
        const size_t frame = i / width;
        const int spike = (frame / 256) % 2 ? 32767 : -32768;
        s[i] = static_cast<int16_t>(frame % 256 == (i % width ? 0 : 255) ? spike : s[i] / 64);
    }
    std::vector<uint8_t> file(static_cast<size_t>(offset) + 2 * s.size(), 0x55);
    for (size_t i = 0; i < s.size(); ++i)
        writeLe16(&file[static_cast<size_t>(offset) + 2 * i], static_cast<uint16_t>(s[i]));
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/a.raw";
    writeFile(path, file);

    std::vector<Peak> peaks;
    computePeaks(SampleRun{path, offset, frames, channels},
                 [&](int64_t first, std::span<const Peak> batch) {
                     if (first * channels != static_cast<int64_t>(peaks.size())) return false;
                     peaks.insert(peaks.end(), batch.begin(), batch.end());
                     return true;
                 });
    QCOMPARE(static_cast<int64_t>(peaks.size()), peakBlocks(frames) * channels);
    for (size_t p = 0; p < peaks.size(); ++p) {
        const size_t block = p / width, c = p % width;
        Peak want{32767, -32768};
        for (size_t f = block * 256;
             f < std::min<size_t>((block + 1) * 256, static_cast<size_t>(frames)); ++f) {
            const int16_t x = s[f * width + c];
            want = Peak{std::min(want.min, x), std::max(want.max, x)};
        }
        if (!(peaks[p] == want))
            QFAIL(qPrintable(QString("block %1 channel %2: %3..%4, not %5..%6")
                                 .arg(block)
                                 .arg(c)
                                 .arg(peaks[p].min)
                                 .arg(peaks[p].max)
                                 .arg(want.min)
                                 .arg(want.max)));
    }
}

QTEST_GUILESS_MAIN(TestLoopPlayer)
#include "tst_loopplayer.moc"
