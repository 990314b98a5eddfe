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

class TestLoopWriter : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writes_data();
    void writes();
    void stereoTracks2And4();
    void loopNumber_data();
    void loopNumber();
    void destinationMissing();
    void noWave();
    void noDataChunk();
    void sourceShorterThanItsSize();
    void tooLong_data();
    void tooLong();
    void overwrite_data();
    void overwrite();
    void freeSpace_data();
    void freeSpace();
    void tempoOutsideTable();

private:
    std::string card() const { return m_dir->path().toStdString() + "/card"; }
    std::string loop7() const { return card() + "/LOOP7"; }
    std::string source(const std::vector<uint8_t>& bytes);
    LoopRequest request(int channels);
    void existingLoop(int64_t size);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
};

namespace {

ProgressEvent minimum(float v) { return {ProgressEvent::Min, v}; }
ProgressEvent maximum(float v) { return {ProgressEvent::Max, v}; }
ProgressEvent value(float v) { return {ProgressEvent::Value, v}; }

// 12 beats (position 11), 3 beats per bar: the tempo comes from entry 3 x 11 = 33, which is
// 2.5 x 34 = 85 beats per minute, tempo code 410 x (850 - 1) = 348090.
constexpr int32_t kTempoCode = 348090;

loop::LoopValues expectedValues(int32_t d, bool stereo) {
    loop::LoopValues v;
    v.trackSectors = stereo ? d / 1024 : d / 512;
    v.loopSectors = d / 512;
    v.clusters = static_cast<int32_t>(std::nearbyint((v.loopSectors - 1) / 32.0 + 1));
    v.tempoCode = kTempoCode;
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

void TestLoopWriter::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<TestPlatform>();
    fs::create_directory(card());
}

std::string TestLoopWriter::source(const std::vector<uint8_t>& bytes) {
    const std::string path = m_dir->path().toStdString() + "/source.wav";
    writeFile(path, bytes);
    return path;
}

LoopRequest TestLoopWriter::request(int channels) {
    LoopRequest r;
    r.destination = card();
    r.loopNumberText = "7";
    r.waveMode = channels == 2 ? "stereo" : "mono";
    r.sourcePath = m_dir->path().toStdString() + "/source.wav";
    r.tempoPosition = 11;
    r.beatsText = "3";
    r.divisionText = "4";
    r.tempoTable.assign(41, 0.0f);
    for (int i = 1; i <= 40; ++i) r.tempoTable[static_cast<size_t>(i - 1)] = 2.5f * static_cast<float>(i);
    return r;
}

void TestLoopWriter::existingLoop(int64_t size) {
    fs::create_directory(loop7());
    writeFile(loop7() + "/old.bin", std::vector<uint8_t>(static_cast<size_t>(size), 9));
}

void TestLoopWriter::writes_data() {
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
                                  << Progress{minimum(0),    maximum(3145), value(1048), value(2096),
                                              value(3144), value(3145),   value(0)};
    QTest::newRow("stereo under a sector") << 2 << 300 << Progress{minimum(0), maximum(0), value(0), value(0)};
    QTest::newRow("stereo one sector and a bit")
        << 2 << 700 << Progress{minimum(0), maximum(0), value(0), value(0), value(0)};
}

// Tracks byte for byte from the source pattern and the track layout; loopinfo.ldf as the
// description of these counts; the progress bar's figures in order.
void TestLoopWriter::writes() {
    QFETCH(int, channels);
    QFETCH(int, d);
    QFETCH(Progress, progress);
    const bool stereo = channels == 2;
    const auto data = patternBytes(static_cast<size_t>(d));
    source(wave(channels, data));
    const LoopWriteResult result = writeLoop(request(channels), *m_platform);

    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
    QCOMPARE(m_platform->messages()[0].icon, MessageIcon::None);
    QVERIFY(result.written);
    QCOMPARE(result.loopFolder, loop7());
    QCOMPARE(result.loopNumberText, std::string("7"));
    QCOMPARE(m_platform->progress(), progress);
    const size_t whole = static_cast<size_t>(d / 512 * 512);
    if (stereo) {
        QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack(channelWords(data, 0, whole / 2)));
        QCOMPARE(readFile(loop7() + "/track2.wav"), expectedTrack(channelWords(data, 1, whole / 2)));
    } else {
        QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack({data.begin(), data.begin() + whole}));
    }
    QCOMPARE(entriesIn(loop7()), stereo ? 3 : 2);
    const auto ldf = readFile(loop7() + "/loopinfo.ldf");
    const loop::Description expected = loop::buildDescription(expectedValues(d, stereo));
    QCOMPARE(ldf, std::vector<uint8_t>(expected.begin(), expected.end()));
    QCOMPARE(read24(ldf, 0x1009), kTempoCode);
    QCOMPARE(int(ldf[0x100C]), 12);
    QCOMPARE(int(ldf[0x100F]), 3);
    QCOMPARE(int(ldf[0x1012]), 4);
    QCOMPARE(read24(ldf, 0x1015), d / 512);
}

