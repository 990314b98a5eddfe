// brenvik-cli info, in-process on real files and loop folders, plus one run of the built program.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "Cli.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "TestFiles.h"
#include "TrackFile.h"

using namespace brenvik;
using test::ByteWriter;

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run info(std::vector<std::string> args) {
    args.insert(args.begin(), "info");
    std::ostringstream out, err;
    const int status = cli::run(args, out, err, false);
    return Run{status, out.str(), err.str()};
}

QJsonObject parsed(const Run& run) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        qWarning("not one JSON object: %s\n%s", qPrintable(error.errorString()), run.out.c_str());
    return doc.object();
}

QJsonObject infoJson(const std::string& path) {
    const Run run = info({path, "--json"});
    if (run.status != cli::kOk) qWarning("info failed: %s", run.err.c_str());
    return parsed(run);
}

ByteWriter waveHeader(int channels, int rate, int bits, qint64 dataSize) {
    ByteWriter w;
    w.riffHeader().fmtChunk(channels, rate, bits).tag("data").le32(dataSize);
    return w;
}

}  // namespace

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void acceptedWave();
    void waveVerdicts_data();
    void waveVerdicts();
    void waveWithoutFmtBeforeData();
    void textForm();
    void loopFolder();
    void loopFolderByItsDescription();
    void brokenCheckTriple();
    void trackSizes_data();
    void trackSizes();
    void trackSizesOutOfRange();
    void wavFileWithoutDescriptionIsAWave();
    void pathWithQuoteStaysValidJson();
    void refusals_data();
    void refusals();
    void badUsage_data();
    void badUsage();
    void builtProgram();

private:
    std::string path(const QString& name) const { return m_dir->filePath(name).toStdString(); }
    // A loop folder as the loop writer makes it: mono source of dataLength bytes on `track`.
    std::string writeLoop(const QString& name, int32_t dataLength, int track, float tempo = 120.0f);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestInfo::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

std::string TestInfo::writeLoop(const QString& name, int32_t dataLength, int track, float tempo) {
    if (!QDir(m_dir->path()).mkdir(name)) return {};
    const std::string folder = path(name);
    loop::LoopValues v;
    v.trackSectors = loop::trackSectors(dataLength, false);
    v.loopSectors = loop::loopSectors(dataLength);
    v.clusters = loop::clusterCount(v.loopSectors);
    v.tempoCode = loop::tempoCode(tempo);
    v.bars = 9;
    v.beats = 3;
    v.division = 4;
    v.tracks[size_t(track - 1)] = loop::TrackMix{true, -40, 700};
    const loop::Description d = loop::buildDescription(v);
    test::writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(d.begin(), d.end()));
    const wave::Header h = loop::trackHeader(loop::audioLength(dataLength, false));
    std::vector<uint8_t> file(h.begin(), h.end());
    file.resize(file.size() + 16384 + size_t(loop::audioLength(dataLength, false)));
    test::writeFile(folder + "/" + loop::trackFileName(track), file);
    return folder;
}

void TestInfo::acceptedWave() {
    test::writeFile(path("stereo.wav"), test::canonicalWave(2, test::patternBytes(1411200)));
    const QJsonObject o = infoJson(path("stereo.wav"));
    QCOMPARE(o["kind"].toString(), QString("wave"));
    const QJsonObject wave = o["wave"].toObject();
    QCOMPARE(wave["fileSize"].toInt(), 1411244);
    QCOMPARE(wave["walk"]["end"].toString(), QString("data"));
    QCOMPARE(wave["walk"]["fmtOffset"].toInt(), 12);
    QCOMPARE(wave["walk"]["dataOffset"].toInt(), 44);
    QCOMPARE(wave["walk"]["dataSize"].toInt(), 1411200);
    QCOMPARE(wave["channels"].toInt(), 2);
    QCOMPARE(wave["sampleRate"].toInt(), 44100);
    QCOMPARE(wave["bitsPerSample"].toInt(), 16);
    QCOMPARE(wave["opener"]["outcome"].toString(), QString("accepted"));
    QVERIFY(wave["opener"]["message"].isNull());
    QCOMPARE(wave["opener"]["maxBeats"].toInt(), 32);  // 705,600 bytes per channel \ 22050
}

