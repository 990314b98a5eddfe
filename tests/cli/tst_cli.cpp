// brenvik-cli in-process on real files: arguments, exit statuses, what goes to each stream, and
// one whole run of each command (the operations' own tests cover their checks and messages).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "CliRun.h"
#include "LoopDescription.h"
#include "LoopFixture.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

loop::DecodedDescription decoded(const std::string& loopFolder) {
    loop::Description d{};
    const auto ldf = readFile(loopFolder + "/loopinfo.ldf");
    std::copy(ldf.begin(), ldf.end(), d.begin());
    return loop::decodeDescription(d);
}

QJsonObject json(const CliRun& run) { return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object(); }

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    const std::vector<uint8_t> m_stereoData = patternBytes(12 * 22050 * 2 + 1000, 3);  // 12 beat positions

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    std::string card() const { return path("card"); }
    std::string source() const { return path("stereo.wav"); }
    CliRun toLoop(std::vector<std::string> more = {}) const {
        more.insert(more.begin(), {"to-loop", source(), "--dest", card()});
        return runCli(more);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        fs::create_directory(card());
        writeFile(source(), wave(2, m_stereoData));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));  // the backup store
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("nothing") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"convert"} << 2;
        QTest::newRow("-h") << QStringList{"-h"} << 0;
        QTest::newRow("info: no path") << QStringList{"info"} << 2;
        QTest::newRow("info: two paths") << QStringList{"info", "a.wav", "b.wav"} << 2;
        QTest::newRow("info: json twice") << QStringList{"info", "a.wav", "--json", "--json"} << 2;
        QTest::newRow("info: --help") << QStringList{"info", "--help"} << 0;
        QTest::newRow("to-loop: -h") << QStringList{"to-loop", "-h"} << 0;
        QTest::newRow("to-wave: --help") << QStringList{"to-wave", "--help"} << 0;
        QTest::newRow("--version with more") << QStringList{"--version", "info"} << 2;
        QTest::newRow("to-loop: no dest") << QStringList{"to-loop", "s.wav"} << 2;
        QTest::newRow("to-loop: unknown option") << QStringList{"to-loop", "s.wav", "--dest", "D", "--speed", "2"} << 2;
        QTest::newRow("to-loop: two sources, one --loop") << QStringList{"to-loop", "s.wav", "t.wav", "--dest", "D", "--loop", "1"} << 2;
        QTest::newRow("to-loop: 4x beats") << QStringList{"to-loop", "s.wav", "--dest", "D", "--beats", "4x"} << 2;
        QTest::newRow("to-loop: 8 per bar") << QStringList{"to-loop", "s.wav", "--dest", "D", "--beats-per-bar", "8"} << 2;
        QTest::newRow("to-loop: track 5") << QStringList{"to-loop", "s.wav", "--dest", "D", "--track", "5"} << 2;
        QTest::newRow("to-loop: right on the left's 1") << QStringList{"to-loop", "s.wav", "--dest", "D", "--right-track", "1"} << 2;
        QTest::newRow("to-loop: pitch -") << QStringList{"to-loop", "s.wav", "--dest", "D", "--pitch", "-"} << 2;
        QTest::newRow("to-loop: pitch 1.234") << QStringList{"to-loop", "s.wav", "--dest", "D", "--pitch", "1.234"} << 2;
        QTest::newRow("to-loop: pitch -24.01") << QStringList{"to-loop", "s.wav", "--dest", "D", "--pitch", "-24.01"} << 2;
        QTest::newRow("to-loop: pitch 13") << QStringList{"to-loop", "s.wav", "--dest", "D", "--right-pitch", "13"} << 2;
        QTest::newRow("to-loop: pan 101") << QStringList{"to-loop", "s.wav", "--dest", "D", "--pan", "101"} << 2;
        QTest::newRow("to-loop: pan missing") << QStringList{"to-loop", "s.wav", "--dest", "D", "--right-pan"} << 2;
        QTest::newRow("to-loop: four-character loop") << QStringList{"to-loop", "s.wav", "--dest", "D", "--loop", "1234"} << 2;
        QTest::newRow("to-wave: no output") << QStringList{"to-wave", "t.wav"} << 2;
        QTest::newRow("to-wave: three tracks") << QStringList{"to-wave", "a", "b", "c", "--output", "o.wav"} << 2;
        QTest::newRow("to-wave: output twice") << QStringList{"to-wave", "t", "--output", "o", "--output", "p"} << 2;
        QTest::newRow("to-wave: empty track") << QStringList{"to-wave", "", "--output", "o.wav"} << 2;
        QTest::newRow("backup: an option for the card") << QStringList{"backup", "-x", "dest"} << 2;
        QTest::newRow("restore: --loop without a number") << QStringList{"restore", "b", "c", "--loop"} << 2;
        QTest::newRow("list: unknown option") << QStringList{"list", "--bogus"} << 2;
        QTest::newRow("to-wave: unknown option") << QStringList{"to-wave", "t", "--output", "o", "--force"} << 2;
    }

    // Bad usage says how to use the command on the error stream; asked for, it goes to the output.
    void badUsage() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        std::vector<std::string> words;
        for (const QString& arg : args) words.push_back(arg.toStdString());
        const CliRun run = runCli(words);
        QCOMPARE(run.status, status);
        QVERIFY((status == 0 ? run.out : run.err).find("usage: brenvik-cli") != std::string::npos);
        QCOMPARE((status == 0 ? run.err : run.out), std::string());
        QCOMPARE(entriesIn(card()), 0);
    }

    void version() {
        const CliRun run = runCli({"--version"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.rfind("brenvik-cli ", 0), size_t(0));
    }

    // Beats the wave cannot hold are bad usage too, told once the wave is open.
    void beatsForThisWave() {
        for (auto [beats, perBar] : {std::pair{"0", "1"}, {"14", "1"}, {"12", "5"}}) {
            const CliRun run = toLoop({"--beats", beats, "--beats-per-bar", perBar});
            QCOMPARE(run.status, 2);
            QCOMPARE(entriesIn(card()), 0);
        }
        QVERIFY(toLoop({"--beats", "14"}).said("--beats must lie between 1 and 13 for this wave"));
    }

    // The lowest free number; the written folder on the output, the messages on the error stream.
    void toLoopWrites() {
        fs::create_directory(card() + "/LOOP1");
        const CliRun run = toLoop({"--beats", "4", "--beats-per-bar", "2", "--track", "2", "--right-track", "4",
                                   "--pan", "-35", "--pitch", "-1.5", "--right-pan", "100", "--right-pitch", "12"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, card() + "/LOOP2\n");
        QCOMPARE(run.err, std::string("File writing successful\n"));
        QCOMPARE(readFile(card() + "/LOOP2/track4.wav"), expectedTrack(channelWords(m_stereoData, 1, 264960)));
        const loop::DecodedDescription d = decoded(card() + "/LOOP2");
        QCOMPARE((std::vector<int>{d.beatCount, d.beatsPerBar, d.division}), (std::vector<int>{4, 2, 4}));
        QCOMPARE((std::vector<int>{d.tracks[1].pan, d.tracks[1].pitch, d.tracks[3].pan, d.tracks[3].pitch}),
                 (std::vector<int>{-35, -150, 100, 1200}));
    }

    // Without --overwrite an existing loop stays (the question is answered Cancel); with it, Yes.
    void toLoopOverwrite() {
        fs::create_directory(card() + "/LOOP7");
        writeFile(card() + "/LOOP7/old.bin", {1});
        const CliRun kept = toLoop({"--loop", "007"});
        QCOMPARE(kept.status, 1);
        QCOMPARE(kept.err, std::string("Loop already exists. Overwrite?\n"));
        QVERIFY(fs::exists(card() + "/LOOP7/old.bin"));
        const CliRun replaced = toLoop({"--loop", "7", "--overwrite"});
        QCOMPARE(replaced.status, 0);
        QVERIFY(!fs::exists(card() + "/LOOP7/old.bin"));
        const loop::DecodedDescription plain = decoded(card() + "/LOOP7");  // tracks 1 and 2, no pan or pitch
        QCOMPARE((std::vector<int>{plain.tracks[0].chosen, plain.tracks[1].chosen, plain.tracks[0].pan,
                                   plain.tracks[0].pitch, plain.tracks[1].pan, plain.tracks[1].pitch}),
                 (std::vector<int>{1, 1, 0, 0, 0, 0}));
        const fs::directory_iterator stored(path("data/Brenvik/backups"));  // the old loop, backed up
        QCOMPARE(readFile(stored->path().string() + "/LOOP7/old.bin"), std::vector<uint8_t>{1});
        QCOMPARE(toLoop({"--loop", "abc"}).err, std::string("Loop Number should be a Number [1-999]\n"));
        writeFile(source(), wave(1, patternBytes(100), 48000));
        const CliRun refused = toLoop();
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.said("this file has a sample rate of 48kHz"));
    }

    void noFreeLoopNumber() {
        for (int n = 1; n <= 999; ++n) fs::create_directory(card() + "/LOOP" + std::to_string(n));
        const CliRun run = toLoop();
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("no free loop number in " + card()));
    }

    // Two tracks give a stereo wave; an existing output is kept without --overwrite.
    void toWave() {
        const auto left = patternBytes(4096, 5), right = patternBytes(2048, 9);
        const std::string l = makeLoop(m_dir->path().toStdString(), "LOOP1", left, 1, 256);
        const std::string r = makeLoop(m_dir->path().toStdString(), "LOOP2", right, 3);
        const CliRun run = runCli({"to-wave", l, r, "--output", path("out.wav")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, path("out.wav") + "\n");
        QCOMPARE(readFile(path("out.wav")), expectedWave(2, 44100, interleaved(left, right)));
        const CliRun kept = runCli({"to-wave", l, "--output", path("out.wav")});
        QCOMPARE(kept.status, 1);
        QVERIFY(kept.said(path("out.wav") + " was left as it is (--overwrite replaces it)"));
        QCOMPARE(runCli({"to-wave", l, "--output", path("out.wav"), "--overwrite"}).status, 0);
        QCOMPARE(readFile(path("out.wav")), expectedWave(1, 44100, left));
    }

    void toWaveRefusals() {
        const std::string t = makeLoop(m_dir->path().toStdString(), "LOOP1", patternBytes(1024));
        writeDescription(path("LOOP1"), 0, -5);  // a negative audio size
        QCOMPARE(runCli({"to-wave", t, "--output", path("o.wav")}).err,
                 std::string("Invalid or Untrimmed Repeater File\n  pre-buffer 16384, audio -2048 and post-buffer 3072 "
                             "bytes in a data chunk of 17408\n"));
        // A data size near the negative limit leaves 32 bits: the window's opener ends without a message.
        const std::string u = makeLoop(m_dir->path().toStdString(), "LOOP2", patternBytes(1024));
        writeFile(u, riff({fmtChunk(1, 44100, 16), chunk("data", INT32_MIN)}));
        const CliRun unreadable = runCli({"to-wave", u, "--output", path("o.wav")});
        QCOMPARE(unreadable.err,
                 u + ": cannot be read as a Repeater track\n  -2147483648 - 1024 leaves the signed 32-bit range\n");
        QVERIFY(!fs::exists(path("o.wav")));
    }

    void info() {
        const CliRun waveRun = runCli({"info", source(), "--json"});
        QVERIFY(waveRun.out.starts_with("{\n  \"kind\": \"wave\",\n  \"path\": "));  // two spaces a level
        const QJsonObject wave = json(waveRun);
        QCOMPARE(wave["kind"].toString(), QStringLiteral("wave"));
        QCOMPARE(wave["wave"]["channels"].toInt(), 2);
        QCOMPARE(wave["wave"]["opener"]["maxBeats"].toInt(), 12);
        QCOMPARE(wave["wave"]["duration"]["text"].toString(), QStringLiteral("0:03.0"));  // 530,200 bytes
        const std::string track = makeLoop(m_dir->path().toStdString(), "LOOP5", patternBytes(1024), 2);
        const QJsonObject loopInfo = json(runCli({"info", path("LOOP5"), "--json"}));
        QCOMPARE(loopInfo["description"]["checkTriple2"]["correct"].toBool(), true);
        QCOMPARE(loopInfo["tracks"][1]["fileExists"].toBool(), true);
        const QJsonObject sizes = json(runCli({"info", track, "--json"}))["trackSizes"].toObject();
        QCOMPARE((std::vector<int>{sizes["pre"].toInt(), sizes["audio"].toInt(), sizes["post"].toInt()}),
                 (std::vector<int>{16384, 1024, 0}));
        QCOMPARE(sizes["duration"]["seconds"].toDouble(), 1024 / 88200.0);
        QCOMPARE(loopInfo["description"]["duration"]["text"].toString(), QStringLiteral("0:00.0"));
        const CliRun missing = runCli({"info", path("missing.wav")});
        QCOMPARE(missing.status, 1);
        QCOMPARE(missing.err, "brenvik-cli info: " + path("missing.wav") + ": no such file or folder\n");
        QVERIFY(runCli({"info", source()}).out.find("channels: 2") != std::string::npos);
        // A name with a space and a control character, holding a wave that cannot be opened.
        const std::string odd = path("odd name\x01.wav");
        const std::pair<std::vector<uint8_t>, QString> refused[] = {
            {{0x52, 0x49, 0x46, 0x46}, "Error in fileOpeing()"},  // "RIFF" and nothing more
            {test::wave(1, patternBytes(100), 48000),
             "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz"}};
        for (const auto& [bytes, message] : refused) {
            writeFile(odd, bytes);
            const CliRun oddRun = runCli({"info", odd, "--json"});
            QVERIFY(oddRun.out.find("odd name\\u0001.wav\"") != std::string::npos);
            const QJsonObject oddInfo = json(oddRun);
            QCOMPARE(oddInfo["wave"]["opener"]["message"].toString(), message);
        }
    }

    void builtProgram() {
        QProcess program;
        program.start(BRENVIK_CLI_PATH, {"to-loop", QString::fromStdString(source()), "--dest",
                                         QString::fromStdString(card()), "--loop", "9", "--beats", "1"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput().toStdString(), card() + "/LOOP9\n");
        QVERIFY(fs::exists(card() + "/LOOP9/loopinfo.ldf"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
