#include <QTest>

#include <cmath>
#include <filesystem>
#include <memory>

#include "LoopDescription.h"
#include "LoopWriter.h"
#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

using Progress = std::vector<ProgressEvent>;
Q_DECLARE_METATYPE(Progress)
Q_DECLARE_METATYPE(brenvik::MessageAnswer)

namespace {

ProgressEvent minimum(float v) { return {ProgressEvent::Min, v}; }
ProgressEvent maximum(float v) { return {ProgressEvent::Max, v}; }
ProgressEvent value(float v) { return {ProgressEvent::Value, v}; }

// 12 beats (position 11), 3 beats per bar: the tempo comes from entry 3 x 11 = 33, which is
// 2.5 x 34 = 85 beats per minute, tempo code 410 x (850 - 1) = 348090.
loop::LoopValues expectedValues(int32_t d, bool stereo) {
    loop::LoopValues v;
    v.trackSectors = stereo ? d / 1024 : d / 512;
    v.loopSectors = d / 512;
    v.clusters = static_cast<int32_t>(std::nearbyint((v.loopSectors - 1) / 32.0 + 1));
    v.tempoCode = 348090;
    v.bars = 12;
    v.beats = 3;
    v.division = 4;
    v.tracks[0].chosen = true;
    v.tracks[1].chosen = stereo;
    return v;
}

int read24(const std::vector<uint8_t>& bytes, int at) {
    const int v = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
    return v >= 0x800000 ? v - 0x1000000 : v;
}

}  // namespace