void TestInfo::waveVerdicts_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("walkEnd");
    auto bytes = [](const ByteWriter& w) {
        return QByteArray(reinterpret_cast<const char*>(w.bytes().data()), qsizetype(w.size()));
    };
    QTest::newRow("48 kHz") << bytes(waveHeader(1, 48000, 16, 0)) << "refused"
                            << "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz" << "data";
    QTest::newRow("22.05 kHz") << bytes(waveHeader(2, 22050, 16, 0)) << "refused"
                               << "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 22.05kHz" << "data";
    QTest::newRow("8 bit") << bytes(waveHeader(1, 44100, 8, 0)) << "refused"
                           << "Repeater supports 16 bit audio only, this file is 8 bit" << "data";
    QTest::newRow("0 channels") << bytes(waveHeader(0, 44100, 16, 100)) << "failed" << "Error in fileOpeing()" << "data";
    QTest::newRow("maxBeats beyond 16 bits") << bytes(waveHeader(1, 44100, 16, 22050LL * 32768)) << "failed"
                                             << "Error in fileOpeing()" << "data";
    QByteArray cut = bytes(waveHeader(1, 44100, 16, 0));
    cut.truncate(41);
    QTest::newRow("cut in the data size") << cut << "failed" << "Error in fileOpeing()" << "end of file";
    // An odd chunk followed by a pad byte: the data tag is missed and the walk runs off the end.
    QTest::newRow("pad byte") << bytes(ByteWriter().riffHeader().fmtChunk(1, 44100, 16).tag("odd ").le32(1).fill(2)
                                           .tag("data").le32(4).fill(4))
                              << "failed" << "Error in fileOpeing()" << "end of file";
    QTest::newRow("cycle") << bytes(ByteWriter().riffHeader().tag("loop").le32(-8).fill(8)) << "failed"
                           << "Error in fileOpeing()" << "broken";
}

