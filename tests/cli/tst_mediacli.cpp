// brenvik-cli's audio commands as its companion runs them, in-process on real files: convert,
// to-loop --convert and play's refusals (with no sound server to reach); and the built brenvik-cli
// handing them over to the built companion, or saying where it looked for it, or why a loop cannot
// be played.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "Groove.h"
#include "LoopDescription.h"
#include "LevelSignal.h"
#include "LoopFixture.h"
#include "LoopLayout.h"
#include "MediaCommands.h"
#include "Messages.h"
#include "TestChildren.h"
#include "TestFiles.h"
#include "Unprivileged.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

CliRun runMedia(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::media::run(args, out, err);
    return CliRun{status, out.str(), err.str()};
}

const std::vector<uint8_t> kQuad = patternBytes(4 * 2 * 3000);  // 3000 frames of four channels

// The 16-bit samples of the picked channels (counted from 1), interleaved.
std::vector<uint8_t> quadChannels(std::initializer_list<size_t> picked) {
    std::vector<uint8_t> bytes;
    for (size_t at = 0; at < kQuad.size(); at += 8)
        for (size_t c : picked) bytes.insert(bytes.end(), {kQuad[at + 2 * c - 2], kQuad[at + 2 * c - 1]});
    return bytes;
}

}  // namespace

class TestMediaCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }
    std::vector<std::string> paths(const QStringList& args) const {
        std::vector<std::string> words;
        for (const QString& arg : args) words.push_back(arg.endsWith(".wav") || arg.startsWith("card") ? path(arg.toStdString()) : arg.toStdString());
        return words;
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(path("cache")));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));  // the backup store
        qputenv("PULSE_SERVER", QByteArray::fromStdString("unix:" + path("no-server")));  // no audio output
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
        writeFile(path("stereo44.wav"), wave(2, patternBytes(40000)));
        writeFile(path("mono48.wav"), wave(1, noiseBytes(96000, 1), 48000));
        writeFile(path("quad.wav"), wave(4, kQuad));
        writeFile(path("text.wav"), {'n', 'o'});
        writeOvers(path("master48.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, 30000, 0.9999);
        std::vector<uint8_t> nan = wave(1, std::vector<uint8_t>(4 * 9600), 48000, 32);
        nan[20] = 3;                                                       // IEEE float
        for (const size_t at : {size_t(44 + 4 * 4000 + 2), size_t(44 + 4 * 4000 + 3)}) nan[at] = at % 2 ? 0x7f : 0xc0;
        writeFile(path("nan.wav"), nan);
        // 400 s at 1 kHz: 6 min 40 s once converted, longer than a mono loop holds.
        writeFile(path("long.wav"), wave(1, std::vector<uint8_t>(400000, 128), 1000, 8));
        for (const char* card : {"cardA", "cardB", "cardC"}) fs::create_directory(path(card));
        makeCardLoop(path("cardC"), 1, {1, 2}, 4);
        makeCardLoop(path("cardC"), 3, {1, 2, 3}, 4);
        makeLoop(path("cardC"), "LOOP4", patternBytes(1024));
        writeDescription(path("cardC/LOOP4"), 0, -5);  // a negative audio size
    }

    void convert_data() {
        QTest::addColumn<QStringList>("args");  // behind "convert"; OUT is out.wav
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");           // a part of the error stream
        QTest::addColumn<QByteArray>("written");     // out.wav afterwards; empty: none, or any audio
        const auto bytes = [](const std::vector<uint8_t>& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); };
        QTest::newRow("as it is") << QStringList{"stereo44.wav"} << 0 << QString(message::kCopiedUnchanged) << bytes(readFile(path("stereo44.wav")));
        QTest::newRow("other rate") << QStringList{"mono48.wav"} << 0 << "Converted 48 kHz 16-bit → 44.1 kHz 16-bit" << QByteArray();
        QTest::newRow("first two of four") << QStringList{"quad.wav"} << 0 << "Converted 44.1 kHz 16-bit, 4 channels → 44.1 kHz 16-bit, stereo" << bytes(expectedWave(2, 44100, quadChannels({1, 2})));
        QTest::newRow("channels 4,3") << QStringList{"quad.wav", "--channels", "4,3"} << 0 << "stereo" << bytes(expectedWave(2, 44100, quadChannels({4, 3})));
        QTest::newRow("channel 2 alone") << QStringList{"quad.wav", "--channels", "2"} << 0 << "→ 44.1 kHz 16-bit, mono" << bytes(expectedWave(1, 44100, quadChannels({2})));
        QTest::newRow("sum") << QStringList{"quad.wav", "--channels", "sum"} << 0 << "→ 44.1 kHz 16-bit, mono" << QByteArray();
        QTest::newRow("channel 5 of 4") << QStringList{"quad.wav", "--channels", "1,5"} << 1 << "quad.wav has 4 channels: there is no channel 5" << QByteArray();
        QTest::newRow("no pick") << QStringList{"quad.wav", "--channels", "1,2,3"} << 2 << "brenvik-cli convert: --channels: '1,2,3' is not a channel K, two channels K,K or sum\nusage: brenvik-cli convert" << QByteArray();
        QTest::newRow("clipped") << QStringList{"master48.wav"} << 0 << ", peak +0.64 dBFS\n  --fit lowers it by 0.64 dB so that nothing clips; or --gain -0.64\n" << QByteArray();
        QTest::newRow("fit") << QStringList{"master48.wav", "--fit"} << 0 << "→ 44.1 kHz 16-bit\nLowered by 0.64 dB\n" << QByteArray();
        QTest::newRow("gain") << QStringList{"stereo44.wav", "--gain", "-3"} << 0 << "→ 44.1 kHz 16-bit\nLowered by 3.00 dB\n" << QByteArray();
        QTest::newRow("gain above 0") << QStringList{"stereo44.wav", "--gain", "0.5"} << 2 << "brenvik-cli convert: --gain:" << QByteArray();
        QTest::newRow("a NaN") << QStringList{"nan.wav"} << 0 << "warning: 1 sample was NaN or infinite and became 0" << QByteArray();
        QTest::newRow("not audio") << QStringList{"text.wav"} << 1 << "Cannot read " + QString::fromStdString(path("text.wav")) << QByteArray();
        // Said before converting: the conversion then fails at once, on its missing folder.
        QTest::newRow("too long for a loop") << QStringList{"long.wav", "missing/out.wav"} << 1
                                             << "long.wav is 6 min 40 s long once converted: a mono loop holds at most 6 min 20 s\n  "
                                                + QString(message::kWaveHoldsItAllTheSame) + "\nCannot write " << QByteArray();
    }

    // The converted wave, the message saying what was done, and the output's path on its own.
    void convert() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QByteArray, written);
        fs::remove(path("out.wav"));
        std::vector<std::string> words = paths(QStringList{"convert"} + args);
        if (words.size() < 3 || words[2].starts_with("--")) words.insert(words.begin() + 2, path("out.wav"));
        const CliRun run = runMedia(words);
        QCOMPARE(run.status, status);
        QVERIFY2(said.endsWith('\n') ? run.err.ends_with(said.toStdString()) : run.said(said.toStdString()), run.err.c_str());
        QCOMPARE(run.out, status == 0 ? words[2] + "\n" : std::string());
        QCOMPARE(fs::exists(path("out.wav")), status == 0);
        if (!written.isEmpty()) QCOMPARE(readFile(path("out.wav")), std::vector<uint8_t>(written.begin(), written.end()));
    }

    // An existing output stays unless --overwrite is given.
    void convertKeepsOrReplaces() {
        writeFile(path("kept.wav"), {1, 2, 3});
        const CliRun kept = runMedia({"convert", path("stereo44.wav"), path("kept.wav")});
        QCOMPARE(kept.status, 1);
        QCOMPARE(kept.err, path("kept.wav") + " was left as it is (--overwrite replaces it)\n");
        QCOMPARE(readFile(path("kept.wav")), (std::vector<uint8_t>{1, 2, 3}));
        QCOMPARE(runMedia({"convert", path("stereo44.wav"), path("kept.wav"), "--overwrite"}).status, 0);
        QCOMPARE(readFile(path("kept.wav")), readFile(path("stereo44.wav")));
    }

    // to-loop --convert writes the loop that to-loop writes from convert's output; a wave the
    // Repeater takes as it is goes in unconverted. Old waves leave the cache folder, recent stay.
    void toLoopConverts() {
        const std::string cache = path("cache/Brenvik/converted/");
        fs::create_directories(cache);
        writeFile(cache + "old.wav", {1});
        writeFile(cache + "recent.wav", {2});
        fs::last_write_time(cache + "old.wav", fs::file_time_type::clock::now() - std::chrono::hours(24 * 8));
        QCOMPARE(runMedia({"convert", path("mono48.wav"), path("converted.wav")}).status, 0);
        for (const auto& [source, loop] : {std::pair{"converted.wav", "1"}, {"stereo44.wav", "2"}})
            QCOMPARE(runCli({"to-loop", path(source), "--dest", path("cardA"), "--loop", loop}).status, 0);
        const CliRun run = runMedia({"to-loop", path("mono48.wav"), path("stereo44.wav"), "--dest", path("cardB"), "--convert"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, path("cardB") + "/LOOP1\n" + path("cardB") + "/LOOP2\n");
        QVERIFY(treeOf(path("cardB")) == treeOf(path("cardA")));
        QCOMPARE(entriesIn(cache), 2);  // recent.wav and mono48's converted wave
        QVERIFY(fs::exists(cache + "recent.wav"));
    }

    void writersIntoLoops_data() {
        QTest::addColumn<QStringList>("args");  // cardD holds LOOP1 (mono) and LOOP2 (stereo)
        QTest::addColumn<QString>("said");      // a part of the error stream when refused
        QTest::addColumn<int>("backedUp");      // the loop of cardD in the store as it was; 0: refused
        const QString self = "cardD/LOOP1/track1.wav";
        QTest::newRow("convert over a track") << QStringList{"convert", "stereo44.wav", self, "--overwrite"} << "" << 1;
        QTest::newRow("convert into a loop") << QStringList{"convert", "stereo44.wav", "cardD/LOOP2/extra.wav"} << "" << 2;
        QTest::newRow("convert onto a hard link of its input")
            << QStringList{"convert", self, "cardD/link.wav", "--overwrite"}
            << QString::fromStdString(message::outputIsInput(path("cardD/link.wav"))) << 0;
        QTest::newRow("to-wave over a hard link of its track")
            << QStringList{"to-wave", self, "--output", "cardD/link.wav", "--overwrite"}
            << QString::fromStdString(message::outputIsInput(path("cardD/link.wav"))) << 0;
        QTest::newRow("to-wave over its right track")
            << QStringList{"to-wave", "cardD/LOOP2/track1.wav", "cardD/LOOP2/track2.wav", "--output", "cardD/LOOP2/track2.wav", "--overwrite"}
            << QString::fromStdString(message::outputIsInput(path("cardD/LOOP2/track2.wav"))) << 0;
        QTest::newRow("to-wave into another loop") << QStringList{"to-wave", self, "--output", "cardD/LOOP2/LOOP1.wav"} << "" << 2;
        QTest::newRow("export into the loop itself") << QStringList{"export", "cardD/LOOP1", "--to", "cardD/LOOP1"}
                                                     << QString::fromStdString(message::exportIntoItself(path("cardD/LOOP1"))) << 0;
        QTest::newRow("export into another loop") << QStringList{"export", "cardD/LOOP1", "--to", "cardD/LOOP2"} << "" << 2;
    }

    // Whatever writes a file into a loop folder backs the loop up first, as a save over a loop
    // does; an output that is one of its inputs, by the file it is and not by its path's text, is
    // refused before anything is written.
    void writersIntoLoops() {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        QFETCH(int, backedUp);
        fs::remove_all(path("cardD"));
        fs::remove_all(path("data"));
        makeCardLoop(path("cardD"), 1, {1}, 4);
        makeCardLoop(path("cardD"), 2, {1, 2}, 4);
        fs::create_hard_link(path("cardD/LOOP1/track1.wav"), path("cardD/link.wav"));
        const Tree card = treeOf(path("cardD"));
        const CliRun run = runMedia(paths(args));
        QVERIFY2(run.said(said.toStdString()), run.err.c_str());
        QCOMPARE(run.status, backedUp ? 0 : 1);
        const std::string store = path("data/Brenvik/backups");
        QCOMPARE(fs::exists(store) ? entriesIn(store) : 0, backedUp ? 1 : 0);
        if (!backedUp) {
            QVERIFY(treeOf(path("cardD")) == card);
            return;
        }
        const std::string loop = "LOOP" + std::to_string(backedUp);
        Tree kept;
        for (const auto& [name, bytes] : card)
            if (name.starts_with(loop + "/")) kept[name.substr(loop.size() + 1)] = bytes;
        QVERIFY(treeOf(fs::directory_iterator(store)->path().string() + "/" + loop) == kept);
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");  // the error stream, from its start
        const QString playable(message::kNoAudioOutput);
        QTest::newRow("too long before converting") << QStringList{"to-loop", "long.wav", "--dest", "cardC", "--convert"} << 1 << "long.wav is 6 min 40 s";
        QTest::newRow("without --convert") << QStringList{"to-loop", "mono48.wav", "--dest", "cardC"} << 1 << "Repeater supports 44.1 kHz sample rate only";
        QTest::newRow("not audio: the opener's") << QStringList{"to-loop", "text.wav", "--dest", "cardC", "--convert"} << 1 << "Error in fileOpeing()";
        QTest::newRow("play: no such file") << QStringList{"play", "none.wav"} << 1 << "none.wav cannot be read\n  there is no file ";
        QTest::newRow("play: other rate") << QStringList{"play", "mono48.wav"} << 1 << "Repeater supports 44.1 kHz sample rate only";
        QTest::newRow("play: no loop") << QStringList{"play", "cardA"} << 1 << "No readable loopinfo.ldf in ";
        QTest::newRow("play: three tracks") << QStringList{"play", "cardC/LOOP3"} << 1 << "LOOP3 chooses 3 tracks";
        QTest::newRow("play: untrimmed track") << QStringList{"play", "cardC/LOOP4/track1.wav"} << 1 << "Invalid or Untrimmed Repeater File\n";
        QTest::newRow("play: zero times") << QStringList{"play", "stereo44.wav", "--times", "0"} << 2 << "brenvik-cli play: --times: '0' is outside 1 to 10000";
        QTest::newRow("play: a wave") << QStringList{"play", "stereo44.wav", "--times", "2"} << 1 << playable;
        QTest::newRow("play: a loop") << QStringList{"play", "cardC/LOOP1"} << 1 << playable;
        QTest::newRow("play: its loopinfo.ldf") << QStringList{"play", "cardC/LOOP1/loopinfo.ldf"} << 1 << playable;
        QTest::newRow("play: a track") << QStringList{"play", "cardC/LOOP1/track2.wav"} << 1 << playable;
    }

    // Refused before anything is written (or played): the card stays as it was.
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, said);
        const Tree card = treeOf(path("cardC"));
        const CliRun run = runMedia(paths(args));
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.starts_with(said.toStdString()) || run.err.starts_with(path(said.toStdString())), run.err.c_str());
        QVERIFY(treeOf(path("cardC")) == card);
    }

    // The built brenvik-cli runs convert in the companion beside it. Alone, it says where it
    // looked: beside itself and in the libexec folder of its installation; bad usage stays its own.
    void handsOver() {
        QProcess cli;
        tieToTest(cli);
        cli.start(BRENVIK_CLI_PATH, {"convert", m_dir.filePath("stereo44.wav"), m_dir.filePath("handed.wav")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(readFile(path("handed.wav")), readFile(path("stereo44.wav")));
        fs::create_directories(path("alone/bin"));
        QVERIFY(QFile::copy(BRENVIK_CLI_PATH, m_dir.filePath("alone/bin/brenvik-cli")));
        for (const auto& [args, status, said] :
             {std::tuple{QStringList{"play", "x.wav"}, 1,
                         "brenvik-cli play: brenvik-cli-media, which plays and converts audio, is not installed\n  looked for " +
                             path("alone/bin/brenvik-cli-media") + " and " + path("alone/libexec/brenvik/brenvik-cli-media") + "\n"},
              {QStringList{"convert", "x.wav"}, 2, std::string("brenvik-cli convert: missing OUT\n")}}) {
            cli.start(m_dir.filePath("alone/bin/brenvik-cli"), args);
            QVERIFY(cli.waitForFinished(60000));
            QCOMPARE(cli.exitCode(), status);
            QVERIFY(cli.readAllStandardError().toStdString().starts_with(said));
        }
    }

    // A loop whose track cannot be read is refused before any audio output is opened, with the
    // system's reason below the loop's message, through the built brenvik-cli and its companion.
    void playSaysWhyATrackCannotBeRead() {
        makeCardLoop(path("cardU"), 2, {1}, 4);
        const std::string track = path("cardU/LOOP2/track1.wav");
        // Reachable for the unprivileged user, who cannot read the track.
        ::chmod(m_dir.path().toLocal8Bit().constData(), 0755);
        ::chmod(track.c_str(), 0);
        QProcess cli;
        tieToTest(cli);
        {
            const Unprivileged user;
            cli.start(BRENVIK_CLI_PATH, {"play", m_dir.filePath("cardU/LOOP2")});
            QVERIFY(cli.waitForFinished(60000));
        }
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(cli.readAllStandardError().toStdString(),
                 track + " cannot be read\n  cannot open " + track + ": Permission denied\n");
    }

    // The tempo found in a groove: info prints it, a dry run with --beats auto plans it and the
    // save writes what the dry run said, at the tempo found; without a tempo --beats auto refuses.
    void tempoFound_data() {
        QTest::addColumn<double>("bpm");  // of the groove; 0: silence
        QTest::addColumn<int>("bars");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("plan");  // the dry run's line after "LOOP1: "; empty: no tempo
        QTest::newRow("8 s at 120") << 120.0 << 4 << 1 << "120.0 BPM, 16 beats in 4 bars of 4 (division 4), mono on track 1, 8.0 s";
        QTest::newRow("one bar at 150") << 150.0 << 1 << 2 << "150.0 BPM, 4 beats in 1 bar of 4 (division 4), stereo on tracks 1 and 2, 1.6 s";
        QTest::newRow("one bar at 90") << 90.0 << 1 << 1 << "90.0 BPM, 4 beats in 1 bar of 4 (division 4), mono on track 1, 2.7 s";
        QTest::newRow("2 bars at 84") << 84.0 << 2 << 2 << "84.0 BPM, 8 beats in 2 bars of 4 (division 4), stereo on tracks 1 and 2, 5.7 s";
        QTest::newRow("silence") << 0.0 << 2 << 1 << "";
    }
    void tempoFound() {
        QFETCH(double, bpm);
        QFETCH(int, bars);
        QFETCH(int, channels);
        QFETCH(QString, plan);
        const std::string source = path("groove.wav"), card = path("cardT");
        fs::remove_all(card);
        fs::create_directory(card);
        writeFile(source, wave(channels, bpm > 0 ? groove(bpm, bars, channels) : std::vector<uint8_t>(176400)));
        const QJsonObject info = QJsonDocument::fromJson(QByteArray::fromStdString(runMedia({"info", source, "--json"}).out)).object();
        const CliRun dry = runMedia({"to-loop", source, "--dest", card, "--beats", "auto", "--dry-run"});
        const CliRun real = runMedia({"to-loop", source, "--dest", card, "--beats", "auto"});
        if (plan.isEmpty()) {
            QVERIFY(info["wave"]["tempo"].isNull());
            QCOMPARE(real.err, message::noTempoFound(source) + "\n");
            QCOMPARE(dry.status, 1);
            QVERIFY(fs::is_empty(card));
            return;
        }
        const int beats = int(std::lround(4 * bars));
        QCOMPARE(info["wave"]["tempo"]["beats"].toInt(), beats);
        QCOMPARE(info["wave"]["tempoFound"].toString().toStdString(), message::foundTempo(bpm, beats));
        QCOMPARE(dry.out, card + "/LOOP1: " + plan.toStdString() + "\n  tempo found: " + message::foundTempo(bpm, beats) + "\n");
        QCOMPARE(real.status, 0);
        const loop::DecodedDescription written = readDescription(card + "/LOOP1");
        QCOMPARE(message::tempoText(loop::tempoOfCode(written.tempoCode)) + " BPM", plan.section(", ", 0, 0).toStdString());
        QCOMPARE(written.beatsPerBar, 4);
    }
};

QTEST_GUILESS_MAIN(TestMediaCli)
#include "tst_mediacli.moc"