class TestLoopWriter : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;

    std::string card() const { return m_dir->path().toStdString() + "/card"; }
    std::string loop7() const { return card() + "/LOOP7"; }
    std::string source(const std::vector<uint8_t>& bytes) {
        const std::string path = m_dir->path().toStdString() + "/source.wav";
        writeFile(path, bytes);
        return path;
    }
    // Loop 7 on the card from the source, 12 beats in bars of 3, tempo entry i - 1 of 2.5 i.
    LoopRequest request(int channels) {
        LoopRequest r;
        r.destination = card();
        r.loopNumberText = "7";
        r.waveMode = channels == 2 ? "stereo" : "mono";
        r.sourcePath = m_dir->path().toStdString() + "/source.wav";
        r.tempoPosition = 11;
        r.beatsText = "3";
        r.divisionText = "4";
        r.tempoTable.assign(41, 0.0f);
        for (int i = 1; i <= 40; ++i) r.tempoTable[size_t(i - 1)] = 2.5f * static_cast<float>(i);
        return r;
    }
    void existingLoop(int64_t size) {
        fs::create_directory(loop7());
        writeFile(loop7() + "/old.bin", std::vector<uint8_t>(size_t(size), 9));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<TestPlatform>();
        fs::create_directory(card());
    }

    void writes_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("d");
        QTest::addColumn<Progress>("progress");
        QTest::newRow("mono 1,000,000") << 1 << 1000000 << Progress{minimum(0), maximum(1000), value(1000), value(0)};
        QTest::newRow("mono under a sector") << 1 << 300 << Progress{minimum(0), maximum(0), value(0)};
        QTest::newRow("mono 1 MiB + 512")
            << 1 << 1049088 << Progress{minimum(0), maximum(1049), value(1048), value(1048), value(0)};
        QTest::newRow("stereo odd N")  // N = 2051: the last half sector goes to both tracks
            << 2 << 1050112 << Progress{minimum(0), maximum(1050), value(1048), value(1049), value(1050), value(0)};
        QTest::newRow("stereo 3 MiB") << 2 << 3145728
                                      << Progress{minimum(0),  maximum(3145), value(1048), value(2096),
                                                  value(3144), value(3145),   value(0)};
        // A remainder of 64000 bytes: its step is (q - 1) \ 1000 = 63, not 64.
        QTest::newRow("stereo remainder a multiple of 1000")
            << 2 << 1112576 << Progress{minimum(0), maximum(1112), value(1048), value(1111), value(1112), value(0)};
        QTest::newRow("stereo under a sector") << 2 << 300 << Progress{minimum(0), maximum(0), value(0), value(0)};
        QTest::newRow("stereo one sector and a bit")
            << 2 << 700 << Progress{minimum(0), maximum(0), value(0), value(0), value(0)};
    }

    // Tracks byte for byte from the source pattern and the track layout; loopinfo.ldf as the
    // description of these counts; the progress bar's figures in order.
    void writes() {
        QFETCH(int, channels);
        QFETCH(int, d);
        QFETCH(Progress, progress);
        const bool stereo = channels == 2;
        const auto data = patternBytes(size_t(d));
        source(wave(channels, data));
        const LoopWriteResult result = writeLoop(request(channels), *m_platform);

        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
        QCOMPARE(m_platform->messages()[0].icon, MessageIcon::None);
        QVERIFY(result.written);
        QCOMPARE(result.loopFolder, loop7());
        QCOMPARE(result.loopNumberText, std::string("7"));
        QCOMPARE(m_platform->progress(), progress);
        const size_t whole = size_t(d / 512 * 512);
        if (stereo) {
            QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack(channelWords(data, 0, whole / 2)));
            QCOMPARE(readFile(loop7() + "/track2.wav"), expectedTrack(channelWords(data, 1, whole / 2)));
        } else {
            QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack({data.begin(), data.begin() + whole}));
        }
        QCOMPARE(entriesIn(loop7()), stereo ? 3 : 2);
        const loop::Description expected = loop::buildDescription(expectedValues(d, stereo));
        QCOMPARE(readFile(loop7() + "/loopinfo.ldf"), std::vector<uint8_t>(expected.begin(), expected.end()));
    }

    // The left controls' pan and pitch belong to the left channel's track, the right ones to the
    // other.
    void stereoTracks2And4() {
        const auto data = patternBytes(5000);
        source(wave(2, data));
        LoopRequest r = request(2);
        r.leftTrack = 2;
        r.rightTrack = 4;
        r.leftPan = -35;
        r.leftPitch = -150;
        r.rightPan = 100;
        r.rightPitch = 1200;
        QVERIFY(writeLoop(r, *m_platform).written);
        QCOMPARE(readFile(loop7() + "/track2.wav"), expectedTrack(channelWords(data, 0, 2304)));
        QCOMPARE(readFile(loop7() + "/track4.wav"), expectedTrack(channelWords(data, 1, 2304)));
        QVERIFY(!fs::exists(loop7() + "/track1.wav") && !fs::exists(loop7() + "/track3.wav"));
        const auto ldf = readFile(loop7() + "/loopinfo.ldf");
        QCOMPARE((std::vector<int>{ldf[0x030], ldf[0x1B6], ldf[0x33C], ldf[0x4C2]}), (std::vector<int>{0, 2, 0, 2}));
        QCOMPARE((std::vector<int>{ldf[0x102D], ldf[0x1042], ldf[0x105A], ldf[0x1072]}),
                 (std::vector<int>{0, 1, 0, 1}));
        QCOMPARE((std::vector<int>{read24(ldf, 0x104B), read24(ldf, 0x104E), read24(ldf, 0x107B), read24(ldf, 0x107E)}),
                 (std::vector<int>{-35, -150, 100, 1200}));
    }

    void checksBeforeWriting_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("destination");  // below the card folder
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("dataChunk");
        QTest::addColumn<QString>("message");  // "{card}" stands for the card folder
        QTest::addColumn<bool>("critical");
        QTest::addColumn<QString>("normalised");
        QTest::addColumn<bool>("written");  // into LOOP + the normalised number
        const QString notNumber = "Loop Number should be a Number [1-999]";
        const QString range = "Loop Number is out of Range [1-999]";
        const QString failed = "error in fileSaving()";
        const QString done = "File writing successful";
        // Typed loop numbers of every other kind go through the window in the typed-input test.
        QTest::newRow("empty") << "" << "" << "mono" << true << notNumber << true << "" << false;
        QTest::newRow("0") << "0" << "" << "mono" << true << range << true << "" << false;
        QTest::newRow("007") << "007" << "" << "mono" << true << done << false << "7" << true;
        // The number is normalised before the folder check.
        QTest::newRow("destination missing") << "007" << "/missing" << "mono" << true
                                             << "Folder: {card}/missing does not exist or drive not ready" << true
                                             << "7" << false;
        QTest::newRow("no wave") << "7" << "" << "" << true << "No wave file has been opened" << false << "7" << false;
        QTest::newRow("no data chunk") << "7" << "" << "mono" << false << failed << true << "7" << false;
    }

    void checksBeforeWriting() {
        QFETCH(QString, number);
        QFETCH(QString, destination);
        QFETCH(QString, mode);
        QFETCH(bool, dataChunk);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        QFETCH(QString, normalised);
        QFETCH(bool, written);
        source(dataChunk ? wave(1, patternBytes(1024)) : riff({fmtChunk(1, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})}));
        LoopRequest r = request(1);
        r.loopNumberText = number.toStdString();
        r.destination += destination.toStdString();
        r.waveMode = mode.toStdString();
        const LoopWriteResult result = writeLoop(r, *m_platform);
        message.replace("{card}", QString::fromStdString(card()));
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(m_platform->messages()[0].icon, critical ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(result.written, written);
        QCOMPARE(QString::fromStdString(result.loopNumberText), normalised);
        if (written)
            QVERIFY(fs::exists(card() + "/LOOP" + normalised.toStdString() + "/track1.wav"));
        else
            QCOMPARE(entriesIn(card()), 0);
    }

    // A size field beyond the file is refused before the overwrite question: the old loop
    // survives.
    void sourceShorterThanItsSize() {
        source(riff({fmtChunk(1, 44100, 16), chunk("data", 100000, patternBytes(1000))}));
        existingLoop(10);
        QVERIFY(!writeLoop(request(1), *m_platform).written);
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
        QCOMPARE(entriesIn(loop7()), 1);
    }

    void tooLong_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("sectors");  // N
        QTest::addColumn<bool>("refused");
        QTest::newRow("mono end sector 65535") << 1 << 65536 << false;
        QTest::newRow("mono end sector 65536") << 1 << 65537 << true;
        QTest::newRow("stereo 2592 clusters") << 2 << 82929 << false;  // R(2592.5) = 2592
        QTest::newRow("stereo 2593 clusters") << 2 << 82930 << true;
    }

    // Sparse sources: the refusal comes before anything is read; a source within the limits
    // goes on to the free-space test, here made to fail so that nothing large is written.
    void tooLong() {
        QFETCH(int, channels);
        QFETCH(int, sectors);
        QFETCH(bool, refused);
        const int32_t d = sectors * 512;
        fs::resize_file(source(riff({fmtChunk(channels, 44100, 16), chunk("data", d)})), 44 + uintmax_t(d));
        m_platform->setFreeSpace(0);
        QVERIFY(!writeLoop(request(channels), *m_platform).written);
        const std::string tooLong = "Loop is too long for the Repeater (at most 2592 clusters per track)";
        QCOMPARE(m_platform->messageTexts(),
                 std::vector<std::string>{refused ? tooLong : "Not enough space available on CFC"});
        QCOMPARE(m_platform->messages()[0].icon, refused ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(entriesIn(card()), 0);
    }

    void existingLoopAndSpace_data() {
        QTest::addColumn<int>("existing");          // bytes of a LOOP7 already there; 0: none
        QTest::addColumn<MessageAnswer>("answer");  // to the overwrite question
        QTest::addColumn<int>("freeBytes");         // -1: the real free space
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("choosers");
        const int d = 2048;
        QTest::newRow("Yes") << 100 << MessageAnswer::Yes << -1 << true << 0;
        QTest::newRow("No: the folder chooser") << 100 << MessageAnswer::No << -1 << false << 1;
        QTest::newRow("Cancel") << 100 << MessageAnswer::Cancel << -1 << false << 0;
        QTest::newRow("just enough space") << 0 << MessageAnswer::Yes << d + 50000 << true << 0;
        QTest::newRow("one byte short") << 0 << MessageAnswer::Yes << d + 49999 << false << 0;
        QTest::newRow("replaced loop counts as free") << 10000 << MessageAnswer::Yes << d + 40000 << true << 0;
        QTest::newRow("replaced loop, one byte short") << 10000 << MessageAnswer::Yes << d + 39999 << false << 0;
    }

    void existingLoopAndSpace() {
        QFETCH(int, existing);
        QFETCH(MessageAnswer, answer);
        QFETCH(int, freeBytes);
        QFETCH(bool, written);
        QFETCH(int, choosers);
        source(wave(1, patternBytes(2048)));
        if (existing) {
            existingLoop(existing);
            m_platform->answerNextQuestion(answer);
        }
        if (freeBytes >= 0) m_platform->setFreeSpace(freeBytes);
        QCOMPARE(writeLoop(request(1), *m_platform).written, written);
        std::vector<std::string> texts;
        if (existing) texts.push_back("Loop already exists. Overwrite?");
        if (written) texts.push_back("File writing successful");
        if (!written && freeBytes >= 0) texts.push_back("Not enough space available on CFC");
        QCOMPARE(m_platform->messageTexts(), texts);
        for (const RecordedMessage& shown : m_platform->messages()) QCOMPARE(shown.icon, MessageIcon::None);
        if (existing) QCOMPARE(m_platform->messages()[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(m_platform->modelessChoosersShown(), choosers);
        QCOMPARE(fs::exists(loop7() + "/old.bin"), existing && !written);
        QCOMPARE(fs::exists(loop7() + "/track1.wav"), written);
    }

    // Beats per bar times the position may point past the table: the save fails after the audio.
    void tempoOutsideTable() {
        source(wave(1, patternBytes(2048)));
        LoopRequest r = request(1);
        r.beatsText = "4";  // 4 x 11 = 44 > 40
        QVERIFY(!writeLoop(r, *m_platform).written);
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
        QVERIFY(fs::exists(loop7() + "/track1.wav"));
        QVERIFY(!fs::exists(loop7() + "/loopinfo.ldf"));
    }
};

QTEST_APPLESS_MAIN(TestLoopWriter)
#include "tst_loopwriter.moc"
