// brenvik-cli info, in-process on real files and loop folders (tst_toloop runs the built program).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "ByteWriter.h"
#include "CliRun.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "TestFiles.h"
#include "TrackFile.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

QJsonObject infoJson(const std::string& path) {
    const CliRun run = runCli("info", {path, "--json"});
    if (run.status != cli::kOk) qWarning("info failed: %s", run.err.c_str());
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        qWarning("not one JSON object: %s\n%s", qPrintable(error.errorString()), run.out.c_str());
    return doc.object();
}

QJsonObject json(const char* text) { return QJsonDocument::fromJson(text).object(); }

// Every member of `expected` has the same value in `actual`.
void compareMembers(const QJsonValue& actual, const QJsonObject& expected) {
    QVERIFY(!expected.isEmpty());
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QJsonArray pair{actual[it.key()], it.value()};  // shown as [actual, expected]
        const QString shown = it.key() + ": " + QJsonDocument(pair).toJson(QJsonDocument::Compact);
        QVERIFY2(pair[0] == pair[1], qPrintable(shown));
    }
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
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void acceptedWave() {
        writeFile(path("stereo.wav"), canonicalWave(2, patternBytes(1411200)));
        const QJsonObject o = infoJson(path("stereo.wav"));
        QCOMPARE(o["kind"].toString(), QString("wave"));
        // maxBeats: 705,600 bytes per channel \ 22050.
        QCOMPARE(o["wave"].toObject(), json(R"({"fileSize": 1411244, "channels": 2, "sampleRate": 44100,
            "bitsPerSample": 16, "walk": {"end": "data", "chunks": 2, "fmtOffset": 12, "dataOffset": 44,
            "dataSize": 1411200}, "opener": {"outcome": "accepted", "message": null, "maxBeats": 32}})"));
    }

    // One row for each way the opener's verdict and the walk's end are named (a wrong rate is in
    // textForm).
    void waveVerdicts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("walkEnd");
        auto bytes = [](const ByteWriter& w) {
            return QByteArray(reinterpret_cast<const char*>(w.bytes().data()), qsizetype(w.size()));
        };
        const QString error = "Error in fileOpeing()";
        QTest::newRow("8 bit") << bytes(waveHeader(1, 44100, 8, 0)) << "refused"
                               << "Repeater supports 16 bit audio only, this file is 8 bit" << "data";
        QTest::newRow("0 channels") << bytes(waveHeader(0, 44100, 16, 100)) << "failed" << error << "data";
        QTest::newRow("cut in the data size") << bytes(waveHeader(1, 44100, 16, 0)).left(41) << "failed" << error
                                              << "end of file";
        QTest::newRow("cycle") << bytes(ByteWriter().riffHeader().tag("loop").le32(-8).fill(8)) << "failed" << error
                               << "broken";
    }

    void waveVerdicts() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcome);
        QFETCH(QString, message);
        QFETCH(QString, walkEnd);
        writeFile(path("in.wav"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        const QJsonObject wave = infoJson(path("in.wav"))["wave"].toObject();
        compareMembers(wave["opener"], {{"outcome", outcome}, {"message", message}, {"maxBeats", QJsonValue()}});
        QCOMPARE(wave["walk"]["end"].toString(), walkEnd);
    }

    void waveWithoutFmtBeforeData() {
        writeFile(path("late.wav"), ByteWriter().riffHeader().tag("data").le32(0).fmtChunk(1, 44100, 16).bytes());
        const QJsonObject wave = infoJson(path("late.wav"))["wave"].toObject();
        compareMembers(wave["walk"], json(R"({"fmtOffset": null, "dataOffset": 20})"));
        QCOMPARE(wave["channels"].toInt(), 'A' | ('V' << 8));  // from offsets 9 and 10, "AV" of WAVE
    }

    void textForm() {
        writeFile(path("mono.wav"), waveHeader(1, 48000, 16, 0).bytes());
        const CliRun run = runCli("info", {path("mono.wav")});
        QCOMPARE(run.status, cli::kOk);
        QVERIFY(run.err.empty());
        const QString out = QString::fromStdString(run.out);
        QVERIFY2(out.startsWith("kind: wave\npath: "), qPrintable(out));
        QVERIFY2(out.contains("\n  sample rate: 48000\n"), qPrintable(out));
        QVERIFY2(out.contains("\n    fmt offset: 12\n"), qPrintable(out));
        QVERIFY2(out.contains("\n    outcome: refused\n"), qPrintable(out));
        QVERIFY2(out.contains("\n    message: Repeater supports 44.1 kHz sample rate only, this file has a sample "
                              "rate of 48kHz\n"), qPrintable(out));
        QVERIFY2(out.contains("\n    max beats: none\n"), qPrintable(out));
    }

    // The folder named as itself, with a slash behind it, or by its loopinfo.ldf.
    void loopFolder() {
        const std::string folder = writeLoop("LOOP3", 1000000, 3, 127.5f);
        QVERIFY(!folder.empty());
        const QJsonObject o = infoJson(folder);
        QCOMPARE(o["kind"].toString(), QString("loop folder"));
        for (const std::string& other : {folder + "/", folder + "/loopinfo.ldf"}) {
            const QJsonObject p = infoJson(other);
            QCOMPARE(p["kind"], o["kind"]);
            QCOMPARE(p["description"], o["description"]);
            QCOMPARE(p["tracks"], o["tracks"]);
        }
        // The tempo is (522340 / 410 + 1) / 10.
        compareMembers(o["description"], json(R"({"size": 16384, "header": "20 F3 FA 00", "tempoCode": 522340,
            "tempo": 127.5, "bars": 9, "beats": 3, "division": 4, "loopSectors": 1953})"));
        QCOMPARE(o["description"]["checkTriple1"]["correct"].toBool(), true);
        QCOMPARE(o["description"]["checkTriple2"]["correct"].toBool(), true);
        const QJsonArray tracks = o["tracks"].toArray();
        QCOMPARE(tracks.size(), 4);
        for (int k = 1; k <= 4; ++k)  // sectors: end sector + 1, in every record
            compareMembers(tracks[k - 1], {{"track", k}, {"chosen", k == 3}, {"sectors", 1953},
                                           {"clusters", k == 3 ? 62 : 0}, {"file", QString("track%1.wav").arg(k)},
                                           {"fileExists", k == 3}});
        compareMembers(tracks[2], json(R"({"pan": -40, "pitch": 700})"));
    }

    void brokenCheckTriple() {
        const std::string folder = writeLoop("LOOP2", 100000, 2);
        std::vector<uint8_t> ldf = readFile(folder + "/loopinfo.ldf");
        ldf[0x900] ^= 0x10;  // inside the second check range only
        writeFile(folder + "/loopinfo.ldf", ldf);
        const QJsonObject d = infoJson(folder)["description"].toObject();
        QCOMPARE(d["checkTriple1"]["correct"].toBool(), true);
        QCOMPARE(d["checkTriple2"]["correct"].toBool(), false);
        QVERIFY(d["checkTriple2"]["stored"].toString() != d["checkTriple2"]["expected"].toString());

        ldf.resize(100);  // a short description reads as if padded with zeros
        writeFile(folder + "/loopinfo.ldf", ldf);
        const QJsonObject shortOne = infoJson(folder)["description"].toObject();
        QCOMPARE(shortOne["size"].toInt(), 100);
        QCOMPARE(shortOne["checkTriple1"]["correct"].toBool(), false);
    }

    // A track seen as the Repeater-to-wave opener sees it. Start byte 200 (-56): audio
    // (1000 + 56 + 1) x 512, pre (-56 + 96) x 512. Start 64: a 32768-byte pre-buffer; with the end
    // moved by 64 too the audio stays 1953 sectors and the post-buffer turns negative.
    void trackSizes() {
        const std::string folder = writeLoop("LOOP7", 1000000, 1);
        std::vector<uint8_t> ldf = readFile(folder + "/loopinfo.ldf");
        const int total = 16384 + 999936;
        for (auto [start, end, pre, audio, accepted] : std::initializer_list<std::tuple<int, int, int, int, bool>>{
                 {200, 1000, 20480, 541184, true}, {64, 2016, 32768, 999936, false}}) {
            ldf[51] = uint8_t(start);
            ldf[54] = uint8_t(end & 0xFF);
            ldf[55] = uint8_t(end >> 8);
            writeFile(folder + "/loopinfo.ldf", ldf);
            const QJsonObject o = infoJson(folder + "/track1.wav");
            QCOMPARE(o["kind"].toString(), QString("track"));
            compareMembers(o["trackSizes"], {{"loop", "LOOP7"}, {"track", "track1"}, {"pre", pre}, {"audio", audio},
                                             {"total", total}, {"post", total - audio - pre}});
            compareMembers(o["trackSizes"]["opener"],
                           {{"outcome", accepted ? "accepted" : "refused"},
                            {"message", accepted ? QJsonValue() : QJsonValue("Invalid or Untrimmed Repeater File")}});
            QCOMPARE(o["wave"]["opener"]["outcome"].toString(), QString("accepted"));  // a track is a wave too
        }
    }

    void trackSizesOutOfRange() {
        // total near the negative limit: total - audio - pre leaves 32 bits and the open command
        // ends without a message.
        const std::string folder = writeLoop("LOOP8", 10000, 2);
        writeFile(folder + "/track2.wav", waveHeader(1, 44100, 16, -2147483647LL - 1).bytes());
        const QJsonObject t = infoJson(folder + "/track2.wav")["trackSizes"].toObject();
        compareMembers(t["opener"], json(R"({"outcome": "failed", "message": null})"));
        QCOMPARE(t["total"].toInt(), -2147483647 - 1);
    }

    // A .wav file in a folder without loopinfo.ldf is a plain wave; its path stays valid JSON.
    void waveOutsideALoopFolder() {
        const std::string odd = path("say \"hi\"\\.wav");
        writeFile(odd, canonicalWave(1, {}));
        const QJsonObject o = infoJson(odd);
        QCOMPARE(o["kind"].toString(), QString("wave"));
        QCOMPARE(o["path"].toString().toStdString(), odd);
        QVERIFY(!o.contains("trackSizes"));
        QCOMPARE(o["wave"]["walk"]["dataSize"].toInt(), 0);
    }

    void refusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "missing.wav" << "no such file or folder";
        QTest::newRow("folder without description") << "empty" << "not a loop folder";
        QTest::newRow("description is a folder") << "odd" << "not a loop folder";
        QTest::newRow("a pipe") << "pipe" << "not a file or folder that can be read";
    }

    void refusals() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QDir dir(m_dir->path());
        QVERIFY(dir.mkdir("empty"));
        QVERIFY(dir.mkpath("odd/loopinfo.ldf"));
        QCOMPARE(::mkfifo(path("pipe").c_str(), 0600), 0);
        const CliRun run = runCli("info", {path(name), "--json"});
        QCOMPARE(run.status, cli::kFailed);
        QVERIFY(run.out.empty());
        const QString err = QString::fromStdString(run.err);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY2(err.startsWith(QString::fromStdString("brenvik-cli info: " + path(name) + ": ")), qPrintable(err));
        QVERIFY2(err.contains(reason), qPrintable(err));
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no path") << QStringList{};
        QTest::newRow("only --json") << QStringList{"--json"};
        QTest::newRow("two paths") << QStringList{"a.wav", "b.wav"};
        QTest::newRow("unknown option") << QStringList{"a.wav", "--xml"};
        QTest::newRow("json twice") << QStringList{"a.wav", "--json", "--json"};
        QTest::newRow("empty path") << QStringList{""};
    }

    void badUsage() {
        QFETCH(QStringList, args);
        const CliRun run = runCli("info", stdStrings(args));
        QCOMPARE(run.status, cli::kUsage);
        QVERIFY(run.out.empty());
        QVERIFY(QString::fromStdString(run.err).startsWith("usage: brenvik-cli info PATH"));
    }

private:
    std::string path(const QString& name) const { return m_dir->filePath(name).toStdString(); }
    // A loop folder as the loop writer makes it: mono source of dataLength bytes on `track`.
    std::string writeLoop(const QString& name, int32_t dataLength, int track, float tempo = 120.0f) {
        if (!QDir(m_dir->path()).mkdir(name)) return {};
        const std::string folder = path(name);
        const int32_t N = loop::loopSectors(dataLength);
        loop::LoopValues v{loop::trackSectors(dataLength, false), N, loop::clusterCount(N), loop::tempoCode(tempo),
                           9, 3, 4, {}};
        v.tracks[size_t(track - 1)] = loop::TrackMix{true, -40, 700};
        const loop::Description d = loop::buildDescription(v);
        writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(d.begin(), d.end()));
        const wave::Header h = loop::trackHeader(loop::audioLength(dataLength, false));
        std::vector<uint8_t> file(h.begin(), h.end());
        file.resize(file.size() + 16384 + size_t(loop::audioLength(dataLength, false)));
        writeFile(folder + "/" + loop::trackFileName(track), file);
        return folder;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestInfo)
#include "tst_info.moc"