// The left controls' pan and pitch belong to the left channel's track, the right ones to the other.
void TestLoopWriter::stereoTracks2And4() {
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
    const std::vector<int> chosen{ldf[0x030], ldf[0x1B6], ldf[0x33C], ldf[0x4C2]};
    QCOMPARE(chosen, (std::vector<int>{0, 2, 0, 2}));
    const std::vector<int> inUse{ldf[0x102D], ldf[0x1042], ldf[0x105A], ldf[0x1072]};
    QCOMPARE(inUse, (std::vector<int>{0, 1, 0, 1}));
    QCOMPARE(read24(ldf, 0x104B), -35);
    QCOMPARE(read24(ldf, 0x104E), -150);
    QCOMPARE(read24(ldf, 0x107B), 100);
    QCOMPARE(read24(ldf, 0x107E), 1200);
    QCOMPARE(int(ldf[0x107E]), 0xB0);
}

void TestLoopWriter::loopNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("folder");
    const QString notNumber = "Loop Number should be a Number [1-999]";
    const QString range = "Loop Number is out of Range [1-999]";
    QTest::newRow("abc") << "abc" << notNumber << "";
    QTest::newRow("empty") << "" << notNumber << "";
    QTest::newRow("0") << "0" << range << "";
    QTest::newRow("-3") << "-3" << range << "";
    QTest::newRow("1e9 overflows 16 bits") << "1e9" << "error in fileSaving()" << "";
    QTest::newRow("007") << "007" << "File writing successful" << "LOOP7";
    QTest::newRow("2.5") << "2.5" << "File writing successful" << "LOOP2";
    QTest::newRow("3.5") << "3.5" << "File writing successful" << "LOOP4";
}

void TestLoopWriter::loopNumber() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, folder);
    source(wave(1, patternBytes(1024)));
    LoopRequest r = request(1);
    r.loopNumberText = text.toStdString();
    const LoopWriteResult result = writeLoop(r, *m_platform);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{message.toStdString()});
    QCOMPARE(result.written, !folder.isEmpty());
    if (folder.isEmpty()) {
        QCOMPARE(m_platform->messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(entriesIn(card()), 0);
        QVERIFY(result.loopNumberText.empty());
    } else {
        QVERIFY(fs::exists(card() + "/" + folder.toStdString() + "/track1.wav"));
        QCOMPARE("LOOP" + result.loopNumberText, folder.toStdString());
    }
}

void TestLoopWriter::destinationMissing() {
    source(wave(1, patternBytes(1024)));
    LoopRequest r = request(1);
    r.destination = card() + "/missing";
    r.loopNumberText = "007";
    const LoopWriteResult result = writeLoop(r, *m_platform);
    QCOMPARE(m_platform->messageTexts(),
             std::vector<std::string>{"Folder: " + card() + "/missing does not exist or drive not ready"});
    QCOMPARE(m_platform->messages()[0].icon, MessageIcon::Critical);
    QCOMPARE(result.loopNumberText, std::string("7"));  // normalised before the folder check
    QVERIFY(!fs::exists(card() + "/missing"));
}

void TestLoopWriter::noWave() {
    LoopRequest r = request(1);
    r.waveMode.clear();
    QVERIFY(!writeLoop(r, *m_platform).written);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"No wave file has been opened"});
    QCOMPARE(m_platform->messages()[0].icon, MessageIcon::None);
    QCOMPARE(entriesIn(card()), 0);
}

void TestLoopWriter::noDataChunk() {
    source(riff({fmtChunk(1, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})}));
    QVERIFY(!writeLoop(request(1), *m_platform).written);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QCOMPARE(m_platform->messages()[0].icon, MessageIcon::Critical);
    QCOMPARE(entriesIn(card()), 0);
}

// A size field beyond the file is refused before the overwrite question: the old loop survives.
void TestLoopWriter::sourceShorterThanItsSize() {
    source(riff({fmtChunk(1, 44100, 16), chunk("data", 100000, patternBytes(1000))}));
    existingLoop(10);
    QVERIFY(!writeLoop(request(1), *m_platform).written);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QCOMPARE(entriesIn(loop7()), 1);
}

