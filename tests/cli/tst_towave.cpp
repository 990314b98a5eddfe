// brenvik-cli to-wave, in-process on real loop folders (tst_toloop runs the built program).
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "../repeater_to_wave/LoopFixture.h"
#include "CliRun.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

class TestToWave : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_leftAudio = patternBytes(6144, 21);
        m_rightAudio = patternBytes(4096, 900);
        m_left = makeLoop(root(), "LOOP1", m_leftAudio, 1, 256);
        m_right = makeLoop(root(), "LOOP2", m_rightAudio, 2);
    }

    // The first track goes to the left channel, the second to the right one.
    void twoTracksGiveStereoWave() {
        for (bool swapped : {false, true}) {
            const std::string output = root() + (swapped ? "/swapped.wav" : "/stereo.wav");
            const std::string& first = swapped ? m_right : m_left;
            const CliRun run = runCli("to-wave", {first, swapped ? m_left : m_right, "--output", output});
            QCOMPARE(run.status, 0);
            QCOMPARE(readFile(output), concat(expectedHeader(2, 44100, 176400, 4, 12288),
                                              swapped ? interleaved(m_rightAudio, m_leftAudio)
                                                      : interleaved(m_leftAudio, m_rightAudio)));
        }
    }

    // One track gives a mono wave. An existing output is kept without --overwrite and replaced
    // whole (not just overwritten in front) with it.
    void monoWaveOverAnExistingOutput() {
        const std::string output = root() + "/kept.wav";
        const std::vector<uint8_t> old(70000, 0x42);
        writeFile(output, old);
        CliRun run = runCli("to-wave", {m_left, "--output", output});
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("File already exists. Overwrite?"));
        QVERIFY(!run.said("File writing successful"));
        QVERIFY(run.said(output + " was left as it is (--overwrite replaces it)"));
        QVERIFY(run.out.empty());
        QCOMPARE(readFile(output), old);
        run = runCli("to-wave", {m_left, "--output", output, "--overwrite"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, output + "\n");
        QVERIFY(run.said("File writing successful"));
        QCOMPARE(readFile(output), concat(expectedHeader(1, 44100, 88200, 2, 6144), m_leftAudio));
    }

    // The opener's own messages come from the window; when it ends without one the tool says
    // why. Nothing is written either way.
    void openerRefusalsFail_data() {
        QTest::addColumn<int>("endWord");
        QTest::addColumn<qint64>("dataSize");  // 0: as the track holds
        QTest::addColumn<bool>("asRight");     // opened as the right track, behind a good left one
        QTest::addColumn<QString>("message");
        const QString untrimmed = "Invalid or Untrimmed Repeater File";
        QTest::newRow("negative audio") << -5 << qint64(0) << false << untrimmed;
        QTest::newRow("right track smaller than its audio") << 3 << qint64(100) << true << untrimmed;
        // total - audio - pre leaves 32 bits: the open command ends without a message.
        QTest::newRow("size beyond 32 bits") << 0 << qint64(INT32_MIN) << false << "cannot be read as a Repeater track";
    }

    void openerRefusalsFail() {
        QFETCH(int, endWord);
        QFETCH(qint64, dataSize);
        QFETCH(bool, asRight);
        QFETCH(QString, message);
        const std::string folder = makeFolder(root(), "LOOP9");
        writeDescription(folder, 0, int16_t(endWord));
        TrackSpec layout;
        layout.audio = patternBytes(512);
        if (dataSize != 0) layout.dataSize = int32_t(dataSize);
        const std::string track = writeTrack(folder, layout);
        const std::string output = root() + "/never.wav";
        const CliRun run = asRight ? runCli("to-wave", {m_left, track, "--output", output})
                                   : runCli("to-wave", {track, "--output", output});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.said(message.toStdString()), run.err.c_str());
        QVERIFY(!std::filesystem::exists(output));
    }

    void saveFailureFails() {
        const CliRun run = runCli("to-wave", {m_left, "--output", root() + "/missing/folder/out.wav"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("error in fileSaving()"));
        QVERIFY(run.out.empty());
    }

    void relativePathsAreResolved() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        const CliRun run = runCli("to-wave", {"LOOP1/track1.wav", "--output", "relative.wav"});
        QDir::setCurrent(before);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, root() + "/relative.wav\n");
        QVERIFY(std::filesystem::exists(root() + "/relative.wav"));
    }

    void badUsage_data() {
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

    void badUsage() {
        QFETCH(QStringList, args);
        const CliRun run = runCli("to-wave", stdStrings(args));
        QCOMPARE(run.status, 2);
        QVERIFY(run.said("usage: brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]"));
        QVERIFY(run.out.empty());
    }

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<uint8_t> m_leftAudio, m_rightAudio;
    std::string m_left, m_right;
};

QTEST_GUILESS_MAIN(TestToWave)
#include "tst_towave.moc"
