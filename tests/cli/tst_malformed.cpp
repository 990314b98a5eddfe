// Broken waves for to-loop and broken loop folders for to-wave, each run through brenvik-cli in
// a forked child with bounded address space: the system's own message, the exit status, nothing
// written where the command refuses (an existing loop or output stays byte for byte), and a
// normal end with bounded memory whatever the size fields say.
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <filesystem>
#include <map>
#include <memory>

#include "../repeater_to_wave/LoopFixture.h"
#include "../wave_to_repeater/Wav2RepBench.h"
#include "Cli.h"
#include "ForkedChild.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

constexpr long kMemoryBoundKiB = 512 * 1024;

const std::string kOpenerError = "Error in fileOpeing()\n";
const std::string kRate =
    "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of ";
const std::string kBits = "Repeater supports 16 bit audio only, this file is ";
const std::string kSaveError = "error in fileSaving()\n";
const std::string kOverwrite = "Loop already exists. Overwrite?\n";
const std::string kOutputOverwrite = "File already exists. Overwrite?\n";
const std::string kSuccess = "File writing successful\n";
const std::string kLdfElsewhere =
    "Repeater's .ldf and .wav files must reside in the same directory\n";
const std::string kNoFile = "File does not exist!\n";
const std::string kInvalid = "Invalid or Untrimmed Repeater File\n";

// Four whole sectors: every byte reaches the track.
const Bytes kAudio = patternBytes(2048, 3);
const Bytes kSector = patternBytes(512, 11);

// Every file and folder below root with its bytes ("/" for a folder).
using Tree = std::map<std::string, std::string>;
Tree snapshot(const std::string& root) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            tree[name] = "/";
        } else {
            const Bytes bytes = readFile(entry.path().string());
            tree[name] = std::string(bytes.begin(), bytes.end());
        }
    }
    return tree;
}

std::string withRoot(const QString& text, const std::string& root) {
    return QString(text).replace("{root}", QString::fromStdString(root)).toStdString();
}

ChildEnd runCli(const std::vector<std::string>& args) {
    return runInChild(
        [&](std::ostream& out, std::ostream& err) { return cli::run(args, out, err, false); });
}

Bytes cut(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The paths of a to-wave row's loop folder, built by setup name.
std::string buildBrokenLoop(const QString& setup, const std::string& root) {
    const std::string folder = makeFolder(root, "LOOP9");
    const std::string track = folder + "/track1.wav";
    const std::string description = folder + "/loopinfo.ldf";
    TrackSpec layout;
    layout.audio = kSector;
    if (setup == "no description") {
        writeTrack(folder, layout);
    } else if (setup == "no track") {
        writeDescriptionFor(folder, 512);
    } else if (setup == "empty description") {
        writeTrack(folder, layout);
        writeFile(description, {});
    } else if (setup == "empty track") {
        writeDescriptionFor(folder, 512);
        writeFile(track, {});
    } else if (setup == "description cut inside the end word") {
        // End word 0x0103 with its high byte cut off reads 3: four sectors of audio.
        writeDescription(folder, 0, 0x0103);
        writeFile(description, cut(readFile(description), 55));
        layout.audio = kAudio;
        writeTrack(folder, layout);
    } else if (setup == "track cut inside its total") {
        // Of the data size 0x7F004200 only 00 42 remain: a total of 16896 bytes.
        writeDescriptionFor(folder, 512);
        layout.dataSize = 0x7F004200;
        layout.cutAt = 42;
        writeTrack(folder, layout);
    } else if (setup == "track ends inside its audio") {
        writeDescriptionFor(folder, 2048);
        layout.audio = kAudio;
        layout.cutAt = 44 + 16384 + 1000;
        writeTrack(folder, layout);
    } else if (setup == "end before start") {
        writeDescription(folder, 0, -5);
        writeTrack(folder, layout);
    } else if (setup == "total below audio") {
        writeDescriptionFor(folder, 2048);
        layout.audio = kAudio;
        layout.dataSize = 100;
        writeTrack(folder, layout);
    } else if (setup == "total -2^31") {
        writeDescriptionFor(folder, 512);
        layout.dataSize = INT32_MIN;
        writeTrack(folder, layout);
    } else if (setup == "total 2^31 - 1, end 32767") {
        writeDescription(folder, 0, 32767);
        layout.audio.clear();
        layout.dataSize = INT32_MAX;
        writeTrack(folder, layout);
    } else if (setup == "track is a folder") {
        writeDescriptionFor(folder, 512);
        fs::create_directory(track);
    } else if (setup == "description is a folder") {
        writeTrack(folder, layout);
        fs::create_directory(description);
    } else {  // a well-formed loop
        writeDescriptionFor(folder, 512);
        writeTrack(folder, layout);
    }
    return track;
}

}  // namespace

