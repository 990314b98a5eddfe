// brenvik-cli to-loop, in-process on real folders, plus one run of the built program.
#include <QProcess>
#include <QTest>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "../wave_to_repeater/Wav2RepBench.h"
#include "Cli.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run toLoop(std::vector<std::string> args) {
    args.insert(args.begin(), "to-loop");
    std::ostringstream out, err;
    const int status = cli::run(args, out, err, false);
    return Run{status, out.str(), err.str()};
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int read24(const std::vector<uint8_t>& bytes, int at) {
    const int v = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
    return v >= 0x800000 ? v - 0x1000000 : v;
}

// 70 quarter seconds of mono: tempo positions 0 to 70, starting at 35.
constexpr int kBytes = 70 * 22050;

}  // namespace

class TestToLoop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void monoWithDefaults();
    void lowestFreeNumber();
    void noFreeNumber();
    void loopText_data();
    void loopText();
    void existingLoop();
    void beatsAndBars();
    void tempoOutsideTable();
    void badUsage_data();
    void badUsage();
    void stereoTracksPanPitch();
    void leftOnTrack2();
    void refusedWave();
    void builtProgram();

private:
    std::string card() const { return m_dir->path().toStdString() + "/card"; }
    std::string mono() const { return m_dir->path().toStdString() + "/mono.wav"; }
    std::string stereo() const { return m_dir->path().toStdString() + "/stereo.wav"; }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<uint8_t> m_monoData = patternBytes(kBytes);
    std::vector<uint8_t> m_stereoData = patternBytes(10000, 3);
};

void TestToLoop::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    fs::create_directory(card());
    writeFile(mono(), wave(1, m_monoData));
    writeFile(stereo(), wave(2, m_stereoData));
}

void TestToLoop::monoWithDefaults() {
    const Run run = toLoop({mono(), "--dest", card()});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, card() + "/LOOP1\n");
    QVERIFY(contains(run.err, "File writing successful"));
    const size_t whole = kBytes / 512 * 512;
    QCOMPARE(readFile(card() + "/LOOP1/track1.wav"), expectedTrack({m_monoData.begin(), m_monoData.begin() + whole}));
    const auto ldf = readFile(card() + "/LOOP1/loopinfo.ldf");
    QCOMPARE(int(ldf[0x100C]), 36);  // the window starts at position 35
    QCOMPARE(int(ldf[0x100F]), 1);
    QCOMPARE(int(ldf[0x1012]), 4);
}

void TestToLoop::lowestFreeNumber() {
    fs::create_directory(card() + "/LOOP1");
    fs::create_directory(card() + "/LOOP2");
    fs::create_directory(card() + "/LOOP4");
    const Run run = toLoop({mono(), "--dest", card()});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, card() + "/LOOP3\n");
}

void TestToLoop::noFreeNumber() {
    for (int n = 1; n <= 999; ++n) fs::create_directory(card() + "/LOOP" + std::to_string(n));
    const Run run = toLoop({mono(), "--dest", card()});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "no free loop number"));
    QVERIFY(!fs::exists(card() + "/LOOP1/track1.wav"));
}

void TestToLoop::loopText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("007") << "007" << 0 << "File writing successful";
    QTest::newRow("2.5") << "2.5" << 0 << "File writing successful";
    QTest::newRow("abc") << "abc" << 1 << "Loop Number should be a Number [1-999]";
    QTest::newRow("0") << "0" << 1 << "Loop Number is out of Range [1-999]";
    QTest::newRow("1234") << "1234" << 2 << "at most 3 characters";
}

void TestToLoop::loopText() {
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QString, said);
    const Run run = toLoop({mono(), "--dest", card(), "--loop", text.toStdString()});
    QCOMPARE(run.status, status);
    QVERIFY(contains(run.err, said.toStdString()));
    if (status == 0) {
        const std::string folder = text == "007" ? "/LOOP7" : "/LOOP2";
        QCOMPARE(run.out, card() + folder + "\n");
    } else {
        QCOMPARE(entriesIn(card()), 0);
    }
}

void TestToLoop::existingLoop() {
    fs::create_directory(card() + "/LOOP5");
    writeFile(card() + "/LOOP5/old.bin", {1, 2, 3});
    Run run = toLoop({mono(), "--dest", card(), "--loop", "5"});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "Loop already exists. Overwrite?"));
    QVERIFY(fs::exists(card() + "/LOOP5/old.bin"));
    run = toLoop({mono(), "--dest", card(), "--loop", "5", "--overwrite"});
    QCOMPARE(run.status, 0);
    QVERIFY(!fs::exists(card() + "/LOOP5/old.bin"));
    QVERIFY(fs::exists(card() + "/LOOP5/track1.wav"));
}

