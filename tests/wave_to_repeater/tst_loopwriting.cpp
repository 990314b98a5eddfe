#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <filesystem>
#include <memory>

#include "LoopDescription.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

using Steps = std::vector<std::pair<float, float>>;
Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(brenvik::MessageAnswer)
Q_DECLARE_METATYPE(brenvik::LoopWriteResult::Outcome)

namespace {

// 12 beats (position 11), 3 beats per bar: the tempo comes from entry 3 x 11 = 33, which is
// 2.5 x 34 = 85 beats per minute, tempo code 410 x (850 - 1) = 348090.
loop::LoopValues expectedValues(int32_t d, bool stereo) {
    loop::LoopValues v;
    v.trackSectors = stereo ? d / 1024 : d / 512;
    v.loopSectors = d / 512;
    v.clusters = static_cast<int32_t>(std::nearbyint((v.loopSectors - 1) / 32.0 + 1));
    v.tempoCode = 348090;
    v.beatCount = 12;
    v.beatsPerBar = 3;
    v.division = 4;
    v.tracks[0].chosen = true;
    v.tracks[1].chosen = stereo;
    return v;
}

}  // namespace

class TestLoopWriting : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestInteraction> m_ui;
    std::unique_ptr<ScriptedFiles> m_files;
    Steps m_steps;

    std::string card() const { return m_dir->path().toStdString() + "/card"; }
    std::string loop7() const { return card() + "/LOOP7"; }
    std::string source(const std::vector<uint8_t>& bytes) {
        const std::string path = m_dir->path().toStdString() + "/source.wav";
        writeFile(path, bytes);
        return path;
    }
    // Loop 7 on the card from the source, 12 beats in bars of 3, tempo entry i - 1 of 2.5 i.
    LoopWriteRequest request(int channels) {
        LoopWriteRequest r;
        r.destination = card();
        r.loopNumberText = "7";
        r.mode = channels == 2 ? ChannelMode::Stereo : ChannelMode::Mono;
        r.sourcePath = m_dir->path().toStdString() + "/source.wav";
        r.settings.beatCount = 12;
        r.settings.beatsPerBar = 3;
        r.tempoTable.assign(41, 0.0f);
        for (int i = 1; i <= 40; ++i) r.tempoTable[size_t(i - 1)] = 2.5f * static_cast<float>(i);
        return r;
    }
    LoopWriteResult write(const LoopWriteRequest& r) {
        const auto progress = [this](float done, float total) {
            m_steps.emplace_back(done, total);
        };
        return writeLoop(r, *m_files, askBeforeReplacingLoop(*m_ui), progress);
    }
    void existingLoop(int64_t size) {
        fs::create_directory(loop7());
        writeFile(loop7() + "/old.bin", std::vector<uint8_t>(size_t(size), 9));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ui = std::make_unique<TestInteraction>();
        m_files = std::make_unique<ScriptedFiles>();
        m_steps.clear();
        fs::create_directory(card());
    }

    void writes_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("d");
        QTest::addColumn<Steps>("steps");
        QTest::newRow("mono 1,000,000") << 1 << 1000000 << Steps{{0, 1000}, {1000, 1000}};
        QTest::newRow("mono under a sector") << 1 << 300 << Steps{{0, 0}};
        QTest::newRow("mono 1 MiB + 512") << 1 << 1049088 << Steps{{0, 1049}, {1048, 1049}, {1048, 1049}};
        QTest::newRow("stereo odd N")  // N = 2051: the last half sector goes to both tracks
            << 2 << 1050112 << Steps{{0, 1050}, {1048, 1050}, {1049, 1050}, {1050, 1050}};
        QTest::newRow("stereo 3 MiB")
            << 2 << 3145728 << Steps{{0, 3145}, {1048, 3145}, {2096, 3145}, {3144, 3145}, {3145, 3145}};
        // A remainder of 64000 bytes: its step is (q - 1) \ 1000 = 63, not 64.
        QTest::newRow("stereo remainder a multiple of 1000")
            << 2 << 1112576 << Steps{{0, 1112}, {1048, 1112}, {1111, 1112}, {1112, 1112}};
        QTest::newRow("stereo one sector and a bit") << 2 << 700 << Steps{{0, 0}, {0, 0}, {0, 0}};
    }

    // Tracks byte for byte from the source pattern and the track layout; loopinfo.ldf as the
    // description of these counts; the progress bar's figures in order.
    void writes() {
        QFETCH(int, channels);
        QFETCH(int, d);
        QFETCH(Steps, steps);
        const bool stereo = channels == 2;
        const auto data = patternBytes(size_t(d));
        source(wave(channels, data));
        const LoopWriteResult result = write(request(channels));

        QCOMPARE(result.outcome, LoopWriteResult::Outcome::Written);
        QCOMPARE(result.loopFolder, loop7());
        QCOMPARE(result.loopNumber, std::optional<int16_t>(7));
        QCOMPARE(m_steps, steps);
        QVERIFY(m_ui->messages().empty());
        const size_t whole = size_t(d / 512 * 512);
        if (stereo) {
            QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack(channelWords(data, 0, whole / 2)));
            QCOMPARE(readFile(loop7() + "/track2.wav"), expectedTrack(channelWords(data, 1, whole / 2)));
        } else {
            QCOMPARE(readFile(loop7() + "/track1.wav"), expectedTrack({data.begin(), data.begin() + whole}));
        }
        QCOMPARE(entriesIn(loop7()), stereo ? 3 : 2);
        const loop::Description expected = loop::buildDescription(expectedValues(d, stereo));
        QCOMPARE(readFile(loop7() + "/loopinfo.ldf"), std::vector<uint8_t>(expected.begin(), expected.end()));
    }

    void refusals_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("destination");  // below the card folder
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("dataChunk");
        QTest::addColumn<LoopWriteResult::Outcome>("outcome");
        QTest::addColumn<QString>("message");  // "{card}" stands for the card folder
        QTest::addColumn<bool>("critical");
        QTest::addColumn<int>("normalised");  // 0: none
        using O = LoopWriteResult::Outcome;
        const QString notNumber = "Loop Number should be a Number [1-999]";
        const QString range = "Loop Number is out of Range [1-999]";
        QTest::newRow("empty") << ""
                               << "" << true << true << O::Refused << notNumber << true << 0;
        QTest::newRow("0") << "0"
                           << "" << true << true << O::Refused << range << true << 0;
        QTest::newRow("-3") << "-3"
                            << "" << true << true << O::Refused << range << true << 0;
        QTest::newRow("2.5 is 2") << "2.5"
                                  << "" << true << true << O::Written << "" << false << 2;
        // The number is normalised before the folder check.
        QTest::newRow("destination missing")
            << "007"
            << "/missing" << true << true << O::Refused
            << "Folder: {card}/missing does not exist or drive not ready" << true << 7;
        QTest::newRow("no wave") << "7"
                                 << "" << false << true << O::Refused
                                 << "No wave file has been opened" << false << 7;
        QTest::newRow("no data chunk")
            << "7"
            << "" << true << false << O::Failed << "error in fileSaving()" << true << 7;
    }

    void refusals() {
        QFETCH(QString, number);
        QFETCH(QString, destination);
        QFETCH(bool, opened);
        QFETCH(bool, dataChunk);
        QFETCH(LoopWriteResult::Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        QFETCH(int, normalised);
        source(dataChunk ? wave(1, patternBytes(1024)) : riff({fmtChunk(1, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})}));
        LoopWriteRequest r = request(1);
        r.loopNumberText = number.toStdString();
        r.destination += destination.toStdString();
        if (!opened) r.mode.reset();
        const LoopWriteResult result = write(r);
        message.replace("{card}", QString::fromStdString(card()));
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(QString::fromStdString(result.message), message);
        QCOMPARE(result.icon, critical ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(result.loopNumber.value_or(0), normalised);
        QCOMPARE(entriesIn(card()), outcome == LoopWriteResult::Outcome::Written ? 1 : 0);
    }

    // A size field beyond the file is refused before the overwrite question: the old loop stays.
    void sourceShorterThanItsSize() {
        source(riff({fmtChunk(1, 44100, 16), chunk("data", 100000, patternBytes(1000))}));
        existingLoop(10);
        QCOMPARE(write(request(1)).outcome, LoopWriteResult::Outcome::Failed);
        QVERIFY(m_ui->messages().empty());
        QCOMPARE(entriesIn(loop7()), 1);
    }

    void tooLong_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("sectors");  // N
        QTest::addColumn<bool>("refused");
        QTest::newRow("mono end sector 65535") << 1 << 65536 << false;
        QTest::newRow("mono end sector 65536") << 1 << 65537 << true;
        QTest::newRow("stereo 2592 clusters") << 2 << 82929 << false;  // R(2592.5) = 2592
        QTest::newRow("stereo 2593 clusters") << 2 << 82930 << true;
    }

    // Sparse sources: the refusal comes before anything is read; a source within the limits
    // goes on to the free-space test, here made to fail so that nothing large is written.
    void tooLong() {
        QFETCH(int, channels);
        QFETCH(int, sectors);
        QFETCH(bool, refused);
        const int32_t d = sectors * 512;
        fs::resize_file(source(riff({fmtChunk(channels, 44100, 16), chunk("data", d)})), 44 + uintmax_t(d));
        m_files->setFreeSpace(0);
        const LoopWriteResult result = write(request(channels));
        QCOMPARE(result.outcome, LoopWriteResult::Outcome::Refused);
        QCOMPARE(result.message, refused ? "Loop is too long for the Repeater (at most 2592 clusters per track)"
                                         : "Not enough space available on CFC");
        QCOMPARE(result.icon, refused ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(entriesIn(card()), 0);
    }

    void existingLoopAndSpace_data() {
        QTest::addColumn<int>("existing");          // bytes of a LOOP7 already there; 0: none
        QTest::addColumn<MessageAnswer>("answer");  // to the overwrite question
        QTest::addColumn<int>("freeBytes");         // -1: the real free space
        QTest::addColumn<LoopWriteResult::Outcome>("outcome");
        using O = LoopWriteResult::Outcome;
        const int d = 2048;
        QTest::newRow("Yes") << 100 << MessageAnswer::Yes << -1 << O::Written;
        QTest::newRow("No: kept, for the window's folder chooser")
            << 100 << MessageAnswer::No << -1 << O::Kept;
        QTest::newRow("Cancel") << 100 << MessageAnswer::Cancel << -1 << O::Cancelled;
        QTest::newRow("just enough space") << 0 << MessageAnswer::Yes << d + 50000 << O::Written;
        QTest::newRow("one byte short") << 0 << MessageAnswer::Yes << d + 49999 << O::Refused;
        QTest::newRow("replaced loop counts as free")
            << 10000 << MessageAnswer::Yes << d + 40000 << O::Written;
        QTest::newRow("replaced loop, one byte short")
            << 10000 << MessageAnswer::Yes << d + 39999 << O::Refused;
    }

    void existingLoopAndSpace() {
        QFETCH(int, existing);
        QFETCH(MessageAnswer, answer);
        QFETCH(int, freeBytes);
        QFETCH(LoopWriteResult::Outcome, outcome);
        source(wave(1, patternBytes(2048)));
        if (existing) {
            existingLoop(existing);
            m_ui->answerNextQuestion(answer);
        }
        if (freeBytes >= 0) m_files->setFreeSpace(freeBytes);
        QCOMPARE(write(request(1)).outcome, outcome);
        const bool written = outcome == LoopWriteResult::Outcome::Written;
        QCOMPARE(m_ui->messageTexts(),
                 existing ? std::vector<std::string>{"Loop already exists. Overwrite?"}
                          : std::vector<std::string>{});
        if (existing) QCOMPARE(m_ui->messages()[0].buttons, MessageButtons::YesNoCancel);
        if (existing) QCOMPARE(m_ui->messages()[0].icon, MessageIcon::None);
        if (existing) QCOMPARE(m_ui->messages()[0].detail, loop7());  // which loop, below the question
        QCOMPARE(fs::exists(loop7() + "/old.bin"), existing && !written);
        QCOMPARE(fs::exists(loop7() + "/track1.wav"), written);
    }

    void tempoOutsideTable_data() {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new loop") << false;
        QTest::newRow("replacing a loop") << true;
    }

    // 12 beats in 4/4 take the tempo from entry 4 x 11 = 44, past the table: the save fails
    // after the question, with the card exactly as it was.
    void tempoOutsideTable() {
        QFETCH(bool, existing);
        source(wave(1, patternBytes(2048)));
        if (existing) {
            existingLoop(100);
            m_ui->answerNextQuestion(MessageAnswer::Yes);
        }
        const Tree before = treeOf(card());
        LoopWriteRequest r = request(1);
        r.settings.beatsPerBar = 4;
        const LoopWriteResult result = write(r);
        QCOMPARE(result.outcome, LoopWriteResult::Outcome::Failed);
        QCOMPARE(result.message, "error in fileSaving()");
        QCOMPARE(result.reason,
                 "the tempo index 44 (4 beats per bar x 12 beats less one) lies outside the tempo "
                 "table (0 to 40)");
        QCOMPARE(m_ui->messages().size(), size_t(existing ? 1 : 0));
        QVERIFY(treeOf(card()) == before);
    }

    // A loop folder that cannot be copied whole is not replaced: the save stops before deleting.
    void backupFails() {
        source(wave(1, patternBytes(2048)));
        existingLoop(100);
        fs::create_directory(loop7() + "/sub");
        m_ui->answerNextQuestion(MessageAnswer::Yes);
        const Tree before = treeOf(card());
        const LoopWriteResult result = write(request(1));
        QCOMPARE(result.outcome, LoopWriteResult::Outcome::Refused);
        QCOMPARE(result.message, "The loop could not be backed up, so it was not replaced");
        QCOMPARE(result.reason, loop7() + "/sub is not a plain file, so it cannot be backed up");
        QCOMPARE(result.icon, MessageIcon::Critical);
        QVERIFY(treeOf(card()) == before);
    }
};

QTEST_APPLESS_MAIN(TestLoopWriting)
#include "tst_loopwriting.moc"