class TestMalformed : public QObject {
    Q_OBJECT
private slots:
    void init();
    void toLoop_data();
    void toLoop();
    void toWave_data();
    void toWave();

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMalformed::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestMalformed::toLoop_data() {
    QTest::addColumn<QString>("kind");  // "file", "missing" or "folder" at the source path
    QTest::addColumn<Bytes>("source");
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("message");  // the whole error stream
    QTest::addColumn<int>("status");

    const QString card = "{root}/card";
    const auto row = [&](const char* name, const Bytes& source, const std::string& message,
                         int status = 1) {
        QTest::newRow(name) << "file" << source << "in.wav" << card
                            << QString::fromStdString(message) << status;
    };
    row("well-formed: replaces LOOP1", wave(1, kAudio), kOverwrite + kSuccess, 0);
    row("no data chunk", riff({fmtChunk(1, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})}),
        kOpenerError);
    // The walk reads "\0dat" one byte early; its size "a" 00 08 00 jumps past the end.
    row("odd chunk with pad byte",
        riff({fmtChunk(1, 44100, 16),
              chunk("LIST", 3, {1, 2, 3}),
              {0},
              chunk("data", 2048, kAudio)}),
        kOpenerError);
    // No "fmt " before "data": the rate comes from offset 11, "Edat" = 0x74616445.
    row("data before fmt", riff({chunk("data", 2048, kAudio), fmtChunk(1, 44100, 16)}),
        kRate + "1952539.717kHz\n");
    row("0 channels", wave(0, kAudio), kOpenerError);
    // Four channels pass the opener without setting a mode, so the writer has no branch to run.
    row("4 channels", wave(4, kAudio), "No wave file has been opened\n");
    row("8 bit", wave(1, kAudio, 44100, 8), kBits + "8 bit\n");
    row("24 bit", wave(2, kAudio, 44100, 24), kBits + "24 bit\n");
    row("22.05 kHz", wave(1, kAudio, 22050), kRate + "22.05kHz\n");
    row("48 kHz", wave(2, kAudio, 48000), kRate + "48kHz\n");
    // 20,000,000 bytes fit a loop but not this file: refused before LOOP1 is touched.
    row("data size far beyond the file",
        riff({fmtChunk(1, 44100, 16), chunk("data", 20000000, kAudio)}), kSaveError);
    // 722,534,399 \ 22050 = 32767 beats, the opener's largest; its 1,411,199 sectors need
    // 44,101 clusters, far beyond the 2592 a track record holds.
    row("largest size the opener takes",
        riff({fmtChunk(1, 44100, 16), chunk("data", 722534399, kAudio)}),
        "Loop is too long for the Repeater (at most 2592 clusters per track)\n");
    // 2147483647 \ 22050 = 97391 beats: beyond 16 bits.
    row("data size 2^31 - 1", riff({fmtChunk(1, 44100, 16), chunk("data", INT32_MAX, kAudio)}),
        kOpenerError);
    row("data size reads -2^31", riff({fmtChunk(1, 44100, 16), chunk("data", INT32_MIN, kAudio)}),
        kOpenerError);
    row("data size -65536", riff({fmtChunk(2, 44100, 16), chunk("data", -65536, kAudio)}),
        kOpenerError);
    // The LIST tag at 36: -100 points before the file, -32 back to "fmt " at 12 (a circle),
    // -8 to itself, 0x7FFFFFF0 past 2^31.
    row("chunk size points before the file",
        riff({fmtChunk(1, 44100, 16), chunk("LIST", -100, kAudio)}), kOpenerError);
    row("chunk sizes in a circle", riff({fmtChunk(1, 44100, 16), chunk("LIST", -32, kAudio)}),
        kOpenerError);
    row("chunk size points at itself", riff({fmtChunk(1, 44100, 16), chunk("LIST", -8, kAudio)}),
        kOpenerError);
    row("chunk size far past the end",
        riff({fmtChunk(1, 44100, 16), chunk("LIST", 0x7FFFFFF0, kAudio)}), kOpenerError);
    row("chunk size just past the end", riff({fmtChunk(1, 44100, 16), chunk("LIST", 2049, kAudio)}),
        kOpenerError);
    row("empty file", {}, kOpenerError);
    row("header cut inside the fmt chunk", cut(wave(1, kAudio), 30), kOpenerError);
    row("header cut inside the data size", cut(wave(1, kAudio), 42), kOpenerError);

