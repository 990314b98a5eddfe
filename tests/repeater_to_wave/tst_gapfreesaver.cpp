// The save command of the Repeater-to-wave window: tracks opened from real loop folders, saved
// as mono or stereo waves and compared byte for byte with what the loaded audio must give.
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "LoopFixture.h"
#include "Rep2Wav.h"
#include "TestFiles.h"
#include "TestPlatform.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

// Notes whether the window was taking input when the hourglass went up.
class WatchingPlatform : public TestPlatform {
public:
    const Rep2Wav* window = nullptr;
    std::vector<bool> enabledWhenBusy;
    void setBusy(bool busy) override {
        if (busy && window) enabledWhenBusy.push_back(window->windowEnabled);
        TestPlatform::setBusy(busy);
    }
};

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<uint8_t> kOldOutput(100000, 0x77);

int signedByte(int byte) { return byte > 127 ? byte - 256 : byte; }

}  // namespace

class TestGapFreeSaver : public QObject {
    Q_OBJECT
private slots:
    void init();
    void monoCopiesOnlyTheAudio_data();
    void monoCopiesOnlyTheAudio();
    void monoHeaderComesFromTheTrack();
    void stereoInterleavesBothTracks_data();
    void stereoInterleavesBothTracks();
    void stereoHeaderComesFromTheLeftTrack();
    void shortSourceReadsAsZeros();
    void saveDialogSetUp();
    void neededTracksMissing_data();
    void neededTracksMissing();
    void overwriteYesLeavesNoTail();
    void overwriteNoAsksForAnotherName();
    void overwriteCancelWritesNothing();
    void cancelledSaveDialogFails();
    void failureLeavesWindowUsable();
    void savesWhatTheFieldsSay();

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::string out(const std::string& name = "out.wav") const { return root() + "/" + name; }
    // Writes a loop holding the track and opens it into the channel (stereo mode: through
    // the channel dialog). The description's end word makes the audio come out as given.
    std::string load(Channel channel, const TrackSpec& spec, int startByte = 0);
    void save(const std::optional<std::string>& path);
    std::vector<uint8_t> loadOverExistingOutput();  // returns the loaded audio
    void expectProgress(float max, const QList<float>& values);
    void expectOnlySuccess();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WatchingPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2Wav> m_window;
    int m_loops = 0;
};

void TestGapFreeSaver::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<WatchingPlatform>();
    m_globals = std::make_unique<AppGlobals>();
    m_window = std::make_unique<Rep2Wav>(*m_globals, *m_platform);
    m_platform->window = m_window.get();
}

std::string TestGapFreeSaver::load(Channel channel, const TrackSpec& spec, int startByte) {
    const std::string folder = makeFolder(root(), "LOOP" + std::to_string(++m_loops));
    const int sectors = static_cast<int>(spec.audio.size() / 512);
    writeDescription(folder, static_cast<uint8_t>(startByte),
                     static_cast<int16_t>(sectors - 1 + signedByte(startByte)));
    const std::string track = writeTrack(folder, spec);
    m_platform->chooseNextFile(track);
    if (m_globals->repMode == "stereo") m_platform->chooseNextChannel(channel);
    m_window->Open_Click();
    const ChannelSlot& slot = channel == Channel::Left ? m_window->left : m_window->right;
    if (slot.File.text != track) qFatal("fixture track was not loaded");
    if (slot.Pre.text != std::to_string(spec.pre) + " bytes" ||
        slot.Audio.text != std::to_string(spec.audio.size()) + " bytes")
        qFatal("fixture sizes differ: whole sectors of audio only");
    m_platform->clearRecords();
    return track;
}

void TestGapFreeSaver::save(const std::optional<std::string>& path) {
    m_platform->chooseNextFile(path);
    m_window->Save_Click();
}

void TestGapFreeSaver::expectProgress(float max, const QList<float>& values) {
    const std::vector<ProgressEvent>& events = m_platform->progress();
    QCOMPARE(events.size(), size_t(2 + values.size()));
    QCOMPARE(events[0].kind, ProgressEvent::Min);
    QCOMPARE(events[0].value, 0.0f);
    QCOMPARE(events[1].kind, ProgressEvent::Max);
    QCOMPARE(events[1].value, max);
    for (qsizetype i = 0; i < values.size(); ++i) {
        QCOMPARE(events[size_t(2 + i)].kind, ProgressEvent::Value);
        QCOMPARE(events[size_t(2 + i)].value, values[i]);
    }
}