void TestInfo::waveVerdicts() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    QFETCH(QString, message);
    QFETCH(QString, walkEnd);
    test::writeFile(path("in.wav"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    const QJsonObject wave = infoJson(path("in.wav"))["wave"].toObject();
    QCOMPARE(wave["opener"]["outcome"].toString(), outcome);
    QCOMPARE(wave["opener"]["message"].toString(), message);
    QCOMPARE(wave["walk"]["end"].toString(), walkEnd);
    QVERIFY(wave["opener"]["maxBeats"].isNull());
}

void TestInfo::waveWithoutFmtBeforeData() {
    ByteWriter w;
    w.riffHeader().tag("data").le32(0).fmtChunk(1, 44100, 16);
    test::writeFile(path("late.wav"), w.bytes());
    const QJsonObject wave = infoJson(path("late.wav"))["wave"].toObject();
    QVERIFY(wave["walk"]["fmtOffset"].isNull());
    QCOMPARE(wave["walk"]["dataOffset"].toInt(), 20);
    // Channels from offsets 9 and 10, "AV" of WAVE.
    QCOMPARE(wave["channels"].toInt(), 'A' | ('V' << 8));
}

void TestInfo::textForm() {
    test::writeFile(path("mono.wav"), waveHeader(1, 48000, 16, 0).bytes());
    const Run run = info({path("mono.wav")});
    QCOMPARE(run.status, cli::kOk);
    QVERIFY(run.err.empty());
    const QString out = QString::fromStdString(run.out);
    QVERIFY2(out.startsWith("kind: wave\npath: "), qPrintable(out));
    QVERIFY2(out.contains("\n  sample rate: 48000\n"), qPrintable(out));
    QVERIFY2(out.contains("\n    fmt offset: 12\n"), qPrintable(out));
    QVERIFY2(out.contains("\n    message: Repeater supports 44.1 kHz sample rate only, this file has a sample "
                          "rate of 48kHz\n"), qPrintable(out));
    QVERIFY2(out.contains("\n    max beats: none\n"), qPrintable(out));
}

void TestInfo::loopFolder() {
    const std::string folder = writeLoop("LOOP3", 1000000, 3);
    QVERIFY(!folder.empty());
    const QJsonObject o = infoJson(folder);
    QCOMPARE(o["kind"].toString(), QString("loop folder"));
    const QJsonObject d = o["description"].toObject();
    QCOMPARE(d["size"].toInt(), 16384);
    QCOMPARE(d["header"].toString(), QString("20 F3 FA 00"));
    QCOMPARE(d["tempoCode"].toInt(), 491590);
    QCOMPARE(d["tempo"].toDouble(), 120.0);  // (491590 / 410 + 1) / 10
    QCOMPARE(d["bars"].toInt(), 9);
    QCOMPARE(d["beats"].toInt(), 3);
    QCOMPARE(d["division"].toInt(), 4);
    QCOMPARE(d["loopSectors"].toInt(), 1953);
    QCOMPARE(d["checkTriple1"]["correct"].toBool(), true);
    QCOMPARE(d["checkTriple2"]["correct"].toBool(), true);
    const QJsonArray tracks = o["tracks"].toArray();
    QCOMPARE(tracks.size(), 4);
    for (int k = 1; k <= 4; ++k) {
        const QJsonObject t = tracks[k - 1].toObject();
        QCOMPARE(t["track"].toInt(), k);
        QCOMPARE(t["chosen"].toBool(), k == 3);
        QCOMPARE(t["sectors"].toInt(), 1953);  // end sector + 1, in every record
        QCOMPARE(t["clusters"].toInt(), k == 3 ? 62 : 0);
        QCOMPARE(t["file"].toString(), QString("track%1.wav").arg(k));
        QCOMPARE(t["fileExists"].toBool(), k == 3);
    }
    QCOMPARE(tracks[2]["pan"].toInt(), -40);
    QCOMPARE(tracks[2]["pitch"].toInt(), 700);
}

void TestInfo::loopFolderByItsDescription() {
    const std::string folder = writeLoop("LOOP1", 100000, 1, 127.5f);
    const QJsonObject o = infoJson(folder + "/loopinfo.ldf");
    QCOMPARE(o["kind"].toString(), QString("loop folder"));
    QCOMPARE(o["description"]["tempo"].toDouble(), 127.5);
    const QJsonObject slash = infoJson(folder + "/");
    QCOMPARE(slash["kind"].toString(), QString("loop folder"));
}

void TestInfo::brokenCheckTriple() {
    const std::string folder = writeLoop("LOOP2", 100000, 2);
    std::vector<uint8_t> ldf = test::readFile(folder + "/loopinfo.ldf");
    ldf[0x900] ^= 0x10;  // inside the second check range only
    test::writeFile(folder + "/loopinfo.ldf", ldf);
    const QJsonObject d = infoJson(folder)["description"].toObject();
    QCOMPARE(d["checkTriple1"]["correct"].toBool(), true);
    QCOMPARE(d["checkTriple2"]["correct"].toBool(), false);
    QVERIFY(d["checkTriple2"]["stored"].toString() != d["checkTriple2"]["expected"].toString());

    ldf.resize(100);  // a short description reads as if padded with zeros
    test::writeFile(folder + "/loopinfo.ldf", ldf);
    const QJsonObject shortOne = infoJson(folder)["description"].toObject();
    QCOMPARE(shortOne["size"].toInt(), 100);
    QCOMPARE(shortOne["checkTriple1"]["correct"].toBool(), false);
}

void TestInfo::trackSizes_data() {
    QTest::addColumn<int>("startByte");
    QTest::addColumn<int>("endWord");
    QTest::addColumn<int>("pre");
    QTest::addColumn<int>("audio");
    QTest::addColumn<QString>("outcome");
    // As written: pre 16384, audio n x 512 with n = 1953, post 0.
    QTest::newRow("as written") << 0 << 1952 << 16384 << 999936 << "accepted";
    // Start byte 200 (-56): audio (1000 + 56 + 1) x 512, pre (-56 + 96) x 512.
    QTest::newRow("start 200") << 200 << 1000 << 20480 << 541184 << "accepted";
    // Start 64: a 32768-byte pre-buffer; with the end moved by 64 too the audio stays
    // 1953 sectors and the post-buffer turns negative.
    QTest::newRow("start 64") << 64 << 2016 << 32768 << 999936 << "refused";
    QTest::newRow("start 64, shorter audio") << 64 << 1952 << 32768 << 1889 * 512 << "accepted";
    QTest::newRow("end below start") << 0 << -5 << 16384 << -4 * 512 << "refused";
}

void TestInfo::trackSizes() {
    QFETCH(int, startByte);
    QFETCH(int, endWord);
    QFETCH(int, pre);
    QFETCH(int, audio);
    QFETCH(QString, outcome);
    const std::string folder = writeLoop("LOOP7", 1000000, 1);
    std::vector<uint8_t> ldf = test::readFile(folder + "/loopinfo.ldf");
    ldf[51] = uint8_t(startByte);
    ldf[54] = uint8_t(endWord & 0xFF);
    ldf[55] = uint8_t((endWord >> 8) & 0xFF);
    test::writeFile(folder + "/loopinfo.ldf", ldf);
    const QJsonObject o = infoJson(folder + "/track1.wav");
    QCOMPARE(o["kind"].toString(), QString("track"));
    const QJsonObject t = o["trackSizes"].toObject();
    QCOMPARE(t["loop"].toString(), QString("LOOP7"));
    QCOMPARE(t["track"].toString(), QString("track1"));
    QCOMPARE(t["pre"].toInt(), pre);
    QCOMPARE(t["audio"].toInt(), audio);
    QCOMPARE(t["total"].toInt(), 16384 + 999936);
    QCOMPARE(t["post"].toInt(), 16384 + 999936 - audio - pre);
    QCOMPARE(t["opener"]["outcome"].toString(), outcome);
    QCOMPARE(t["opener"]["message"].toString(),
             outcome == "accepted" ? QString() : QString("Invalid or Untrimmed Repeater File"));
    // A track is a wave too.
    QCOMPARE(o["wave"]["opener"]["outcome"].toString(), QString("accepted"));
}

void TestInfo::trackSizesOutOfRange() {
    // total near the negative limit: total - audio - pre leaves 32 bits and the open command
    // ends without a message.
    const std::string folder = writeLoop("LOOP8", 10000, 2);
    ByteWriter track;
    track.riffHeader().fmtChunk(1, 44100, 16).tag("data").le32(-2147483647LL - 1);
    test::writeFile(folder + "/track2.wav", track.bytes());
    const QJsonObject t = infoJson(folder + "/track2.wav")["trackSizes"].toObject();
    QCOMPARE(t["opener"]["outcome"].toString(), QString("failed"));
    QVERIFY(t["opener"]["message"].isNull());
    QCOMPARE(t["total"].toInt(), -2147483647 - 1);
}

void TestInfo::wavFileWithoutDescriptionIsAWave() {
    QVERIFY(QDir(m_dir->path()).mkdir("plain"));
    test::writeFile(path("plain/track1.wav"), test::canonicalWave(1, {}));
    const QJsonObject o = infoJson(path("plain/track1.wav"));
    QCOMPARE(o["kind"].toString(), QString("wave"));
    QVERIFY(!o.contains("trackSizes"));
    QCOMPARE(o["wave"]["walk"]["dataSize"].toInt(), 0);
}

void TestInfo::pathWithQuoteStaysValidJson() {
    const std::string odd = path("say \"hi\"\\.wav");
    test::writeFile(odd, test::canonicalWave(1, {}));
    QCOMPARE(infoJson(odd)["path"].toString().toStdString(), odd);
}

void TestInfo::refusals_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "missing.wav" << "no such file or folder";
    QTest::newRow("folder without description") << "empty" << "not a loop folder";
    QTest::newRow("description is a folder") << "odd" << "not a loop folder";
    QTest::newRow("a pipe") << "pipe" << "not a file or folder that can be read";
}

