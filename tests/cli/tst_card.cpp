// brenvik-cli list, check and export on one generated card: intact loops (mono, stereo, tracks
// 2 and 4, short and long, three tracks) and broken copies, one table row per loop.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

QStringList lines(const std::string& text) {
    return QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
}

void editDescription(const std::string& folder, const std::function<void(loop::Description&)>& edit) {
    const auto bytes = readFile(folder + "/loopinfo.ldf");
    loop::Description d{};
    std::copy(bytes.begin(), bytes.end(), d.begin());
    edit(d);
    writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(d.begin(), d.end()));
}

}  // namespace

class TestCard : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::string m_card = m_dir.path().toStdString() + "/card";

    std::string loop(int n) const { return m_card + "/LOOP" + std::to_string(n); }

private slots:
    void initTestCase() {
        makeCardLoop(m_card, 1, {1}, 10);
        makeCardLoop(m_card, 2, {1, 2}, 100);
        makeCardLoop(m_card, 3, {2, 4}, 50);
        makeCardLoop(m_card, 4, {3}, 3000);
        makeCardLoop(m_card, 5, {1, 2, 3}, 20);
        fs::remove(makeCardLoop(m_card, 6, {1}, 10) + "/loopinfo.ldf");
        editDescription(makeCardLoop(m_card, 7, {1}, 10), [](loop::Description& d) { d[0x1088] ^= 0x40; });
        fs::remove(makeCardLoop(m_card, 8, {1, 2}, 10) + "/track2.wav");
        fs::resize_file(makeCardLoop(m_card, 9, {1}, 10) + "/track1.wav", 16428 + 5000);
        editDescription(makeCardLoop(m_card, 10, {1}, 40), [](loop::Description& d) {
            d[loop::ldf::recordBase(1) + loop::ldf::kBitmap] |= 0x04;  // m = 2: a third bit
            loop::storeCheckTriples(d);
        });
        fs::copy_file(makeCardLoop(m_card, 11, {1}, 10) + "/track1.wav", loop(11) + "/track4.wav");
        // Its audio starts 2 sectors late (start sector 2, end sector 11), behind 34 sectors.
        editDescription(makeCardLoop(m_card, 12, {1}, 10), [](loop::Description& d) {
            d[loop::ldf::recordBase(1) + loop::ldf::kStartSector] = 2;
            d[loop::ldf::recordBase(1) + loop::ldf::kEndSector] = 11;
            loop::storeCheckTriples(d);
        });
        writeFile(loop(12) + "/track1.wav", expectedTrack(patternBytes(11 * 512)));
        auto track = readFile(makeCardLoop(m_card, 13, {1}, 10) + "/track1.wav");
        track[24] = 0x80, track[25] = 0xBB;  // 48000 Hz
        writeFile(loop(13) + "/track1.wav", track);
        makeFolder(m_card, "LOOP012");  // not a loop name: skipped, as is any other folder
        makeFolder(m_card, "Samples");
    }

    void eachLoop_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("channels");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QStringList>("problems");  // each line's start after "LOOPn: "
        QTest::newRow("mono, short") << 1 << "mono" << QList<int>{1} << 10 * 512 / 88200.0 << QStringList{};
        QTest::newRow("stereo") << 2 << "stereo" << QList<int>{1, 2} << 100 * 512 / 88200.0 << QStringList{};
        QTest::newRow("tracks 2 and 4") << 3 << "stereo" << QList<int>{2, 4} << 50 * 512 / 88200.0 << QStringList{};
        QTest::newRow("mono, long") << 4 << "mono" << QList<int>{3} << 3000 * 512 / 88200.0 << QStringList{};
        QTest::newRow("three tracks") << 5 << "3 tracks" << QList<int>{1, 2, 3} << 20 * 512 / 88200.0 << QStringList{};
        QTest::newRow("description missing") << 6 << "" << QList<int>{} << 0.0
                                             << QStringList{"loopinfo.ldf: file: missing"};
        QTest::newRow("check byte changed") << 7 << "mono" << QList<int>{1} << 10 * 512 / 88200.0
                                            << QStringList{"loopinfo.ldf: check triple 2: stored F0 BF FF, expected F0 FF FF"};
        QTest::newRow("track missing") << 8 << "stereo" << QList<int>{1, 2} << 10 * 512 / 88200.0
                                       << QStringList{"track2.wav: file: missing"};
        QTest::newRow("track cut short") << 9 << "mono" << QList<int>{1} << 10 * 512 / 88200.0
                                         << QStringList{"track1.wav: data size: 21504 bytes claimed, the file holds 21384"};
        QTest::newRow("bitmap bit too many") << 10 << "mono" << QList<int>{1} << 40 * 512 / 88200.0
                                             << QStringList{"loopinfo.ldf: track 1 cluster bitmap: 3 bits set, cluster count 2"};
        QTest::newRow("stray track") << 11 << "mono" << QList<int>{1} << 10 * 512 / 88200.0
                                     << QStringList{"track4.wav: file: present, but the description does not choose track 4"};
        QTest::newRow("track shorter than its end sector") << 12 << "mono" << QList<int>{1} << 10 * 512 / 88200.0
            << QStringList{"track1.wav: audio length: holds 0.1 s of the loop's 0.1 s (4608 of 5120 bytes behind the "
                           "pre-buffer): export would give silence after 0.1 s; restore it from a backup"};
        QTest::newRow("foreign sample rate") << 13 << "mono" << QList<int>{1} << 10 * 512 / 88200.0
                                             << QStringList{"track1.wav: sample rate: 48000, not 44100"};
    }

    // list --json gives each loop's fields and problems; check gives the same problems as lines
    // and exit status 1 for a broken loop, 0 and "ok" for an intact one.
    void eachLoop() {
        QFETCH(int, number);
        QFETCH(QString, channels);
        QFETCH(QList<int>, chosen);
        QFETCH(double, seconds);
        QFETCH(QStringList, problems);
        const CliRun list = runCli({"list", m_card, "--json"});
        QCOMPARE(list.status, 0);
        const QJsonArray loops = QJsonDocument::fromJson(QByteArray::fromStdString(list.out))["loops"].toArray();
        QCOMPARE(loops.size(), 13);
        const QJsonObject entry = loops[number - 1].toObject();
        QCOMPARE(entry["number"].toInt(), number);
        QCOMPARE(entry["channels"].toString(), channels);
        QList<int> listed;
        for (const QJsonValue& v : entry["chosenTracks"].toArray()) listed << v.toInt();
        QCOMPARE(listed, chosen);
        QCOMPARE(entry["seconds"].toDouble(), seconds);
        // One beat as long as the end sector makes the loop (the writer's end sector, read unsigned).
        QVERIFY(qAbs(entry["tempo"].toDouble() - (channels.isEmpty() ? 0.0 : 60 / seconds)) < 0.1);
        QCOMPARE(entry["beatCount"].toInt(), channels.isEmpty() ? 0 : 1);
        QCOMPARE(entry["path"].toString(), QString::fromStdString(loop(number)));
        QCOMPARE(entry["warnings"].toArray().size(), 0);
        QCOMPARE(entry["check"].toString(), problems.isEmpty() ? "ok" : "problems");

        const std::string name = "LOOP" + std::to_string(number);
        const CliRun check = runCli({"check", loop(number)});
        QCOMPARE(check.status, problems.isEmpty() ? 0 : 1);
        const QStringList said = lines(check.out);
        QCOMPARE(entry["problems"].toArray().size(), problems.size());
        if (problems.isEmpty()) QCOMPARE(said, QStringList{QString::fromStdString(loop(number) + ": ok")});
        else QCOMPARE(said.size(), problems.size());
        for (qsizetype i = 0; i < problems.size(); ++i) {
            QVERIFY2(said[i].startsWith(QString::fromStdString(loop(number) + ": ") + problems[i]), qPrintable(said[i]));
            QVERIFY(entry["problems"][i].toString().startsWith(QString::fromStdString(name + ": ") + problems[i]));
        }
    }

    void card() {
        const QJsonObject listed = QJsonDocument::fromJson(QByteArray::fromStdString(runCli({"list", m_card, "--json"}).out)).object();
        QCOMPARE(listed["loopCount"].toInt(), 13);
        QCOMPARE(listed["freeLoopNumbers"].toInt(), 986);
        QCOMPARE(listed["lowestFreeLoop"].toInt(), 14);
        QVERIFY(listed["freeSpace"].toDouble() > 0);
        const CliRun check = runCli({"check", m_card});
        QCOMPARE(check.status, 1);
        QCOMPARE(lines(check.out).size(), 5 + 8);  // five "ok", eight problems
        QCOMPARE(runCli({"check", loop(1), loop(2), "--json"}).status, 0);
        QCOMPARE(runCli({"check", loop(1), m_dir.path().toStdString() + "/nowhere"}).status, 1);
        QCOMPARE(runCli({"check"}).status, 2);
        QCOMPARE(runCli({"list", m_card, m_card}).status, 2);
        QCOMPARE(runCli({"export", m_card}).status, 2);
    }

    // A loop that plays, but not as meant, is warned about: exit 0, or 1 with --strict.
    void warnings_data() {
        QTest::addColumn<int>("beats");
        QTest::addColumn<double>("tempo");  // 0: the one the beats make
        QTest::addColumn<QString>("warning");
        QTest::newRow("as meant") << 16 << 0.0 << "";
        QTest::newRow("tempo of beats per bar x position") << 16 << 232.5 << "loopinfo.ldf: tempo: 232.5 BPM stored; 16 beats in 17.4 s make 55.1 BPM: the Repeater plays";
        QTest::newRow("300 beats stored as 44") << 300 << 0.0 << "loopinfo.ldf: beat count: 44 stored; its tempo and length make 300 beats (the count wrapped past 255)";
    }
    void warnings() {
        QFETCH(int, beats);
        QFETCH(double, tempo);
        QFETCH(QString, warning);
        const std::string card = m_dir.path().toStdString() + "/warned", folder = makeCardLoop(card, 1, {1}, 3000, beats, tempo);
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"check", folder}, {"list", card}}) {
            const CliRun plain = runCli(args);
            QCOMPARE(plain.status, 0);
            QCOMPARE(plain.out.find(warning.toStdString()) != std::string::npos, true);
            std::vector<std::string> strict = args;
            strict.push_back("--strict");
            QCOMPARE(runCli(strict).status, warning.isEmpty() ? 0 : 1);
        }
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(runCli({"check", folder, "--json"}).out)).object();
        const QJsonArray warnings = json["loops"][0]["warnings"].toArray();
        QCOMPARE(json["loops"][0]["name"].toString(), "LOOP1");
        QCOMPARE(warnings.size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty()) QVERIFY(warnings[0].toString().startsWith("LOOP1: " + warning));
        fs::remove_all(card);
    }

    // list shows bars as bars (the beats of an unfinished bar after a plus), beats per bar and the
    // beat count under their own headings; --json names the stored bytes by what they hold.
    void barsAsBars_data() {
        QTest::addColumn<int>("beats");
        QTest::addColumn<int>("beatsPerBar");
        QTest::addColumn<QString>("columns");  // bars, beats/bar, beats as list prints them
        QTest::newRow("4 bars of 4") << 16 << 4 << "     4         4    16";
        QTest::newRow("4 bars and 2 beats of 4") << 18 << 4 << " 4 + 2         4    18";
        QTest::newRow("7 bars of 1") << 7 << 1 << "     7         1     7";
        QTest::newRow("less than a bar") << 3 << 4 << " 0 + 3         4     3";
        QTest::newRow("300 beats stored as 44, in 3/4") << 300 << 3 << "14 + 2         3    44";
        QTest::newRow("no beats per bar") << 16 << 0 << "     -         0    16";
    }
    void barsAsBars() {
        QFETCH(int, beats);
        QFETCH(int, beatsPerBar);
        QFETCH(QString, columns);
        const std::string card = m_dir.path().toStdString() + "/bars";
        makeCardLoop(card, 1, {1}, 3000, beats, 120, beatsPerBar);
        const QStringList rows = lines(runCli({"list", card}).out);
        QCOMPARE(rows[0].left(44), "loop      tempo   bars beats/bar beats div  ");
        QCOMPARE(rows[1].left(44), "LOOP1     120.0 " + columns + "   4  ");
        const QJsonObject entry = QJsonDocument::fromJson(QByteArray::fromStdString(runCli({"list", card, "--json"}).out))["loops"][0].toObject();
        QCOMPARE((QList<int>{entry["beatCount"].toInt(), entry["beatsPerBar"].toInt()}), (QList<int>{beats % 256, beatsPerBar}));
        QVERIFY(!entry.contains("bars") && !entry.contains("beats"));
        fs::remove_all(card);
    }

    // A path without loops is no card; a path that is not UTF-8 still makes valid JSON.
    void pathsWithoutLoopsOrUtf8() {
        const std::string empty = m_dir.path().toStdString() + "/empty";
        fs::create_directories(empty);
        const CliRun none = runCli({"check", empty});
        QCOMPARE(none.status, 1);
        QCOMPARE(none.err, "brenvik-cli check: no loops found in " + empty + "\n");
        // Bytes that form no character (an overlong form, a cut sequence) around an "é" that does.
        const std::string odd = m_dir.path().toStdString() + "/card\xE9\xFF\xE0\x80\xE2\x82" "A\xC3\xA9";
        fs::rename(fs::path(makeCardLoop(m_dir.path().toStdString() + "/plain", 1, {1}, 10)).parent_path(), odd);
        const CliRun listed = runCli({"list", odd, "--json"});
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(listed.out), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json["loops"][0]["path"].toString(), m_dir.path() + QString::fromUtf16(u"/card\xDCE9\xDCFF\xDCE0\xDC80\xDCE2\xDC82" u"A\x00E9/LOOP1"));
        fs::remove_all(odd);
    }

    // A track that holds less audio than its end sector: export refuses it, naming the problem,
    // unless --force; to-wave converts it with a warning.
    void shortTrackIsNotPassedOffAsAudio() {
        const std::string out = m_dir.path().toStdString() + "/short";
        fs::create_directories(out);
        const CliRun refused = runCli({"export", loop(9), "--to", out});
        QCOMPARE(refused.status, 1);
        QCOMPARE(entriesIn(out), 0);
        QVERIFY2(refused.err.find(loop(9) + ": LOOP9 has a damaged track, so it was not exported\n  track1.wav: data size: 21504 bytes claimed") == 0, refused.err.c_str());
        QVERIFY(refused.err.find("--force exports it all the same") != std::string::npos);
        QCOMPARE(runCli({"export", loop(9), "--to", out, "--force"}).status, 0);
        QCOMPARE(entriesIn(out), 1);
        const CliRun converted = runCli({"to-wave", loop(9) + "/track1.wav", "--output", out + "/t.wav"});
        QCOMPARE(converted.status, 0);
        QVERIFY(converted.err.find(loop(9) + "/track1.wav holds 0.1 s of the loop's 0.1 s: the wave is silent after") != std::string::npos);
        fs::remove_all(out);
    }

    // export writes what to-wave writes from the same tracks, and keeps existing waves unless
    // told to replace them.
    void exportLikeToWave() {
        const std::string out = m_dir.path().toStdString() + "/out", ref = m_dir.path().toStdString() + "/ref";
        fs::create_directories(out);
        fs::create_directories(ref);
        const CliRun run = runCli({"export", loop(1), loop(2), loop(3), loop(5), "--to", out});
        QCOMPARE(run.status, 0);
        const std::vector<std::pair<std::string, std::vector<std::string>>> waves{
            {"LOOP1-track1.wav", {loop(1) + "/track1.wav"}},
            {"LOOP2.wav", {loop(2) + "/track1.wav", loop(2) + "/track2.wav"}},
            {"LOOP3.wav", {loop(3) + "/track2.wav", loop(3) + "/track4.wav"}},
            {"LOOP5-track1.wav", {loop(5) + "/track1.wav"}},
            {"LOOP5-track2.wav", {loop(5) + "/track2.wav"}},
            {"LOOP5-track3.wav", {loop(5) + "/track3.wav"}}};
        QCOMPARE(entriesIn(out), int(waves.size()));
        for (const auto& [name, tracks] : waves) {
            std::vector<std::string> args{"to-wave"};
            args.insert(args.end(), tracks.begin(), tracks.end());
            args.insert(args.end(), {"--output", ref + "/" + name});
            QCOMPARE(runCli(args).status, 0);
            QVERIFY2(readFile(out + "/" + name) == readFile(ref + "/" + name), name.c_str());
        }
        writeFile(out + "/LOOP2.wav", {1, 2, 3});
        QCOMPARE(runCli({"export", loop(2), "--to", out}).status, 1);
        QCOMPARE(readFile(out + "/LOOP2.wav"), (std::vector<uint8_t>{1, 2, 3}));
        QCOMPARE(runCli({"export", loop(2), "--to", out, "--overwrite"}).status, 0);
        QCOMPARE(readFile(out + "/LOOP2.wav"), readFile(ref + "/LOOP2.wav"));
        // A loop the opener refuses is told with its message; the others are written all the same.
        const CliRun refused = runCli({"export", loop(6), loop(1), "--to", ref, "--overwrite"});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.find("Repeater's .ldf and .wav files must reside in the same directory") != std::string::npos);
        QCOMPARE(lines(refused.out).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCard)
#include "tst_card.moc"