    QTest::newRow("missing file") << "missing" << Bytes{} << "in.wav" << card
                                  << QString::fromStdString(kNoFile) << 1;
    QTest::newRow("a folder where the wave is expected")
        << "folder" << Bytes{} << "in.wav" << card << QString::fromStdString(kNoFile) << 1;
    QTest::newRow("a file where the destination is expected")
        << "file" << wave(1, kAudio) << "in.wav"
        << "{root}/in.wav"
        << "Folder: {root}/in.wav does not exist or drive not ready\n"
        << 1;
    QTest::newRow("spaces and non-ASCII in paths")
        << "file" << wave(1, kAudio) << "Wellen mit Lücken/Bäm ♫ 1.wav"
        << "{root}/Kärte für Ö" << QString::fromStdString(kSuccess) << 0;
}

// Every run targets loop 1 with --overwrite, where an old LOOP1 waits: a refusal that came after
// the folder was replaced would show.
void TestMalformed::toLoop() {
    QFETCH(QString, kind);
    QFETCH(Bytes, source);
    QFETCH(QString, sourceName);
    QFETCH(QString, dest);
    QFETCH(QString, message);
    QFETCH(int, status);
    const std::string sourcePath = root() + "/" + sourceName.toStdString();
    const std::string destPath = withRoot(dest, root());
    fs::create_directories(fs::path(sourcePath).parent_path());
    makeFolder(root(), "card/LOOP1");
    writeFile(root() + "/card/LOOP1/track1.wav", Bytes(100, 0x11));
    writeFile(root() + "/card/LOOP1/loopinfo.ldf", Bytes(50, 0x22));
    if (kind == "file") writeFile(sourcePath, source);
    if (kind == "folder") fs::create_directory(sourcePath);
    if (!fs::exists(destPath)) fs::create_directories(destPath);
    Tree before = snapshot(root());

    const ChildEnd end =
        runCli({"to-loop", sourcePath, "--dest", destPath, "--loop", "1", "--overwrite"});
    QVERIFY2(end.exited, describe(end).c_str());
    QCOMPARE(end.status, status);
    QCOMPARE(end.err, withRoot(message, root()));
    QVERIFY(end.maxRssKiB < kMemoryBoundKiB);

    Tree after = snapshot(root());
    if (status != 0) {
        QVERIFY(end.out.empty());
        QVERIFY(after == before);
        return;
    }
    const std::string loop = destPath + "/LOOP1";
    QCOMPARE(end.out, loop + "\n");
    QCOMPARE(readFile(loop + "/track1.wav"), expectedTrack(kAudio));
    QCOMPARE(readFile(loop + "/loopinfo.ldf").size(), size_t{16384});
    QCOMPARE(entriesIn(loop), 2);
    // Apart from the loop folder written, everything is as it was.
    const std::string written = fs::relative(loop, root()).string();
    for (Tree* tree : {&after, &before})
        std::erase_if(*tree, [&](const auto& e) { return e.first.rfind(written, 0) == 0; });
    QVERIFY(after == before);
}