// 12 beats as 2 bars of 6: the writer takes bars as the beat count and the tempo from entry
// 6 x 11 = 66, a loop of 67 beats.
void TestToLoop::beatsAndBars() {
    const Run run = toLoop({mono(), "--dest", card(), "--beats", "12", "--beats-per-bar", "6"});
    QCOMPARE(run.status, 0);
    const auto ldf = readFile(card() + "/LOOP1/loopinfo.ldf");
    QCOMPARE(int(ldf[0x100C]), 12);
    QCOMPARE(int(ldf[0x100F]), 6);
    QCOMPARE(int(ldf[0x1012]), 8);
    const double minutes = kBytes / 2.0 / 44100 / 60;
    const float t = static_cast<float>(1.0 / static_cast<double>(static_cast<float>(minutes / 67)));
    const float tenTimes = t * 10.0f;
    const float code = tenTimes - 1.0f;
    QCOMPARE(read24(ldf, 0x1009), 410 * static_cast<int>(std::nearbyint(code)));
}

void TestToLoop::tempoOutsideTable() {
    const Run run = toLoop({mono(), "--dest", card(), "--beats", "24", "--beats-per-bar", "6"});  // 6 x 23 > 70
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "error in fileSaving()"));
    QVERIFY(run.out.empty());
}

void TestToLoop::badUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no dest") << QStringList{};
    QTest::newRow("unknown option") << QStringList{"--dest", "D", "--speed", "2"};
    QTest::newRow("two sources") << QStringList{"--dest", "D", "other.wav"};
    QTest::newRow("beats per bar 8") << QStringList{"--dest", "D", "--beats-per-bar", "8"};
    QTest::newRow("track 5") << QStringList{"--dest", "D", "--track", "5"};
    QTest::newRow("same track") << QStringList{"--dest", "D", "--track", "3", "--right-track", "3"};
    QTest::newRow("left on 1, right on 1") << QStringList{"--dest", "D", "--right-track", "1"};
    QTest::newRow("three decimals") << QStringList{"--dest", "D", "--pitch", "1.234"};
    QTest::newRow("pitch 13") << QStringList{"--dest", "D", "--pitch", "13"};
    QTest::newRow("pan 101") << QStringList{"--dest", "D", "--pan", "101"};
    QTest::newRow("pan missing") << QStringList{"--dest", "D", "--pan"};
    QTest::newRow("0 beats") << QStringList{"--dest", "D", "--beats", "0"};
    QTest::newRow("72 beats") << QStringList{"--dest", "D", "--beats", "72"};  // at most 71 here
    QTest::newRow("5 does not divide 12") << QStringList{"--dest", "D", "--beats", "12", "--beats-per-bar", "5"};
}

void TestToLoop::badUsage() {
    QFETCH(QStringList, args);
    std::vector<std::string> list{mono()};
    for (const QString& a : args) list.push_back(a == "D" ? card() : a.toStdString());
    const Run run = toLoop(list);
    QCOMPARE(run.status, 2);
    QVERIFY(contains(run.err, "brenvik-cli to-loop: "));
    QCOMPARE(entriesIn(card()), 0);
}

void TestToLoop::stereoTracksPanPitch() {
    const Run run = toLoop({stereo(), "--dest", card(), "--track", "2", "--right-track", "4", "--pan", "-35",
                            "--pitch", "-1.5", "--right-pan", "20", "--right-pitch", "0.05"});
    QCOMPARE(run.status, 0);
    const std::string loop = card() + "/LOOP1";
    QCOMPARE(readFile(loop + "/track2.wav"), expectedTrack(channelWords(m_stereoData, 0, 4864)));
    QCOMPARE(readFile(loop + "/track4.wav"), expectedTrack(channelWords(m_stereoData, 1, 4864)));
    const auto ldf = readFile(loop + "/loopinfo.ldf");
    QCOMPARE(read24(ldf, 0x104B), -35);
    QCOMPARE(read24(ldf, 0x104E), -150);
    QCOMPARE(read24(ldf, 0x107B), 20);
    QCOMPARE(read24(ldf, 0x107E), 5);
}

// The right channel defaults to track 1 when the left one takes track 2.
void TestToLoop::leftOnTrack2() {
    const Run run = toLoop({stereo(), "--dest", card(), "--track", "2"});
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile(card() + "/LOOP1/track2.wav"), expectedTrack(channelWords(m_stereoData, 0, 4864)));
    QCOMPARE(readFile(card() + "/LOOP1/track1.wav"), expectedTrack(channelWords(m_stereoData, 1, 4864)));
}

void TestToLoop::refusedWave() {
    writeFile(mono(), wave(1, m_monoData, 48000));
    const Run run = toLoop({mono(), "--dest", card()});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz"));
    QCOMPARE(entriesIn(card()), 0);
}

void TestToLoop::builtProgram() {
    QProcess program;
    program.start(BRENVIK_CLI_PATH, {"to-loop", QString::fromStdString(mono()), "--dest",
                                     QString::fromStdString(card()), "--loop", "9"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardOutput().toStdString(), card() + "/LOOP9\n");
    QVERIFY(program.readAllStandardError().contains("File writing successful"));
    QVERIFY(fs::exists(card() + "/LOOP9/loopinfo.ldf"));
}

QTEST_GUILESS_MAIN(TestToLoop)
#include "tst_toloop.moc"
