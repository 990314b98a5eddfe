// The Repeater-to-wave core on real loop folders: opening a track against its loopinfo.ldf, and
// saving tracks as mono and stereo waves, compared byte for byte.
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "LoopFixture.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TrackOpening.h"
#include "WaveSaving.h"

using namespace brenvik;
using namespace brenvik::test;
using Opened = TrackOpenResult::Outcome;
using Saved = WaveSaveResult::Outcome;

// Start byte -1: no loopinfo.ldf. Data size 0: pre + audio + 1536; -1: no track file.
struct OpenCase {
    int startByte, endWord, dataSize;
    Opened outcome;
    MessageIcon icon;
    int pre, audio;
    const char* message;
};
// Present: audio bytes the last track's file holds (-1: all); rate: the left track's, the output's.
// Progress total: mono audio \ 1000, stereo 2 x longest / 1000; done: +1048 per full mono block,
// +524 +524 per stereo block, a last block's bytes / 1000 (twice in stereo).
struct SaveCase {
    bool stereo;
    int leftAudio, rightAudio, present, rate;
    float total, done;
};
Q_DECLARE_METATYPE(OpenCase)
Q_DECLARE_METATYPE(SaveCase)

class TestRepeaterToWaveCore : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_progress.clear();
    }

    void open_data() {
        QTest::addColumn<OpenCase>("c");
        const MessageIcon none = MessageIcon::None, critical = MessageIcon::Critical;
        // audio = (end - signed start + 1) x 512, the end word read unsigned; pre = u x 512 from
        // the start byte's band.
        QTest::newRow("writer loop") << OpenCase{0, 1000, 0, Opened::Opened, none, 16384, 512512, ""};
        QTest::newRow("start 96") << OpenCase{96, 1000, 0, Opened::Opened, none, 32768, 463360, ""};
        QTest::newRow("start 200 (-56)") << OpenCase{200, 1000, 0, Opened::Opened, none, 20480, 541184, ""};
        QTest::newRow("no description, no track: the description first")
            << OpenCase{-1, 0, -1, Opened::DescriptionMissing, none, 0, 0,
                        "Repeater's .ldf and .wav files must reside in the same directory"};
        QTest::newRow("no track") << OpenCase{0, 0, -1, Opened::TrackMissing, critical, 0, 0, "File does not exist!"};
        QTest::newRow("end word 40000") << OpenCase{0, 40000, 0, Opened::Opened, none, 16384, 20480512, ""};
        QTest::newRow("end word FFFF of a track with sectors")
            << OpenCase{200, 0xFFFF, 0, Opened::Opened, none, 20480, 33583104, ""};
        QTest::newRow("negative audio")
            << OpenCase{100, 98, 40000, Opened::Untrimmed, none, 0, 0, "Invalid or Untrimmed Repeater File"};
        QTest::newRow("end word FFFE, audio beyond the data")
            << OpenCase{0, 0xFFFE, 40000, Opened::Untrimmed, none, 0, 0, "Invalid or Untrimmed Repeater File"};
        QTest::newRow("post beyond 32 bits: silent") << OpenCase{0, 0, INT32_MIN, Opened::Failed, none, 0, 0, ""};
    }

    void open() {
        QFETCH(OpenCase, c);
        const std::string folder = makeFolder(root(), "LOOP12");
        if (c.startByte >= 0) writeDescription(folder, uint8_t(c.startByte), int16_t(c.endWord));
        // Track 3, a 16384-byte pre-buffer and only the header's data size, which is all that is read.
        const TrackSpec layout{3, 16384, {}, 0, c.dataSize ? c.dataSize : c.pre + c.audio + 1536, 44100, {}};
        const std::string path = folder + "/track3.take1.wav";
        if (c.dataSize != -1) std::filesystem::rename(writeTrack(folder, layout), path);
        const TrackOpenResult result = openTrack(path, m_files);
        const OpenedTrack& track = result.track;
        QCOMPARE(result.outcome, c.outcome);
        QCOMPARE(result.icon, c.icon);
        QCOMPARE(result.message, std::string(c.message));
        if (c.outcome != Opened::Opened) return;
        QCOMPARE(track.path + "|" + track.loopName + "|" + track.trackName, path + "|LOOP12|track3");
        QCOMPARE((QList<int>{track.sizes.pre, track.sizes.audio, track.sizes.post, track.sizes.total}),
                 (QList<int>{c.pre, c.audio, 1536, *layout.dataSize}));
    }

    void save_data() {
        QTest::addColumn<SaveCase>("c");
        QTest::newRow("mono 16384 bytes") << SaveCase{false, 16384, 0, -1, 44100, 16, 16};
        QTest::newRow("mono empty") << SaveCase{false, 0, 0, -1, 44100, 0, 0};
        QTest::newRow("mono 1 MiB + 64000") << SaveCase{false, 1112576, 0, -1, 44100, 1112, 1112};
        QTest::newRow("mono exactly 2 MiB") << SaveCase{false, 2097152, 0, -1, 44100, 2097, 2096};
        QTest::newRow("mono cut short, 22050 Hz") << SaveCase{false, 8192, 0, 3000, 22050, 8, 8};
        QTest::newRow("right ends in silence") << SaveCase{true, 409600, 204800, -1, 44100, 819.2f, 819.2f};
        QTest::newRow("left ends in silence") << SaveCase{true, 204800, 409600, -1, 44100, 819.2f, 819.2f};
        QTest::newRow("right ends before 2nd block") << SaveCase{true, 1048576, 409600, -1, 44100, 2097.152f, 2096};
        QTest::newRow("2 full blocks, a short one") << SaveCase{true, 1049600, 1048576, -1, 44100, 2099.2f, 2098.048f};
        QTest::newRow("right cut in 2nd block") << SaveCase{true, 1024, 600064, 530000, 22050, 1200.128f, 1199.552f};
    }

    void save() {
        QFETCH(SaveCase, c);
        // Track, pre-buffer, audio, post-buffer, data size, rate, cut; each cut where its request says.
        TrackSpec left{1, 20480, patternBytes(size_t(c.leftAudio), 5), 256, {}, c.rate, {}};
        TrackSpec right{2, 32768, patternBytes(size_t(c.rightAudio), 9), 512, {}, 48000, {}};
        TrackSpec& last = c.stereo ? right : left;
        if (c.present >= 0) last.cutAt = size_t(44 + last.pre + c.present);
        WaveSaveRequest request{out(),
                                c.stereo ? ChannelMode::Stereo : ChannelMode::Mono,
                                {writeTrack(makeFolder(root(), "LOOP1"), left), 20480, c.leftAudio},
                                {}};
        if (c.stereo) request.right = TrackAudio{writeTrack(makeFolder(root(), "LOOP2"), right), 32768, c.rightAudio};
        QCOMPARE(saveAndRecord(request).outcome, Saved::Written);
        std::vector<uint8_t> heard = last.audio;  // the bytes the file holds, then silence
        if (c.present >= 0) heard.resize(size_t(c.present));
        heard.resize(last.audio.size(), 0);
        QCOMPARE(readFile(out()), c.stereo ? expectedWave(2, c.rate, interleaved(left.audio, heard))
                                           : expectedWave(1, c.rate, heard));
        QCOMPARE(m_progress.front(), std::make_pair(0.0f, c.total));
        QCOMPARE(m_progress.back().first, c.done);
    }

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::string path(const QString& name) const { return root() + "/" + name.toStdString(); }
    std::string out() const { return path("out.wav"); }
    WaveSaveResult saveAndRecord(const WaveSaveRequest& request) {
        const OverwritePolicy never = [](const std::string&) { return ReplaceChoice::Cancel; };
        return saveWave(request, m_files, never,
                        [this](float done, float all) { m_progress.emplace_back(done, all); });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedFiles m_files;
    std::vector<std::pair<float, float>> m_progress;
};

QTEST_GUILESS_MAIN(TestRepeaterToWaveCore)
#include "tst_repeatertowavecore.moc"
