// brenvik-cli to-loop, in-process on real folders, plus the only runs of the built program: its
// arguments, streams and exit status.
#include <QProcess>
#include <QTest>

#include <array>
#include <cmath>
#include <filesystem>

#include "../wave_to_repeater/Wav2RepBench.h"
#include "CliRun.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

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
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        fs::create_directory(card());
        writeFile(mono(), wave(1, m_monoData));
        writeFile(stereo(), wave(2, m_stereoData));
    }

    void monoWithDefaults() {
        const CliRun run = toLoop(mono());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, card() + "/LOOP1\n");
        QVERIFY(run.said("File writing successful"));
        const size_t whole = kBytes / 512 * 512;
        QCOMPARE(readFile(card() + "/LOOP1/track1.wav"),
                 expectedTrack({m_monoData.begin(), m_monoData.begin() + whole}));
        const auto ldf = readFile(card() + "/LOOP1/loopinfo.ldf");
        QCOMPARE(int(ldf[0x100C]), 36);  // the window starts at position 35
        QCOMPARE(int(ldf[0x100F]), 1);
        QCOMPARE(int(ldf[0x1012]), 4);
    }

    // The lowest free number, or the text given as the loop number box would take it.
    void loopNumber_data() {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<QString>("text");  // empty: no --loop
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("folder");
        const QString written = "File writing successful";
        QTest::newRow("lowest free") << QList<int>{1, 2, 4} << "" << 0 << written << "LOOP3";
        QTest::newRow("007") << QList<int>{} << "007" << 0 << written << "LOOP7";
        QTest::newRow("2.5") << QList<int>{} << "2.5" << 0 << written << "LOOP2";
        QTest::newRow("abc") << QList<int>{} << "abc" << 1 << "Loop Number should be a Number [1-999]" << "";
        QTest::newRow("0") << QList<int>{} << "0" << 1 << "Loop Number is out of Range [1-999]" << "";
        QTest::newRow("1234") << QList<int>{} << "1234" << 2 << "at most 3 characters" << "";
    }

    void loopNumber() {
        QFETCH(QList<int>, existing);
        QFETCH(QString, text);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QString, folder);
        for (int n : existing) fs::create_directory(card() + "/LOOP" + std::to_string(n));
        const CliRun run = text.isEmpty() ? toLoop(mono()) : toLoop(mono(), {"--loop", text.toStdString()});
        QCOMPARE(run.status, status);
        QVERIFY(run.said(said.toStdString()));
        if (status == 0)
            QCOMPARE(run.out, card() + "/" + folder.toStdString() + "\n");
        else
            QCOMPARE(entriesIn(card()), 0);
    }

    void noFreeNumber() {
        for (int n = 1; n <= 999; ++n) fs::create_directory(card() + "/LOOP" + std::to_string(n));
        const CliRun run = toLoop(mono());
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("no free loop number"));
        QVERIFY(!fs::exists(card() + "/LOOP1/track1.wav"));
    }

    void existingLoop() {
        fs::create_directory(card() + "/LOOP5");
        writeFile(card() + "/LOOP5/old.bin", {1, 2, 3});
        CliRun run = toLoop(mono(), {"--loop", "5"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("Loop already exists. Overwrite?"));
        QVERIFY(fs::exists(card() + "/LOOP5/old.bin"));
        run = toLoop(mono(), {"--loop", "5", "--overwrite"});
        QCOMPARE(run.status, 0);
        QVERIFY(!fs::exists(card() + "/LOOP5/old.bin"));
        QVERIFY(fs::exists(card() + "/LOOP5/track1.wav"));
    }

    // 12 beats as 2 bars of 6: the writer takes bars as the beat count and the tempo from entry
    // 6 x 11 = 66, a loop of 67 beats.
    void beatsAndBars() {
        const CliRun run = toLoop(mono(), {"--beats", "12", "--beats-per-bar", "6"});
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

    void badUsage_data() {
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

    void badUsage() {
        QFETCH(QStringList, args);
        for (QString& arg : args) arg = arg == "D" ? QString::fromStdString(card()) : arg;
        args.prepend(QString::fromStdString(mono()));
        const CliRun run = runCli("to-loop", stdStrings(args));
        QCOMPARE(run.status, 2);
        QVERIFY(run.said("brenvik-cli to-loop: "));
        QCOMPARE(entriesIn(card()), 0);
    }

    // Each channel on its own track, with its own pan and pitch (semitones with two decimals).
    void stereoTracks_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QList<int>>("expected");  // left track, right track, left pan, pitch, right pan, pitch
        QTest::newRow("defaults") << QStringList{} << QList<int>{1, 2, 0, 0, 0, 0};
        QTest::newRow("2 and 4, panned and pitched")
            << QStringList{"--track", "2", "--right-track", "4", "--pan", "-35", "--pitch", "-1.5", "--right-pan", "20",
                           "--right-pitch", "0.05"}
            << QList<int>{2, 4, -35, -150, 20, 5};
        // The right channel defaults to track 1 when the left one takes track 2.
        QTest::newRow("left on 2") << QStringList{"--track", "2"} << QList<int>{2, 1, 0, 0, 0, 0};
    }

    void stereoTracks() {
        QFETCH(QStringList, args);
        QFETCH(QList<int>, expected);
        const CliRun run = toLoop(stereo(), stdStrings(args));
        QCOMPARE(run.status, 0);
        const std::string loop = card() + "/LOOP1/";
        for (int channel : {0, 1})
            QCOMPARE(readFile(loop + "track" + std::to_string(expected[channel]) + ".wav"),
                     expectedTrack(channelWords(m_stereoData, channel, 4864)));
        const auto ldf = readFile(loop + "loopinfo.ldf");
        const std::array<int, 4> pan{0x1036, 0x104B, 0x1063, 0x107B}, pitch{0x1039, 0x104E, 0x1066, 0x107E};
        for (int channel : {0, 1}) {
            const size_t track = size_t(expected[channel] - 1);
            QCOMPARE(read24(ldf, pan[track]), expected[2 + 2 * channel]);
            QCOMPARE(read24(ldf, pitch[track]), expected[3 + 2 * channel]);
        }
    }

    void refusedWave() {
        writeFile(mono(), wave(1, m_monoData, 48000));
        const CliRun run = toLoop(mono());
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz"));
        QCOMPARE(entriesIn(card()), 0);
    }

    void builtProgram() {
        QProcess program;
        program.start(BRENVIK_CLI_PATH, {"to-loop", QString::fromStdString(mono()), "--dest",
                                         QString::fromStdString(card()), "--loop", "9"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput().toStdString(), card() + "/LOOP9\n");
        QVERIFY(program.readAllStandardError().contains("File writing successful"));
        QVERIFY(fs::exists(card() + "/LOOP9/loopinfo.ldf"));
        program.start(BRENVIK_CLI_PATH, {"to-loop", QString::fromStdString(mono())});  // no --dest
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("--dest DIR is required"));
    }

private:
    std::string card() const { return m_dir->path().toStdString() + "/card"; }
    std::string mono() const { return m_dir->path().toStdString() + "/mono.wav"; }
    std::string stereo() const { return m_dir->path().toStdString() + "/stereo.wav"; }
    // to-loop SOURCE --dest card and the further arguments.
    CliRun toLoop(const std::string& source, std::vector<std::string> more = {}) const {
        more.insert(more.begin(), {source, "--dest", card()});
        return runCli("to-loop", more);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<uint8_t> m_monoData = patternBytes(kBytes);
    std::vector<uint8_t> m_stereoData = patternBytes(10000, 3);
};

QTEST_GUILESS_MAIN(TestToLoop)
#include "tst_toloop.moc"
