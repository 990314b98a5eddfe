// brenvik-cli in-process on real files: arguments, exit statuses, what goes to each stream, and
// one whole run of each command (the operations' own tests cover their checks and messages).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "CliRun.h"
#include "Commands.h"
#include "LoopDescription.h"
#include "LoopFixture.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "NumberText.h"
#include "RepeaterToWaveModel.h"
#include "TestFiles.h"
#include "TestInteraction.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

QJsonObject json(const CliRun& run) { return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object(); }

constexpr size_t kBlock = 1 << 20;

// A wave of `bytes` bytes of noise, written a block at a time, each block with its own seed.
void writeNoiseWave(const std::string& path, int16_t channels, int32_t bytes) {
    std::ofstream out(path, std::ios::binary);
    const auto head = riff({fmtChunk(channels, 44100, 16), chunk("data", bytes)});
    out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    for (size_t block = 0; block * kBlock < size_t(bytes); ++block) {
        const auto noise = noiseBytes(std::min(kBlock, size_t(bytes) - block * kBlock), uint32_t(block + 1));
        out.write(reinterpret_cast<const char*>(noise.data()), std::streamsize(noise.size()));
    }
}

// Whether a wave is `header` followed by the first `audio` bytes of the noise wave's data, and no more.
bool holdsSourceAudio(const std::string& path, const std::vector<uint8_t>& header, int32_t audio) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> got(header.size());
    in.read(reinterpret_cast<char*>(got.data()), std::streamsize(got.size()));
    if (got != header || fs::file_size(path) != header.size() + size_t(audio)) return false;
    for (size_t block = 0; block * kBlock < size_t(audio); ++block) {
        const auto noise = noiseBytes(std::min(kBlock, size_t(audio) - block * kBlock), uint32_t(block + 1));
        got.resize(noise.size());
        in.read(reinterpret_cast<char*>(got.data()), std::streamsize(got.size()));
        if (got != noise) return false;
    }
    return true;
}

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
        QTest::addColumn<QString>("said");  // the first line on the error stream
        const QString toLoop = "brenvik-cli to-loop: ", toWave = "brenvik-cli to-wave: ";
        const auto toLoopWith = [](const QStringList& more) { return QStringList{"to-loop", "s.wav", "--dest", "D"} + more; };
        QTest::newRow("nothing") << QStringList{} << "usage: brenvik-cli info PATH [--json]";
        QTest::newRow("unknown command") << QStringList{"mix"} << "brenvik-cli: unknown command 'mix'";
        QTest::newRow("--version with more") << QStringList{"--version", "info"} << "brenvik-cli: unexpected argument 'info'";
        QTest::newRow("info: no path") << QStringList{"info"} << "brenvik-cli info: missing PATH";
        QTest::newRow("info: json twice") << QStringList{"info", "a.wav", "--json", "--json"} << "brenvik-cli info: --json is given twice";
        QTest::newRow("info: -x") << QStringList{"info", "-x"} << "brenvik-cli info: unknown option -x";
        QTest::newRow("info: -x after --") << QStringList{"info", "--", "-x", "b"} << "brenvik-cli info: unexpected argument 'b'";
        QTest::newRow("to-loop: no source") << QStringList{"to-loop", "--dest", "D"} << toLoop + "missing SOURCE";
        QTest::newRow("to-loop: no dest") << QStringList{"to-loop", "s.wav"} << toLoop + "--dest DIR is required";
        QTest::newRow("to-loop: empty dest") << QStringList{"to-loop", "s.wav", "--dest", ""} << toLoop + "--dest: DIR is empty";
        QTest::newRow("to-loop: two sources, one --loop") << QStringList{"to-loop", "s.wav", "t.wav", "--dest", "D", "--loop", "1"} << toLoop + "--loop takes a single SOURCE";
        QTest::newRow("to-loop: many beats") << toLoopWith({"--beats", "many"}) << toLoop + "--beats: 'many' is not a whole number";
        QTest::newRow("to-loop: beats, a line break and a delete") << toLoopWith({"--beats", "4\n\x7f"}) << toLoop + "--beats: '4\\n\\x7f' is not a whole number";
        QTest::newRow("to-loop: 2.0 beats") << toLoopWith({"--beats", "2.0"}) << toLoop + "--beats: '2.0' is not a whole number";
        QTest::newRow("to-loop: no beats") << toLoopWith({"--beats", "0"}) << toLoop + "--beats: '0' is outside 1 to 32768";
        QTest::newRow("to-loop: 8 per bar") << toLoopWith({"--beats-per-bar", "8"}) << toLoop + "--beats-per-bar: '8' is outside 1 to 7";
        QTest::newRow("to-loop: track 5") << toLoopWith({"--track", "5"}) << toLoop + "--track: '5' is outside 1 to 4";
        QTest::newRow("to-loop: right on the left's 1") << toLoopWith({"--right-track", "1"}) << toLoop + "the left and the right channel cannot share a track";
        QTest::newRow("to-loop: pitch -") << toLoopWith({"--pitch", "-"}) << toLoop + "--pitch: '-' is not a number with up to 2 decimals";
        QTest::newRow("to-loop: pitch 1.234") << toLoopWith({"--pitch", "1.234"}) << toLoop + "--pitch: '1.234' is not a number with up to 2 decimals";
        QTest::newRow("to-loop: pitch -24.01") << toLoopWith({"--pitch", "-24.01"}) << toLoop + "--pitch: '-24.01' is outside -24 to 12";
        QTest::newRow("to-loop: pitch 13") << toLoopWith({"--right-pitch", "13"}) << toLoop + "--right-pitch: '13' is outside -24 to 12";
        QTest::newRow("to-loop: pan 101") << toLoopWith({"--pan", "101"}) << toLoop + "--pan: '101' is outside -100 to 100";
        QTest::newRow("to-loop: pan past 64 bits") << toLoopWith({"--pan", "-99999999999999999999"}) << toLoop + "--pan: '-99999999999999999999' is outside -100 to 100";
        QTest::newRow("to-loop: pan missing") << toLoopWith({"--right-pan"}) << toLoop + "--right-pan needs a value";
        QTest::newRow("to-loop: beats twice") << toLoopWith({"--beats", "4", "--beats", "4"}) << toLoop + "--beats is given twice";
        QTest::newRow("to-loop: four-character loop") << toLoopWith({"--loop", "1234"}) << toLoop + "--loop: '1234' is longer than 3 characters";
        QTest::newRow("to-wave: no output") << QStringList{"to-wave", "t.wav"} << toWave + "--output OUT is required";
        QTest::newRow("to-wave: three tracks") << QStringList{"to-wave", "a", "b", "c", "--output", "o.wav"} << toWave + "unexpected argument 'c'";
        QTest::newRow("to-wave: empty track") << QStringList{"to-wave", "", "--output", "o.wav"} << toWave + "TRACK is empty";
        QTest::newRow("backup: no dest") << QStringList{"backup", "card"} << "brenvik-cli backup: missing DEST";
        QTest::newRow("restore: loop 1000") << QStringList{"restore", "b", "c", "--loop", "1", "--loop", "1000"} << "brenvik-cli restore: --loop: '1000' is outside 1 to 999";
        QTest::newRow("export: no --to") << QStringList{"export", "card"} << "brenvik-cli export: --to DIR is required";
    }

    // Bad usage names what is wrong, then gives the usage, on the error stream, and writes nothing.
    void badUsage() {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        std::vector<std::string> words;
        for (const QString& arg : args) words.push_back(arg.toStdString());
        const CliRun run = runCli(words);
        QCOMPARE(run.status, 2);
        QCOMPARE(QString::fromStdString(run.err.substr(0, run.err.find('\n'))), said);
        const bool ofCommand = !args.isEmpty() && said.startsWith("brenvik-cli " + args[0] + ": ");
        QVERIFY(run.err.find("usage: brenvik-cli " + (ofCommand ? words[0] : "info") + " ") != std::string::npos);
        QCOMPARE(run.out, std::string());
        QCOMPARE(entriesIn(card()), 0);
    }

    // Asked for, the usage goes to the output: every command in order, within 80 columns, what does not
    // fit carried below the first option; behind a command, with a line on each argument.
    void help() {
        const CliRun all = runCli({"-h"});
        QCOMPARE(all.status, 0);
        QStringList commands, expected;
        for (const cli::Command* command : cli::kCommands) expected << QString::fromUtf8(command->name.data(), command->name.size());
        const QStringList lines = QString::fromStdString(all.out).split('\n');
        for (const QString& line : lines.mid(0, lines.size() - 3)) {
            QVERIFY2(line.size() <= 80 && !line.endsWith(' '), qPrintable(line));
            if (line.startsWith(commands.isEmpty() ? "usage: brenvik-cli " : "       brenvik-cli ")) commands << line.mid(19).section(' ', 0, 0);
            else QVERIFY2(line.startsWith(QString(19, ' ') + "[") && line[19] != ' ', qPrintable(line));
        }
        QCOMPARE(commands, expected);
        QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"       brenvik-cli --version", "Each command takes -h or --help alone for its own usage.", ""}));
        const CliRun restore = runCli({"restore", "b", "-h"});  // -h asks for help among other arguments too
        QCOMPARE(restore.status, 0);
        const QStringList about = QString::fromStdString(restore.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY(about[0].startsWith("usage: brenvik-cli restore BACKUP CARD [--loop N]... [--as M]"));
        for (const char* argument : {"BACKUP", "CARD", "--loop N", "--as M", "--overwrite", "--no-verify"})
            QCOMPARE(about.filter(QRegularExpression("^  " + QRegularExpression::escape(argument) + " +[a-z0-9]")).size(), 1);
        for (const QString& line : about.mid(about.indexOf(QRegularExpression("^  BACKUP.*"))))
            QVERIFY2(line.size() <= 80 && ((line.startsWith("  ") && line[2] != ' ') || (line.startsWith(QString(15, ' ')) && line[15] != ' ')), qPrintable(line));
        QVERIFY(runCli({"to-loop", "--help"}).out.find("\n  --pitch S          -24 to 12: the pitch of") != std::string::npos);
    }

    // The command line's one number reader, with 2 decimals as pitch takes them, and back to text.
    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");  // -1 for no number
        QTest::addColumn<QString>("shortest");
        for (const auto& [text, value, shortest] :
             {std::tuple{"0.05", 5, "0.05"}, {"-1.5", -150, "-1.5"}, {"+12", 1200, "12"}, {".5", 50, "0.5"},
              {"007.10", 710, "7.1"}, {"-0", 0, "0"}, {"5.", -1, ""}, {"1.2.3", -1, ""}, {" 1", -1, ""}, {"+-1", -1, ""}})
            QTest::newRow(text) << QString(text) << qint64(value) << QString(shortest);
    }

    void numbers() {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QFETCH(QString, shortest);
        const std::optional<int64_t> read = cli::readNumber(text.toStdString(), 2);
        QCOMPARE(read.value_or(-1), value);
        if (read) QCOMPARE(QString::fromStdString(cli::numberText(*read, 2)), shortest);
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
        QVERIFY(toLoop({"--beats", "14"}).said("brenvik-cli to-loop: --beats: '14' is outside 1 to 13 for this wave\n"));
        QVERIFY(toLoop({"--beats-per-bar", "5"}).said("--beats-per-bar: '5' does not divide 7 beats\n"));
    }

    // The lowest free number; the written folder on the output, the messages on the error stream.
    void toLoopWrites() {
        fs::create_directory(card() + "/LOOP1");
        const CliRun run = toLoop({"--beats", "4", "--beats-per-bar", "2", "--track", "2", "--right-track", "4",
                                   "--pan", "-35", "--pitch", "-1.5", "--right-pan", "100", "--right-pitch", "12"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, card() + "/LOOP2\n");
        QCOMPARE(run.err, std::string("warning: LOOP2 will play at 139.7 BPM, not the 79.8 BPM shown (--tempo-as-shown "
                                      "writes the tempo shown)\nFile writing successful\n"));
        QCOMPARE(readFile(card() + "/LOOP2/track4.wav"), expectedTrack(channelWords(m_stereoData, 1, 264960)));
        const loop::DecodedDescription d = readDescription(card() + "/LOOP2");
        QCOMPARE((std::vector<int>{d.beatCount, d.beatsPerBar, d.division}),
                 (std::vector<int>{4, 2, 4}));
        QCOMPARE((std::vector<int>{d.tracks[1].pan, d.tracks[1].pitch, d.tracks[3].pan, d.tracks[3].pitch}),
                 (std::vector<int>{-35, -150, 100, 1200}));
    }

    // Without --overwrite an existing loop stays (the question is answered Cancel); with it, Yes.
    void toLoopOverwrite() {
        fs::create_directory(card() + "/LOOP7");
        writeFile(card() + "/LOOP7/old.bin", {1});
        const CliRun kept = toLoop({"--loop", "007"});
        QCOMPARE(kept.status, 1);
        QCOMPARE(kept.err, "Loop already exists. Overwrite?\n  " + card() + "/LOOP7\n");
        QVERIFY(fs::exists(card() + "/LOOP7/old.bin"));
        const CliRun replaced = toLoop({"--loop", "7", "--overwrite"});
        QCOMPARE(replaced.status, 0);
        QVERIFY(!fs::exists(card() + "/LOOP7/old.bin"));
        const loop::DecodedDescription plain = readDescription(card() + "/LOOP7");  // tracks 1 and 2, no pan or pitch
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

    // --dry-run writes nothing and prints what the save then writes; the tempo comes from beats
    // per bar x position, or with --tempo-as-shown from the position the window shows.
    void dryRunAndTempoAsShown_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("summary");  // after "LOOP1: "; empty: the save fails
        QTest::addColumn<bool>("warned");
        const QString tail = "16 beats in %1 bars of %2 (division 4), mono on track 1, 8.0 s";
        QTest::newRow("4/4 as shown") << QStringList{"--beats-per-bar", "4", "--tempo-as-shown"}
                                      << "120.0 BPM, " + tail.arg(4).arg(4) << false;
        QTest::newRow("2 per bar") << QStringList{"--beats-per-bar", "2"} << "232.5 BPM, " + tail.arg(8).arg(2) << true;
        QTest::newRow("1 per bar") << QStringList{} << "120.0 BPM, " + tail.arg(16).arg(1) << false;
        QTest::newRow("4/4 past the table") << QStringList{"--beats-per-bar", "4"} << "" << true;
    }
    void dryRunAndTempoAsShown() {
        QFETCH(QStringList, args);
        QFETCH(QString, summary);
        QFETCH(bool, warned);
        writeFile(source(), wave(1, patternBytes(705600)));  // 8 s: 32 beat positions
        std::vector<std::string> words{"--beats", "16"};
        for (const QString& arg : args) words.push_back(arg.toStdString());
        const auto run = [&](const char* option) {
            std::vector<std::string> more = words;
            more.push_back(option);
            return toLoop(more);
        };
        const CliRun dry = run("--dry-run");
        QCOMPARE(entriesIn(card()), 0);
        const CliRun real = run("--verbose");
        QCOMPARE(dry.status, real.status);
        if (summary.isEmpty()) {
            QCOMPARE(dry.err, real.err);
            QVERIFY(dry.said("error in fileSaving()"));
            QCOMPARE(entriesIn(card()), 0);
            return;
        }
        const std::string line = card() + "/LOOP1: " + summary.toStdString() + "\n";
        QVERIFY2(dry.out.find(line) == 0, dry.out.c_str());
        QCOMPARE(dry.out.find("  warning: The Repeater will get") != std::string::npos, warned);
        QVERIFY2(real.out.find(card() + "/LOOP1\n  " + line) == 0, real.out.c_str());
        const std::string written = message::tempoText(loop::tempoOfCode(readDescription(card() + "/LOOP1").tempoCode));
        QCOMPARE(written + " BPM, ", summary.left(11).toStdString());
    }

    // A loop the Repeater would play otherwise than shown is written with a warning on the error
    // stream, or with --strict refused before anything is written (a dry run too).
    void tempoNotShown_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("tempo");  // written; empty: nothing written
        const QString played = "LOOP1 will play at 232.5 BPM, not the 120.0 BPM shown";
        const QString noTempo = "LOOP1 has no tempo with 4 beats per bar (the tempo table ends before it): only the "
                                "120.0 BPM shown can be written";
        const QString flag = "--tempo-as-shown writes the tempo shown", strict = "\n  --strict: nothing written; " + flag + "\n";
        const QString written = "File writing successful\n";
        const QStringList twoPerBar{"--beats", "16", "--beats-per-bar", "2"}, fourPerBar{"--beats", "16", "--beats-per-bar", "4"};
        QTest::newRow("2 per bar") << 8 << twoPerBar << 0 << "warning: " + played + " (" + flag + ")\n" + written << "232.5";
        QTest::newRow("2 per bar, strict") << 8 << twoPerBar + QStringList{"--strict"} << 1 << played + strict << "";
        QTest::newRow("2 per bar, strict dry run") << 8 << twoPerBar + QStringList{"--strict", "--dry-run"} << 1 << played + strict << "";
        QTest::newRow("2 per bar as shown, strict") << 8 << twoPerBar + QStringList{"--strict", "--tempo-as-shown"} << 0 << written << "120.0";
        QTest::newRow("1 per bar, strict") << 8 << QStringList{"--beats", "16", "--strict"} << 0 << written << "120.0";
        QTest::newRow("4/4 past the table, strict") << 8 << fourPerBar + QStringList{"--strict"} << 1 << noTempo + strict << "";
        QTest::newRow("4/4 as shown, strict") << 8 << fourPerBar + QStringList{"--strict", "--tempo-as-shown"} << 0 << written << "120.0";
        QTest::newRow("300 beats") << 80 << QStringList{"--beats", "300"} << 0
                                   << "warning: LOOP1 will count 44 beats, not the 300 shown\n" + written << "225.0";
        QTest::newRow("300 beats, strict") << 80 << QStringList{"--beats", "300", "--strict"} << 1
                                           << "LOOP1 will count 44 beats, not the 300 shown\n  --strict: nothing written\n" << "";
    }
    void tempoNotShown() {
        QFETCH(int, seconds);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, tempo);
        const int32_t d = seconds * 88200;
        writeFile(source(), riff({fmtChunk(1, 44100, 16), chunk("data", d)}));
        fs::resize_file(source(), 44 + uintmax_t(d));  // sparse: silence
        std::vector<std::string> words;
        for (const QString& arg : args) words.push_back(arg.toStdString());
        const CliRun run = toLoop(words);
        QCOMPARE(QString::fromStdString(run.err), err);
        QCOMPARE(run.status, status);
        QCOMPARE(entriesIn(card()), args.contains("--dry-run") || tempo.isEmpty() ? 0 : 1);
        if (!tempo.isEmpty())
            QCOMPARE(QString::fromStdString(message::tempoText(loop::tempoOfCode(readDescription(card() + "/LOOP1").tempoCode))), tempo);
    }

    // The longest loops the writer accepts check clean, with their whole length, and come back
    // through to-wave and the Repeater-to-wave window as the source's samples.
    void longestLoopsReadBack_data() {
        QTest::addColumn<bool>("stereo");
        QTest::newRow("mono, end sector 65535") << false;
        QTest::newRow("stereo, 2592 clusters") << true;
    }
    void longestLoopsReadBack() {
        QFETCH(bool, stereo);
        const int32_t d = loop::longestLoopSource(stereo);
        const int16_t channels = stereo ? 2 : 1;
        writeNoiseWave(source(), channels, d);
        QCOMPARE(toLoop({"--beats", "200"}).status, 0);
        const std::string folder = card() + "/LOOP1";
        const CliRun check = runCli({"check", folder, "--strict"});
        QCOMPARE(check.out, folder + ": ok\n");
        QCOMPARE(check.status, 0);
        const double seconds = json(runCli({"list", card(), "--json"}))["loops"][0]["seconds"].toDouble();
        QVERIFY(qAbs(seconds - loop::audioLength(d, stereo) / 88200.0) < 0.01);

        std::vector<std::string> toWave{"to-wave", folder + "/track1.wav"};
        if (stereo) toWave.push_back(folder + "/track2.wav");
        toWave.insert(toWave.end(), {"--output", path("cli.wav")});
        const CliRun back = runCli(toWave);
        QVERIFY2(back.status == 0, back.err.c_str());
        TestInteraction ui;
        Files files;
        const Preferences preferences{card(), path(""), 45, true};
        RepeaterToWaveModel window(preferences, files, ui);
        window.setMode(stereo ? ChannelMode::Stereo : ChannelMode::Mono);
        window.openLoop(folder);
        ui.chooseNextFile(path("window.wav"));
        window.save();
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{"File writing successful"});

        // n sectors of each track: the source's tail shorter than a sector is left out, and of an
        // odd stereo N the half sector behind each track's n sectors.
        const int32_t audio = loop::trackSectors(d, stereo) * loop::kSectorBytes * channels;
        const auto header = expectedHeader(channels, 44100, 88200 * channels, int16_t(2 * channels), audio);
        for (const char* name : {"cli.wav", "window.wav"})
            QVERIFY2(holdsSourceAudio(path(name), header, audio), name);
    }

    void noFreeLoopNumber() {
        for (int n = 1; n <= 999; ++n) fs::create_directory(card() + "/LOOP" + std::to_string(n));
        const CliRun run = toLoop();
        QCOMPARE(run.status, 1);
        QVERIFY(run.said(message::noFreeLoop(card()) + "\n"));
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
        const CliRun replaced = runCli({"to-wave", l, "--output", path("out.wav"), "--overwrite"});
        QCOMPARE(replaced.status, 0);
        QCOMPARE(replaced.err, std::string("File writing successful\n"));  // nothing asked
        QCOMPARE(readFile(path("out.wav")), expectedWave(1, 44100, left));
        // A wave saved over a file in a loop folder backs the loop up first.
        const auto before = readFile(r);
        QCOMPARE(runCli({"to-wave", l, "--output", r, "--overwrite"}).status, 0);
        const fs::directory_iterator stored(path("data/Brenvik/backups"));
        QCOMPARE(readFile(stored->path().string() + "/LOOP2/" + fs::path(r).filename().string()), before);
    }

    void toWaveRefusals() {
        const std::string t = makeLoop(m_dir->path().toStdString(), "LOOP1", patternBytes(1024));
        writeDescription(path("LOOP1"), 10, 5);  // a negative audio size: the end before the start
        QCOMPARE(runCli({"to-wave", t, "--output", path("o.wav")}).err,
                 std::string("Invalid or Untrimmed Repeater File\n  pre-buffer 21504, audio -2048 "
                             "and post-buffer -2048 "
                             "bytes in a data chunk of 17408\n"));
        // A data size near the negative limit leaves 32 bits: the window's opener ends without a
        // message.
        const std::string u = makeLoop(m_dir->path().toStdString(), "LOOP2", patternBytes(1024));
        writeFile(u, riff({fmtChunk(1, 44100, 16), chunk("data", INT32_MIN)}));
        const CliRun unreadable = runCli({"to-wave", u, "--output", path("o.wav")});
        QCOMPARE(unreadable.err, u + ": cannot be read as a Repeater track\n  -2147483648 - 1024 "
                                     "leaves the signed 32-bit range\n");
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

    // A loop's loudness and true peak as it plays, in JSON and as the text's one line: a sine at
    // full scale on one track reads 3 dB under 0 LUFS (a peak just under 0 dB reads 0.0, not
    // -0.0), two tracks of it play as left and right (3 dB louder), and a loop that cannot be
    // played is not measured.
    void infoMeasuresLoudness_data() {
        QTest::addColumn<QList<int>>("tracks");
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<bool>("trackLost");
        QTest::addColumn<QVariant>("lufs");  // null: no level
        QTest::addColumn<QVariant>("peak");
        QTest::addColumn<QString>("line");
        QTest::newRow("just under full scale") << QList<int>{1} << 0.999 << false << QVariant(-3.01) << QVariant(0.0)
                                    << "-3.0 LUFS, true peak 0.0 dBTP";
        QTest::newRow("20 dB down") << QList<int>{3} << 0.1 << false << QVariant(-23.01) << QVariant(-20.0)
                                    << "-23.0 LUFS, true peak -20.0 dBTP";
        QTest::newRow("stereo") << QList<int>{2, 4} << 0.1 << false << QVariant(-20.0) << QVariant(-20.0)
                                << "-20.0 LUFS, true peak -20.0 dBTP";
        QTest::newRow("silence") << QList<int>{1} << 0.0 << false << QVariant() << QVariant() << "silent";
        QTest::newRow("track lost") << QList<int>{1, 2} << 1.0 << true << QVariant() << QVariant()
                                    << "not measured: %1/track2.wav cannot be read";
    }
    void infoMeasuresLoudness() {
        QFETCH(QList<int>, tracks);
        QFETCH(double, amplitude);
        QFETCH(QVariant, lufs);
        QFETCH(QVariant, peak);
        QFETCH(QString, line);
        const int32_t sectors = 517;  // 3 s
        const std::string folder = makeCardLoop(path(QTest::currentDataTag()), 1, {tracks.begin(), tracks.end()}, sectors);
        for (int k : tracks)
            writeFile(folder + "/track" + std::to_string(k) + ".wav", expectedTrack(sineBytes(size_t(sectors) * 512, 997, amplitude)));
        QFETCH(bool, trackLost);
        if (trackLost) fs::remove(folder + "/track2.wav");
        const QJsonObject loudness = json(runCli({"info", folder, "--json"}))["loudness"].toObject();
        for (const auto& [key, expected] : {std::pair{"integratedLufs", lufs}, std::pair{"truePeakDbtp", peak}}) {
            QCOMPARE(loudness[key].isNull(), expected.isNull());
            QVERIFY2(qAbs(loudness[key].toDouble() - expected.toDouble()) < 0.05, key);
        }
        const std::string text = "loudness: " + line.replace("%1", QString::fromStdString(folder)).toStdString() + "\n";
        QVERIFY(runCli({"info", folder}).out.ends_with(text));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
