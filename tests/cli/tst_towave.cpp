// brenvik-cli to-wave, in-process on real loop folders, plus one run of the built program.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "../repeater_to_wave/LoopFixture.h"
#include "Cli.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run toWave(std::vector<std::string> args) {
    args.insert(args.begin(), "to-wave");
    std::ostringstream out, err;
    const int status = cli::run(args, out, err, false);
    return Run{status, out.str(), err.str()};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

class TestToWave : public QObject {
    Q_OBJECT
private slots:
    void init();
    void oneTrackGivesMonoWave();
    void twoTracksGiveStereoWave();
    void existingOutputKeptWithoutOverwrite();
    void overwriteReplacesOutput();
    void openerRefusalsFail_data();
    void openerRefusalsFail();
    void refusedRightTrackFails();
    void saveFailureFails();
    void relativePathsAreResolved();
    void badUsage_data();
    void badUsage();
    void builtProgramConverts();

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<uint8_t> m_leftAudio, m_rightAudio;
    std::string m_left, m_right;
};

void TestToWave::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_leftAudio = patternBytes(6144, 21);
    m_rightAudio = patternBytes(4096, 900);
    m_left = makeLoop(root(), "LOOP1", m_leftAudio, 1, 256);
    m_right = makeLoop(root(), "LOOP2", m_rightAudio, 2);
}

void TestToWave::oneTrackGivesMonoWave() {
    const std::string output = root() + "/mono.wav";
    const Run run = toWave({m_left, "--output", output});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, output + "\n");
    QVERIFY(contains(run.err, "File writing successful"));
    QCOMPARE(readFile(output), concat(expectedHeader(1, 44100, 88200, 2, 6144), m_leftAudio));
}

void TestToWave::twoTracksGiveStereoWave() {
    const std::string output = root() + "/stereo.wav";
    const Run run = toWave({m_left, m_right, "--output", output});
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile(output), concat(expectedHeader(2, 44100, 176400, 4, 12288),
                                      interleaved(m_leftAudio, m_rightAudio)));
    // The other order puts the second track on the left.
    const Run swapped = toWave({m_right, m_left, "--output", root() + "/swapped.wav"});
    QCOMPARE(swapped.status, 0);
    QCOMPARE(readFile(root() + "/swapped.wav"), concat(expectedHeader(2, 44100, 176400, 4, 12288),
                                                       interleaved(m_rightAudio, m_leftAudio)));
}

void TestToWave::existingOutputKeptWithoutOverwrite() {
    const std::string output = root() + "/kept.wav";
    const std::vector<uint8_t> old(70000, 0x42);
    writeFile(output, old);
    const Run run = toWave({m_left, "--output", output});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "File already exists. Overwrite?"));
    QVERIFY(!contains(run.err, "File writing successful"));
    QVERIFY(run.out.empty());
    QCOMPARE(readFile(output), old);
}

void TestToWave::overwriteReplacesOutput() {
    const std::string output = root() + "/replaced.wav";
    writeFile(output, std::vector<uint8_t>(70000, 0x42));
    const Run run = toWave({m_left, "--output", output, "--overwrite"});
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile(output), concat(expectedHeader(1, 44100, 88200, 2, 6144), m_leftAudio));
}

void TestToWave::openerRefusalsFail_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::newRow("no description") << "no-ldf" << "Repeater's .ldf and .wav files must reside in the same directory";
    QTest::newRow("no track") << "no-track" << "File does not exist!";
    QTest::newRow("negative audio") << "bad-end" << "Invalid or Untrimmed Repeater File";
}

void TestToWave::openerRefusalsFail() {
    QFETCH(QString, setup);
    QFETCH(QString, message);
    const std::string folder = makeFolder(root(), "LOOP9");
    std::string track = folder + "/track1.wav";
    if (setup == "no-track") writeDescriptionFor(folder, 512);
    if (setup == "no-ldf" || setup == "bad-end") {
        TrackSpec spec;
        spec.audio = patternBytes(512);
        track = writeTrack(folder, spec);
    }
    if (setup == "bad-end") writeDescription(folder, 0, -5);
    const std::string output = root() + "/never.wav";
    const Run run = toWave({track, "--output", output});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, message.toStdString()));
    QVERIFY(!std::filesystem::exists(output));
}

void TestToWave::refusedRightTrackFails() {
    const std::string folder = makeFolder(root(), "LOOP9");
    writeDescription(folder, 0, 3);
    TrackSpec spec;
    spec.dataSize = 100;  // smaller than its 2048 bytes of audio
    const std::string bad = writeTrack(folder, spec);
    const std::string output = root() + "/never.wav";
    const Run run = toWave({m_left, bad, "--output", output});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "Invalid or Untrimmed Repeater File"));
    QVERIFY(!std::filesystem::exists(output));
}

void TestToWave::saveFailureFails() {
    const Run run = toWave({m_left, "--output", root() + "/missing/folder/out.wav"});
    QCOMPARE(run.status, 1);
    QVERIFY(contains(run.err, "error in fileSaving()"));
    QVERIFY(run.out.empty());
}

void TestToWave::relativePathsAreResolved() {
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const Run run = toWave({"LOOP1/track1.wav", "--output", "relative.wav"});
    QDir::setCurrent(before);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, root() + "/relative.wav\n");
    QCOMPARE(readFile(root() + "/relative.wav"),
             concat(expectedHeader(1, 44100, 88200, 2, 6144), m_leftAudio));
}

void TestToWave::badUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no output") << QStringList{"t.wav"};
    QTest::newRow("no track") << QStringList{"--output", "o.wav"};
    QTest::newRow("three tracks") << QStringList{"a.wav", "b.wav", "c.wav", "--output", "o.wav"};
    QTest::newRow("output without value") << QStringList{"t.wav", "--output"};
    QTest::newRow("output twice") << QStringList{"t.wav", "--output", "o.wav", "--output", "p.wav"};
    QTest::newRow("unknown option") << QStringList{"t.wav", "--output", "o.wav", "--force"};
    QTest::newRow("empty track") << QStringList{"", "--output", "o.wav"};
}

void TestToWave::badUsage() {
    QFETCH(QStringList, args);
    std::vector<std::string> list;
    for (const QString& arg : args) list.push_back(arg.toStdString());
    const Run run = toWave(list);
    QCOMPARE(run.status, 2);
    QVERIFY(contains(run.err, "usage: brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]"));
    QVERIFY(run.out.empty());
}

void TestToWave::builtProgramConverts() {
    const QString output = m_dir->path() + "/program.wav";
    QProcess program;
    program.start(QStringLiteral(BRENVIK_CLI_PATH),
                  {"to-wave", QString::fromStdString(m_left), QString::fromStdString(m_right),
                   "--output", output});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), output + "\n");
    QCOMPARE(readFile(output.toStdString()), concat(expectedHeader(2, 44100, 176400, 4, 12288),
                                                    interleaved(m_leftAudio, m_rightAudio)));
}

QTEST_GUILESS_MAIN(TestToWave)
#include "tst_towave.moc"