void TestGapFreeSaver::expectOnlySuccess() {
    QCOMPARE(m_platform->messages().size(), size_t{1});
    const RecordedMessage& shown = m_platform->messages().front();
    QCOMPARE(shown.text, std::string("File writing successful"));
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QCOMPARE(shown.icon, MessageIcon::None);
    QCOMPARE(shown.title, std::string("Brenvik"));
    QVERIFY(!m_platform->busy());
    QVERIFY(m_window->windowEnabled);
    QCOMPARE(m_platform->enabledWhenBusy, std::vector<bool>{false});
}

void TestGapFreeSaver::monoCopiesOnlyTheAudio_data() {
    QTest::addColumn<int>("startByte");
    QTest::addColumn<int>("pre");
    QTest::addColumn<int>("audio");
    QTest::addColumn<int>("post");
    QTest::addColumn<float>("progressMax");
    QTest::addColumn<QList<float>>("progressValues");
    // Maximum audio \ 1000; +1048 per full MiB block, + rest \ 1000 for the last; 0 at the end.
    QTest::newRow("16384 bytes") << 0 << 16384 << 16384 << 0 << 16.0f << QList<float>{16, 0};
    QTest::newRow("start 200: pre 20480") << 200 << 20480 << 16384 << 512 << 16.0f << QList<float>{16, 0};
    QTest::newRow("start 32: pre 32768") << 32 << 32768 << 4096 << 256 << 4.0f << QList<float>{4, 0};
    QTest::newRow("audio 0") << 0 << 16384 << 0 << 0 << 0.0f << QList<float>{0};
    QTest::newRow("1 MiB + 512") << 0 << 16384 << 1048576 + 512 << 256 << 1049.0f
                                 << QList<float>{1048, 1048, 0};
    QTest::newRow("exactly 2 MiB") << 0 << 16384 << 2097152 << 0 << 2097.0f
                                   << QList<float>{1048, 2096, 0};
}

void TestGapFreeSaver::monoCopiesOnlyTheAudio() {
    QFETCH(int, startByte);
    QFETCH(int, pre);
    QFETCH(int, audio);
    QFETCH(int, post);
    QFETCH(float, progressMax);
    QFETCH(QList<float>, progressValues);
    TrackSpec spec;
    spec.pre = pre;
    spec.audio = patternBytes(size_t(audio), 3);
    spec.post = post;
    load(Channel::Left, spec, startByte);

    save(out());
    expectOnlySuccess();
    expectProgress(progressMax, progressValues);
    QCOMPARE(readFile(out()), concat(expectedHeader(1, 44100, 88200, 2, audio), spec.audio));
}

void TestGapFreeSaver::monoHeaderComesFromTheTrack() {
    TrackSpec spec;
    spec.audio = patternBytes(2048);
    spec.sampleRate = 22050;
    load(Channel::Left, spec);
    save(out());
    expectOnlySuccess();
    // Rate and byte rate as the track has them: the mono save copies, it does not rewrite.
    QCOMPARE(readFile(out()), concat(expectedHeader(1, 22050, 88200, 2, 2048), spec.audio));
}

void TestGapFreeSaver::stereoInterleavesBothTracks_data() {
    QTest::addColumn<int>("leftAudio");
    QTest::addColumn<int>("rightAudio");
    QTest::addColumn<float>("progressMax");
    QTest::addColumn<QList<float>>("progressValues");
    // Maximum 2M / 1000; +524 +524 per full block; a last shorter block twice its longer
    // channel's bytes / 1000.
    QTest::newRow("left 409600, right 204800") << 409600 << 204800 << 819.2f << QList<float>{409.6f, 819.2f, 0};
    QTest::newRow("left 204800, right 409600") << 204800 << 409600 << 819.2f << QList<float>{409.6f, 819.2f, 0};
    QTest::newRow("right ends before the second block") << 1048576 << 409600 << 2097.152f
                                                        << QList<float>{524, 1048, 1572, 2096, 0};
    QTest::newRow("two full blocks and a short one") << 1049600 << 1048576 << 2099.2f
                                                     << QList<float>{524, 1048, 1572, 2096, 2097.024f, 2098.048f, 0};
    QTest::newRow("both empty") << 0 << 0 << 0.0f << QList<float>{0};
}