void TestMalformed::toWave_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("status");
    QTest::addColumn<Bytes>("written");  // the output expected; empty: nothing written

    const QString old = "out/old.wav";
    const auto refused = [&](const char* name, const std::string& message) {
        QTest::newRow(name) << name << old << QString::fromStdString(message) << 1 << Bytes{};
    };
    const auto saved = [&](const char* name, const Bytes& data) {
        const Bytes wave =
            concat(expectedHeader(1, 44100, 88200, 2, static_cast<int32_t>(data.size())), data);
        QTest::newRow(name) << name << old << QString::fromStdString(kOutputOverwrite + kSuccess)
                            << 0 << wave;
    };
    saved("well-formed", kSector);
    refused("no description", kLdfElsewhere);
    refused("no track", kNoFile);
    // A description or track shorter than the fields read gives zero bytes for the missing part.
    saved("empty description", kSector);  // start 0, end 0: one sector
    saved("description cut inside the end word", kAudio);
    // The track's 42 bytes hold no audio: the sector reads as silence.
    saved("track cut inside its total", Bytes(512, 0));
    saved("track ends inside its audio",
          concat(Bytes(kAudio.begin(), kAudio.begin() + 1000), Bytes(1048, 0)));
    // A total of 0: the post-buffer 0 - 512 - 16384 is negative.
    refused("empty track", kInvalid);
    refused("end before start", kInvalid);
    refused("total below audio", kInvalid);
    // total - audio - pre leaves the 32-bit range: the open ends without a message of its own.
    refused("total -2^31", "{root}/LOOP9/track1.wav: cannot be read as a Repeater track\n");
    // 32768 sectors of audio that the file does not hold: 16 MiB of silence, in bounded memory.
    saved("total 2^31 - 1, end 32767", Bytes(32768 * 512, 0));
    refused("track is a folder", kNoFile);
    refused("description is a folder", kLdfElsewhere);
    QTest::newRow("output is a folder")
        << "well-formed"
        << "out/folder.wav" << QString::fromStdString(kSaveError) << 1 << Bytes{};
    QTest::newRow("spaces and non-ASCII in paths")
        << "spaces"
        << "Ausgabe ü/neue Welle ♫.wav" << QString::fromStdString(kSuccess) << 0
        << concat(expectedHeader(1, 44100, 88200, 2, 512), kSector);
}

// Every run saves over an existing output with --overwrite: a refusal must leave it whole.
void TestMalformed::toWave() {
    QFETCH(QString, setup);
    QFETCH(QString, output);
    QFETCH(QString, message);
    QFETCH(int, status);
    QFETCH(Bytes, written);
    const std::string outputPath = root() + "/" + output.toStdString();
    makeFolder(root(), "out");
    writeFile(root() + "/out/old.wav", Bytes(5000, 0x42));
    makeFolder(root(), "out/folder.wav");
    fs::create_directories(fs::path(outputPath).parent_path());
    const std::string track =
        setup == "spaces" ? makeLoop(makeFolder(root(), "Karten Ordner ä"), "LOOP 7 ö", kSector)
                          : buildBrokenLoop(setup, root());
    Tree before = snapshot(root());

    const ChildEnd end = runCli({"to-wave", track, "--output", outputPath, "--overwrite"});
    QVERIFY2(end.exited, describe(end).c_str());
    QCOMPARE(end.status, status);
    QCOMPARE(end.err, withRoot(message, root()));
    QVERIFY(end.maxRssKiB < kMemoryBoundKiB);

    Tree after = snapshot(root());
    if (written.empty()) {
        QVERIFY(end.out.empty());
        QVERIFY(after == before);
        return;
    }
    QCOMPARE(end.out, outputPath + "\n");
    QVERIFY(readFile(outputPath) == written);
    const std::string name = fs::relative(outputPath, root()).string();
    for (Tree* tree : {&after, &before}) tree->erase(name);
    QVERIFY(after == before);
}

QTEST_GUILESS_MAIN(TestMalformed)
#include "tst_malformed.moc"
