// The disk failing while a saver writes: a file-size limit that stops a write part-way, and a
// destination that cannot be created. Both savers run through their window models in a forked
// child (the limit is process-wide) and report what the user saw; the parent checks it against
// the failure handling: "error in fileSaving()" with the critical icon, the window usable and
// the pointer normal again, the progress bar as each saver leaves it, the sources untouched.
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

#include "../repeater_to_wave/LoopFixture.h"
#include "../wave_to_repeater/Wav2RepBench.h"
#include "ForkedChild.h"
#include "Rep2Wav.h"
#include "Wav2Rep.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

constexpr int32_t kMiB = 1048576;
constexpr int32_t kTrackAudioOffset = 16428;  // header and pre-buffer of a Repeater track
constexpr int32_t kWaveHeader = 44;
// The limit falls this far into the second block, so its write stops part-way.
constexpr rlim_t kIntoSecondBlock = 4096;

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// What the user saw and what the window and the progress bar were left at, one fact a line.
std::string childReport(const TestPlatform& platform, bool windowEnabled) {
    std::ostringstream lines;
    for (const RecordedMessage& m : platform.messages())
        lines << "message: " << m.text << (m.icon == MessageIcon::Critical ? " (critical)" : "")
              << '\n';
    lines << "window enabled: " << windowEnabled << '\n'
          << "busy: " << platform.busy() << '\n'
          << "progress:";
    for (const ProgressEvent& e : platform.progress())
        lines << ' '
              << (e.kind == ProgressEvent::Min   ? "min "
                  : e.kind == ProgressEvent::Max ? "max "
                                                 : "value ")
              << number(e.value);
    lines << '\n';
    return lines.str();
}

std::string expectedReport(const std::vector<std::pair<const char*, float>>& progress) {
    std::string text =
        "message: error in fileSaving() (critical)\nwindow enabled: 1\nbusy: 0\nprogress:";
    for (const auto& [kind, value] : progress)
        text += std::string(" ") + kind + " " + number(value);
    return text + "\n";
}

// Runs a save through a window model in a child under the file-size limit (0: none): save
// drives the window on the child's platform and returns whether the window is enabled after.
// The child's report, or how it ended when it could not report.
std::string reportFromChild(qulonglong fileSizeLimit,
                            const std::function<bool(TestPlatform&)>& save) {
    ChildLimits limits;
    if (fileSizeLimit) limits.fileSize = fileSizeLimit;
    const ChildEnd end = runInChild(
        [&](std::ostream& out, std::ostream&) {
            TestPlatform platform;
            const bool windowEnabled = save(platform);
            out << childReport(platform, windowEnabled);
            return 0;
        },
        limits);
    return end.exited && end.status == 0 ? end.out : "child ended by " + describe(end);
}

}  // namespace

class TestWriteFailure : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loopWriter_data();
    void loopWriter();
    void gapFreeSaver_data();
    void gapFreeSaver();

private:
    std::string root() const { return m_dir->path().toStdString(); }
    // Makes the folder read-only; false when that does not stop a privileged user.
    bool makeReadOnly(const std::string& folder);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_readOnly;
};

void TestWriteFailure::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestWriteFailure::cleanup() {
    if (!m_readOnly.empty()) ::chmod(m_readOnly.c_str(), 0755);  // so the folder can be removed
    m_readOnly.clear();
    m_dir.reset();
}

bool TestWriteFailure::makeReadOnly(const std::string& folder) {
    ::chmod(folder.c_str(), 0555);
    m_readOnly = folder;
    if (::access(folder.c_str(), W_OK) != 0) return true;
    ::chmod(folder.c_str(), 0755);  // a privileged user writes anyway
    m_readOnly.clear();
    return false;
}

void TestWriteFailure::loopWriter_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("blockFolder");
    QTest::addColumn<qulonglong>("fileSizeLimit");  // 0: none
    QTest::addColumn<QStringList>("trackSizes");    // "name=bytes" of the files left in LOOP1
    QTest::addColumn<QString>("report");

    // 3 MiB of source: progress maximum 3145; the first chunk adds 1048, then the caller sets 0.
    const QString progress = QString::fromStdString(
        expectedReport({{"min", 0}, {"max", 3145}, {"value", 1048}, {"value", 0}}));
    const qulonglong monoLimit = kTrackAudioOffset + kMiB + kIntoSecondBlock;
    QTest::newRow("mono: file size limit in the second chunk")
        << 1 << false << monoLimit << QStringList{"track1.wav=" + QString::number(monoLimit)}
        << progress;
    // Each chunk gives each track half a MiB; the left track's second write is cut.
    const qulonglong stereoLimit = kTrackAudioOffset + kMiB / 2 + kIntoSecondBlock;
    QTest::newRow("stereo: file size limit in the second chunk")
        << 2 << false << stereoLimit
        << QStringList{"track1.wav=" + QString::number(stereoLimit),
                       "track2.wav=" + QString::number(kTrackAudioOffset + kMiB / 2)}
        << progress;
    QTest::newRow("loop folder cannot be created")
        << 1 << true << qulonglong{0} << QStringList{}
        << QString::fromStdString(expectedReport({{"value", 0}}));
}