void TestGapFreeSaver::stereoInterleavesBothTracks() {
    QFETCH(int, leftAudio);
    QFETCH(int, rightAudio);
    QFETCH(float, progressMax);
    QFETCH(QList<float>, progressValues);
    m_window->stereoMode();
    TrackSpec leftSpec;
    leftSpec.audio = patternBytes(size_t(leftAudio), 5);
    leftSpec.post = 256;
    TrackSpec rightSpec;
    rightSpec.track = 2;
    rightSpec.pre = 20480;  // start byte 200: the right audio starts elsewhere than the left
    rightSpec.audio = patternBytes(size_t(rightAudio), 40000);
    rightSpec.post = 512;
    load(Channel::Left, leftSpec);
    load(Channel::Right, rightSpec, 200);

    save(out());
    expectOnlySuccess();
    expectProgress(progressMax, progressValues);
    const int data = 2 * std::max(leftAudio, rightAudio);
    QCOMPARE(readFile(out()), concat(expectedHeader(2, 44100, 176400, 4, data),
                                     interleaved(leftSpec.audio, rightSpec.audio)));
}

void TestGapFreeSaver::stereoHeaderComesFromTheLeftTrack() {
    m_window->stereoMode();
    TrackSpec leftSpec;
    leftSpec.audio = patternBytes(1024, 9);
    leftSpec.sampleRate = 22050;
    TrackSpec rightSpec;
    rightSpec.audio = patternBytes(1536, 11);
    rightSpec.sampleRate = 48000;
    load(Channel::Left, leftSpec);
    load(Channel::Right, rightSpec);
    save(out());
    expectOnlySuccess();
    // Channels, byte rate and block align are written; the rate stays the left track's.
    QCOMPARE(readFile(out()), concat(expectedHeader(2, 22050, 176400, 4, 3072),
                                     interleaved(leftSpec.audio, rightSpec.audio)));
}

void TestGapFreeSaver::shortSourceReadsAsZeros() {
    // Both tracks' headers promise more than the files hold: what is missing reads as silence.
    TrackSpec spec;
    spec.audio = patternBytes(8192, 2);
    spec.cutAt = 44 + 16384 + 3000;
    load(Channel::Left, spec);
    save(out());
    expectOnlySuccess();
    std::vector<uint8_t> expected(spec.audio.begin(), spec.audio.begin() + 3000);
    expected.resize(8192, 0);
    QCOMPARE(readFile(out()), concat(expectedHeader(1, 44100, 88200, 2, 8192), expected));

    m_platform->clearRecords();
    m_platform->enabledWhenBusy.clear();
    m_window->stereoMode();
    TrackSpec rightSpec;
    rightSpec.audio = patternBytes(600064, 7);
    rightSpec.cutAt = 44 + 16384 + 530000;  // ends inside the second input block
    load(Channel::Right, rightSpec);
    save(out("stereo.wav"));
    expectOnlySuccess();
    std::vector<uint8_t> rightHeard(rightSpec.audio.begin(), rightSpec.audio.begin() + 530000);
    rightHeard.resize(600064, 0);
    QCOMPARE(readFile(out("stereo.wav")),
             concat(expectedHeader(2, 44100, 176400, 4, 1200128), interleaved(expected, rightHeard)));
}

void TestGapFreeSaver::saveDialogSetUp() {
    TrackSpec spec;
    spec.audio = patternBytes(512);
    load(Channel::Left, spec);
    m_globals->initWaveDir = root();
    save(out());
    QCOMPARE(m_platform->dialogsShown().size(), size_t{1});
    const FileDialog& shown = m_platform->dialogsShown().front();
    QCOMPARE(shown.initialDir, root());
    QCOMPARE(shown.fileName, std::string());  // not the path of the track just opened
    QCOMPARE(shown.defaultExt, std::string(".wav"));
    QCOMPARE(shown.filter, std::string(".wav files (*.wav)|*.wav"));
    QCOMPARE(shown.filterIndex, 1);
}

void TestGapFreeSaver::neededTracksMissing_data() {
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<bool>("leftLoaded");
    QTest::addColumn<bool>("rightLoaded");
    QTest::addColumn<QString>("message");
    QTest::newRow("mono, nothing") << false << false << false << "No Repeater files loaded";
    QTest::newRow("stereo, nothing") << true << false << false << "No Repeater file loaded in Left channel";
    QTest::newRow("stereo, right only") << true << false << true << "No Repeater file loaded in Left channel";
    QTest::newRow("stereo, left only") << true << true << false << "No Repeater file loaded in Right channel";
}

void TestGapFreeSaver::neededTracksMissing() {
    QFETCH(bool, stereo);
    QFETCH(bool, leftLoaded);
    QFETCH(bool, rightLoaded);
    QFETCH(QString, message);
    if (stereo) m_window->stereoMode();
    TrackSpec spec;
    spec.audio = patternBytes(512);
    if (leftLoaded) load(Channel::Left, spec);
    if (rightLoaded) load(Channel::Right, spec);
    m_window->Save_Click();  // no dialog may appear
    QCOMPARE(m_platform->messages().size(), size_t{1});
    QCOMPARE(QString::fromStdString(m_platform->messages().front().text), message);
    QCOMPARE(m_platform->messages().front().icon, MessageIcon::None);
    QVERIFY(m_platform->dialogsShown().empty());
    QVERIFY(m_platform->progress().empty());
}