void TestLoopWriter::tooLong_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("sectors");  // N
    QTest::addColumn<bool>("refused");
    QTest::newRow("mono end sector 65535") << 1 << 65536 << false;
    QTest::newRow("mono end sector 65536") << 1 << 65537 << true;
    QTest::newRow("stereo 2592 clusters") << 2 << 82929 << false;  // R(2592.5) = 2592
    QTest::newRow("stereo 2593 clusters") << 2 << 82930 << true;
}

// Sparse sources: the refusal comes before anything is read; a source within the limits goes on
// to the free-space test, here made to fail so that nothing large is written.
void TestLoopWriter::tooLong() {
    QFETCH(int, channels);
    QFETCH(int, sectors);
    QFETCH(bool, refused);
    const std::string path = source(wave(channels, {}));
    std::vector<uint8_t> bytes = readFile(path);
    const auto d = static_cast<uint32_t>(sectors) * 512u;
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(40 + i)] = static_cast<uint8_t>(d >> (8 * i));
    writeFile(path, bytes);
    fs::resize_file(path, 44 + d);
    m_platform->setFreeSpace(0);
    QVERIFY(!writeLoop(request(channels), *m_platform).written);
    const std::string tooLong = "Loop is too long for the Repeater (at most 2592 clusters per track)";
    QCOMPARE(m_platform->messageTexts(),
             std::vector<std::string>{refused ? tooLong : "Not enough space available on CFC"});
    QCOMPARE(m_platform->messages()[0].icon, refused ? MessageIcon::Critical : MessageIcon::None);
    QCOMPARE(entriesIn(card()), 0);
}

void TestLoopWriter::overwrite_data() {
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("choosers");
    QTest::newRow("Yes") << MessageAnswer::Yes << true << 0;
    QTest::newRow("No") << MessageAnswer::No << false << 1;
    QTest::newRow("Cancel") << MessageAnswer::Cancel << false << 0;
}

void TestLoopWriter::overwrite() {
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, written);
    QFETCH(int, choosers);
    source(wave(1, patternBytes(2048)));
    existingLoop(100);
    m_platform->answerNextQuestion(answer);
    QCOMPARE(writeLoop(request(1), *m_platform).written, written);
    const RecordedMessage& question = m_platform->messages().at(0);
    QCOMPARE(question.text, std::string("Loop already exists. Overwrite?"));
    QCOMPARE(question.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(question.icon, MessageIcon::None);
    QCOMPARE(m_platform->messages().size(), size_t(written ? 2 : 1));
    QCOMPARE(m_platform->modelessChoosersShown(), choosers);
    QCOMPARE(fs::exists(loop7() + "/old.bin"), !written);
    QCOMPARE(fs::exists(loop7() + "/track1.wav"), written);
}

void TestLoopWriter::freeSpace_data() {
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("freeBytes");
    QTest::addColumn<bool>("written");
    const int d = 2048;
    QTest::newRow("just enough") << 0 << d + 50000 << true;
    QTest::newRow("one byte short") << 0 << d + 49999 << false;
    QTest::newRow("replaced loop counts as free") << 10000 << d + 40000 << true;
    QTest::newRow("replaced loop, one byte short") << 10000 << d + 39999 << false;
}

void TestLoopWriter::freeSpace() {
    QFETCH(int, existing);
    QFETCH(int, freeBytes);
    QFETCH(bool, written);
    source(wave(1, patternBytes(2048)));
    if (existing) {
        existingLoop(existing);
        m_platform->answerNextQuestion(MessageAnswer::Yes);
    }
    m_platform->setFreeSpace(freeBytes);
    QCOMPARE(writeLoop(request(1), *m_platform).written, written);
    const std::string last = m_platform->messageTexts().back();
    QCOMPARE(last, std::string(written ? "File writing successful" : "Not enough space available on CFC"));
    QCOMPARE(m_platform->messages().back().icon, MessageIcon::None);
    QCOMPARE(fs::exists(loop7() + "/old.bin"), existing && !written);
    QCOMPARE(fs::exists(loop7() + "/track1.wav"), written);
}

// Beats per bar times the position may point past the table: the save fails after the audio.
void TestLoopWriter::tempoOutsideTable() {
    source(wave(1, patternBytes(2048)));
    LoopRequest r = request(1);
    r.beatsText = "4";  // 4 x 11 = 44 > 40
    QVERIFY(!writeLoop(r, *m_platform).written);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QVERIFY(fs::exists(loop7() + "/track1.wav"));
    QVERIFY(!fs::exists(loop7() + "/loopinfo.ldf"));
}

QTEST_APPLESS_MAIN(TestLoopWriter)
#include "tst_loopwriter.moc"