void TestWriteFailure::loopWriter() {
    QFETCH(int, channels);
    QFETCH(bool, blockFolder);
    QFETCH(qulonglong, fileSizeLimit);
    QFETCH(QStringList, trackSizes);
    QFETCH(QString, report);
    const std::string card = makeFolder(root(), "card");
    const std::string source = root() + "/source.wav";
    const std::vector<uint8_t> sourceBytes = wave(channels, patternBytes(3 * kMiB, 5));
    writeFile(source, sourceBytes);
    const std::string loop = card + "/LOOP1";
    // A privileged user creates folders anywhere, except where a file already has the name.
    if (blockFolder && !makeReadOnly(card)) writeFile(loop, {1, 2, 3});

    const std::string seen = reportFromChild(fileSizeLimit, [&](TestPlatform& platform) {
        platform.setFreeSpace(int64_t{1} << 40);
        AppGlobals globals;
        globals.initLoopDir = card;
        globals.initWaveDir = root();
        Wav2Rep window(globals, platform);
        window.Form_Load();
        platform.chooseNextFile(source);
        window.openWave_Click();
        platform.clearRecords();
        window.saveLoop_Click();
        return window.windowEnabled;
    });
    QCOMPARE(QString::fromStdString(seen), report);
    QVERIFY(readFile(source) == sourceBytes);
    QStringList left;
    if (fs::is_directory(loop))
        for (const auto& entry : fs::directory_iterator(loop))
            left << QString::fromStdString(entry.path().filename().string() + "=" +
                                           std::to_string(entry.file_size()));
    left.sort();
    QCOMPARE(left, trackSizes);  // what was written stays; loopinfo.ldf never came
}

void TestWriteFailure::gapFreeSaver_data() {
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<bool>("blockFolder");
    QTest::addColumn<qulonglong>("fileSizeLimit");
    QTest::addColumn<QString>("report");

    // Mono, 3 MiB of audio: maximum 3145, one block of 1048 written, then the failure; the
    // value stays where it was.
    QTest::newRow("mono: file size limit in the second block")
        << false << false << qulonglong{kWaveHeader + kMiB + kIntoSecondBlock}
        << QString::fromStdString(expectedReport({{"min", 0}, {"max", 3145}, {"value", 1048}}));
    // Stereo, 3 MiB left and 1 MiB right: maximum 2 x 3 MiB / 1000; each full block adds 524
    // for either channel.
    QTest::newRow("stereo: file size limit in the second block")
        << true << false << qulonglong{kWaveHeader + kMiB + kIntoSecondBlock}
        << QString::fromStdString(
               expectedReport({{"min", 0}, {"max", 6291.456f}, {"value", 524}, {"value", 1048}}));
    QTest::newRow("output folder cannot be written")
        << false << true << qulonglong{0} << QString::fromStdString(expectedReport({}));
}

void TestWriteFailure::gapFreeSaver() {
    QFETCH(bool, stereo);
    QFETCH(bool, blockFolder);
    QFETCH(qulonglong, fileSizeLimit);
    QFETCH(QString, report);
    const std::string left = makeLoop(root(), "LOOP1", patternBytes(3 * kMiB, 7));
    const std::string right = makeLoop(root(), "LOOP2", patternBytes(kMiB, 9), 2);
    const std::vector<uint8_t> leftBytes = readFile(left), rightBytes = readFile(right);
    const std::string outFolder = makeFolder(root(), "out");
    std::string output = outFolder + "/out.wav";
    // A privileged user writes anywhere, except below a regular file.
    if (blockFolder && !makeReadOnly(outFolder)) {
        writeFile(outFolder + "/plain.txt", {1, 2, 3});
        output = outFolder + "/plain.txt/out.wav";
    }

    const std::string seen = reportFromChild(fileSizeLimit, [&](TestPlatform& platform) {
        AppGlobals globals;
        Rep2Wav window(globals, platform);
        if (stereo) window.Toolbar1_ButtonClick(Rep2Wav::kStereoButton);
        for (const auto& [track, channel] :
             {std::pair{left, Channel::Left}, {right, Channel::Right}}) {
            if (channel == Channel::Right && !stereo) break;
            platform.chooseNextFile(track);
            if (stereo) platform.chooseNextChannel(channel);
            window.Toolbar1_ButtonClick(Rep2Wav::kOpenButton);
        }
        platform.clearRecords();
        platform.chooseNextFile(output);
        window.Toolbar1_ButtonClick(Rep2Wav::kSaveButton);
        return window.windowEnabled;
    });
    QCOMPARE(QString::fromStdString(seen), report);
    QVERIFY(readFile(left) == leftBytes);
    QVERIFY(readFile(right) == rightBytes);
    // What was written stays on disk, up to the limit.
    if (fileSizeLimit) QCOMPARE(qulonglong(fs::file_size(output)), fileSizeLimit);
    if (blockFolder) QVERIFY(!fs::exists(output));
}

QTEST_GUILESS_MAIN(TestWriteFailure)
#include "tst_writefailure.moc"