std::vector<uint8_t> TestGapFreeSaver::loadOverExistingOutput() {
    TrackSpec spec;
    spec.audio = patternBytes(4096);
    load(Channel::Left, spec);
    writeFile(out(), kOldOutput);  // longer than the wave the save writes
    return spec.audio;
}

void TestGapFreeSaver::overwriteYesLeavesNoTail() {
    const std::vector<uint8_t> audio = loadOverExistingOutput();
    m_platform->answerNextQuestion(MessageAnswer::Yes);
    save(out());
    QCOMPARE(m_platform->messageTexts(),
             (std::vector<std::string>{"File already exists. Overwrite?", "File writing successful"}));
    QCOMPARE(m_platform->messages().front().buttons, MessageButtons::YesNoCancel);
    QCOMPARE(readFile(out()), concat(expectedHeader(1, 44100, 88200, 2, 4096), audio));
}

void TestGapFreeSaver::overwriteNoAsksForAnotherName() {
    const std::vector<uint8_t> audio = loadOverExistingOutput();
    m_platform->answerNextQuestion(MessageAnswer::No);
    m_platform->chooseNextFile(out());
    m_platform->chooseNextFile(out("other.wav"));
    m_window->Save_Click();
    QCOMPARE(m_platform->dialogsShown().size(), size_t{2});
    QCOMPARE(m_platform->dialogsShown()[1].fileName, out());  // still the refused name
    QCOMPARE(m_platform->messageTexts(),
             (std::vector<std::string>{"File already exists. Overwrite?", "File writing successful"}));
    QCOMPARE(readFile(out()), kOldOutput);
    QCOMPARE(readFile(out("other.wav")), concat(expectedHeader(1, 44100, 88200, 2, 4096), audio));
    QVERIFY(m_window->windowEnabled);
}

void TestGapFreeSaver::overwriteCancelWritesNothing() {
    loadOverExistingOutput();
    m_platform->answerNextQuestion(MessageAnswer::Cancel);
    save(out());
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File already exists. Overwrite?"});
    QCOMPARE(readFile(out()), kOldOutput);
    QVERIFY(m_platform->progress().empty());
    QCOMPARE(m_platform->busyChanges(), 0);
    QVERIFY(m_window->windowEnabled);
}

void TestGapFreeSaver::cancelledSaveDialogFails() {
    TrackSpec spec;
    spec.audio = patternBytes(512);
    load(Channel::Left, spec);
    save(std::nullopt);
    QCOMPARE(m_platform->messages().size(), size_t{1});
    QCOMPARE(m_platform->messages().front().text, std::string("error in fileSaving()"));
    QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
    QCOMPARE(m_platform->enabledWhenBusy, std::vector<bool>{false});
    QVERIFY(!m_platform->busy());
    QVERIFY(m_window->windowEnabled);
}

void TestGapFreeSaver::failureLeavesWindowUsable() {
    TrackSpec spec;
    spec.audio = patternBytes(512);
    const std::string track = load(Channel::Left, spec);
    std::filesystem::remove(track);  // gone between open and save
    save(out());
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QVERIFY(!m_platform->busy());
    QVERIFY(m_window->windowEnabled);
    // The channel stays loaded; a save into a folder that does not exist fails the same way.
    QVERIFY(m_window->left.loaded());
    m_platform->clearRecords();
    save(root() + "/no/such/folder/out.wav");
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QVERIFY(m_window->windowEnabled);
}

void TestGapFreeSaver::savesWhatTheFieldsSay() {
    // The saver does not read the description again: it cuts where the fields say.
    TrackSpec spec;
    spec.audio = patternBytes(2048, 4);
    spec.post = 512;
    load(Channel::Left, spec);
    m_window->left.Pre.text = "16896 bytes";
    save(out());
    expectOnlySuccess();
    std::vector<uint8_t> expected(spec.audio.begin() + 512, spec.audio.end());
    expected.resize(2048, kPostFill);
    QCOMPARE(readFile(out()), concat(expectedHeader(1, 44100, 88200, 2, 2048), expected));
    QCOMPARE(m_window->left.Pre.text, std::string("16896 bytes"));
}

QTEST_GUILESS_MAIN(TestGapFreeSaver)
#include "tst_gapfreesaver.moc"