void TestInfo::refusals() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir("empty"));
    QVERIFY(dir.mkpath("odd/loopinfo.ldf"));
    QCOMPARE(::mkfifo(path("pipe").c_str(), 0600), 0);
    const Run run = info({path(name), "--json"});
    QCOMPARE(run.status, cli::kFailed);
    QVERIFY(run.out.empty());
    const QString err = QString::fromStdString(run.err);
    QCOMPARE(err.count('\n'), 1);
    QVERIFY2(err.startsWith(QString::fromStdString("brenvik-cli info: " + path(name) + ": ")), qPrintable(err));
    QVERIFY2(err.contains(reason), qPrintable(err));
}

void TestInfo::badUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no path") << QStringList{};
    QTest::newRow("only --json") << QStringList{"--json"};
    QTest::newRow("two paths") << QStringList{"a.wav", "b.wav"};
    QTest::newRow("unknown option") << QStringList{"a.wav", "--xml"};
    QTest::newRow("json twice") << QStringList{"a.wav", "--json", "--json"};
    QTest::newRow("empty path") << QStringList{""};
}

void TestInfo::badUsage() {
    QFETCH(QStringList, args);
    std::vector<std::string> list;
    for (const QString& a : args) list.push_back(a.toStdString());
    const Run run = info(list);
    QCOMPARE(run.status, cli::kUsage);
    QVERIFY(run.out.empty());
    QVERIFY(QString::fromStdString(run.err).startsWith("usage: brenvik-cli info PATH"));
}

void TestInfo::builtProgram() {
    const std::string folder = writeLoop("LOOP5", 50000, 4);
    QProcess program;
    program.start(QStringLiteral(BRENVIK_CLI_PATH),
                  {"info", QString::fromStdString(folder + "/track4.wav"), "--json"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    const QJsonObject o = QJsonDocument::fromJson(program.readAllStandardOutput()).object();
    QCOMPARE(o["trackSizes"]["audio"].toInt(), 97 * 512);  // 50000 \ 512 = 97 sectors
    QCOMPARE(o["trackSizes"]["post"].toInt(), 0);

    program.start(QStringLiteral(BRENVIK_CLI_PATH), {"info", QString::fromStdString(path("nothing"))});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(program.readAllStandardError().contains("no such file or folder"));
}

QTEST_GUILESS_MAIN(TestInfo)
#include "tst_info.moc"
