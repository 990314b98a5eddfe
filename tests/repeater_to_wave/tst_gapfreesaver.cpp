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

Q_DECLARE_METATYPE(brenvik::MessageAnswer)

namespace {

const std::vector<uint8_t> kOldOutput(100000, 0x77);

int signedByte(int byte) { return byte > 127 ? byte - 256 : byte; }

}  // namespace

class TestGapFreeSaver : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_platform = std::make_unique<TestPlatform>();
        m_globals = std::make_unique<AppGlobals>();
        m_window = std::make_unique<Rep2Wav>(*m_globals, *m_platform);
        m_platform->windowUsable = [this] { return m_window->windowEnabled; };
    }

    void monoCopiesOnlyTheAudio_data() {
        QTest::addColumn<int>("startByte");
        QTest::addColumn<int>("pre");
        QTest::addColumn<int>("audio");
        QTest::addColumn<int>("post");
        QTest::addColumn<int>("rate");  // of the track; the header is copied, not rewritten
        QTest::addColumn<float>("progressMax");
        QTest::addColumn<QList<float>>("progressValues");
        // Maximum audio \ 1000; +1048 per full MiB block, + rest \ 1000 for the last; 0 at the end.
        QTest::newRow("16384 bytes") << 0 << 16384 << 16384 << 0 << 44100 << 16.0f << QList<float>{16, 0};
        QTest::newRow("start 200: pre 20480") << 200 << 20480 << 16384 << 512 << 44100 << 16.0f << QList<float>{16, 0};
        QTest::newRow("start 32: pre 32768") << 32 << 32768 << 4096 << 256 << 44100 << 4.0f << QList<float>{4, 0};
        QTest::newRow("audio 0") << 0 << 16384 << 0 << 0 << 44100 << 0.0f << QList<float>{0};
        QTest::newRow("1 MiB + 512") << 0 << 16384 << 1048576 + 512 << 256 << 44100 << 1049.0f
                                     << QList<float>{1048, 1048, 0};
        QTest::newRow("exactly 2 MiB") << 0 << 16384 << 2097152 << 0 << 44100 << 2097.0f << QList<float>{1048, 2096, 0};
        QTest::newRow("track at 22050 Hz") << 0 << 16384 << 2048 << 0 << 22050 << 2.0f << QList<float>{2, 0};
    }

    void monoCopiesOnlyTheAudio() {
        QFETCH(int, startByte);
        QFETCH(int, pre);
        QFETCH(int, audio);
        QFETCH(int, post);
        QFETCH(int, rate);
        QFETCH(float, progressMax);
        QFETCH(QList<float>, progressValues);
        TrackSpec layout;
        layout.pre = pre;
        layout.audio = patternBytes(size_t(audio), 3);
        layout.post = post;
        layout.sampleRate = rate;
        load(Channel::Left, layout, startByte);

        save(out());
        expectOnlySuccess();
        expectProgress(progressMax, progressValues);
        QCOMPARE(readFile(out()), expectedWave(1, rate, layout.audio));
    }

    void stereoInterleavesBothTracks_data() {
        QTest::addColumn<int>("leftAudio");
        QTest::addColumn<int>("rightAudio");
        QTest::addColumn<int>("leftRate");  // the header's rate is the left track's
        QTest::addColumn<int>("rightRate");
        QTest::addColumn<float>("progressMax");
        QTest::addColumn<QList<float>>("progressValues");
        // Maximum 2M / 1000; +524 +524 per full block; a last shorter block twice its longer
        // channel's bytes / 1000.
        QTest::newRow("left 409600, right 204800")
            << 409600 << 204800 << 44100 << 44100 << 819.2f << QList<float>{409.6f, 819.2f, 0};
        QTest::newRow("left 204800, right 409600")
            << 204800 << 409600 << 44100 << 44100 << 819.2f << QList<float>{409.6f, 819.2f, 0};
        QTest::newRow("right ends before the second block")
            << 1048576 << 409600 << 44100 << 44100 << 2097.152f << QList<float>{524, 1048, 1572, 2096, 0};
        QTest::newRow("two full blocks and a short one")
            << 1049600 << 1048576 << 44100 << 44100 << 2099.2f
            << QList<float>{524, 1048, 1572, 2096, 2097.024f, 2098.048f, 0};
        QTest::newRow("both empty") << 0 << 0 << 44100 << 44100 << 0.0f << QList<float>{0};
        QTest::newRow("tracks at 22050 and 48000 Hz")
            << 1024 << 1536 << 22050 << 48000 << 3.072f << QList<float>{1.536f, 3.072f, 0};
    }

    void stereoInterleavesBothTracks() {
        QFETCH(int, leftAudio);
        QFETCH(int, rightAudio);
        QFETCH(int, leftRate);
        QFETCH(int, rightRate);
        QFETCH(float, progressMax);
        QFETCH(QList<float>, progressValues);
        m_window->stereoMode();
        TrackSpec leftSpec;
        leftSpec.audio = patternBytes(size_t(leftAudio), 5);
        leftSpec.post = 256;
        leftSpec.sampleRate = leftRate;
        TrackSpec rightSpec;
        rightSpec.track = 2;
        rightSpec.pre = 20480;  // start byte 200: the right audio starts elsewhere than the left
        rightSpec.audio = patternBytes(size_t(rightAudio), 40000);
        rightSpec.post = 512;
        rightSpec.sampleRate = rightRate;
        load(Channel::Left, leftSpec);
        load(Channel::Right, rightSpec, 200);

        save(out());
        expectOnlySuccess();
        expectProgress(progressMax, progressValues);
        QCOMPARE(readFile(out()), expectedWave(2, leftRate, interleaved(leftSpec.audio, rightSpec.audio)));
    }

    void shortSourceReadsAsZeros() {
        // Both tracks' headers promise more than the files hold: what is missing reads as silence.
        TrackSpec layout;
        layout.audio = patternBytes(8192, 2);
        layout.cutAt = 44 + 16384 + 3000;
        load(Channel::Left, layout);
        save(out());
        expectOnlySuccess();
        std::vector<uint8_t> expected(layout.audio.begin(), layout.audio.begin() + 3000);
        expected.resize(8192, 0);
        QCOMPARE(readFile(out()), expectedWave(1, 44100, expected));

        m_platform->clearRecords();
        m_platform->usableWhenBusy.clear();
        m_window->stereoMode();
        TrackSpec rightSpec;
        rightSpec.audio = patternBytes(600064, 7);
        rightSpec.cutAt = 44 + 16384 + 530000;  // ends inside the second input block
        load(Channel::Right, rightSpec);
        save(out("stereo.wav"));
        expectOnlySuccess();
        std::vector<uint8_t> rightHeard(rightSpec.audio.begin(), rightSpec.audio.begin() + 530000);
        rightHeard.resize(600064, 0);
        QCOMPARE(readFile(out("stereo.wav")), expectedWave(2, 44100, interleaved(expected, rightHeard)));
    }

    void saveDialogSetUp() {
        loadAudio(512);
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

    void neededTracksMissing_data() {
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<bool>("leftLoaded");
        QTest::addColumn<bool>("rightLoaded");
        QTest::addColumn<QString>("message");
        QTest::newRow("mono, nothing") << false << false << false << "No Repeater files loaded";
        QTest::newRow("stereo, nothing") << true << false << false << "No Repeater file loaded in Left channel";
        QTest::newRow("stereo, right only") << true << false << true << "No Repeater file loaded in Left channel";
        QTest::newRow("stereo, left only") << true << true << false << "No Repeater file loaded in Right channel";
    }

    void neededTracksMissing() {
        QFETCH(bool, stereo);
        QFETCH(bool, leftLoaded);
        QFETCH(bool, rightLoaded);
        QFETCH(QString, message);
        if (stereo) m_window->stereoMode();
        TrackSpec layout;
        layout.audio = patternBytes(512);
        if (leftLoaded) load(Channel::Left, layout);
        if (rightLoaded) load(Channel::Right, layout);
        m_window->Save_Click();  // no dialog may appear
        QCOMPARE(m_platform->messages().size(), size_t{1});
        QCOMPARE(QString::fromStdString(m_platform->messages().front().text), message);
        QCOMPARE(m_platform->messages().front().icon, MessageIcon::None);
        QVERIFY(m_platform->dialogsShown().empty());
        QVERIFY(m_platform->progress().empty());
    }

    void overwrite_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("Yes: deleted first, no tail left") << MessageAnswer::Yes;
        QTest::newRow("No: another name") << MessageAnswer::No;
        QTest::newRow("Cancel: nothing written") << MessageAnswer::Cancel;
    }

    // An existing output longer than the wave the save writes.
    void overwrite() {
        QFETCH(MessageAnswer, answer);
        const std::vector<uint8_t> wave = expectedWave(1, 44100, loadAudio(4096).audio);
        writeFile(out(), kOldOutput);
        m_platform->answerNextQuestion(answer);
        m_platform->chooseNextFile(out());
        if (answer == MessageAnswer::No) m_platform->chooseNextFile(out("other.wav"));
        m_window->Save_Click();
        std::vector<std::string> texts{"File already exists. Overwrite?"};
        if (answer != MessageAnswer::Cancel) texts.push_back("File writing successful");
        QCOMPARE(m_platform->messageTexts(), texts);
        QCOMPARE(m_platform->messages().front().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(readFile(out()), answer == MessageAnswer::Yes ? wave : kOldOutput);
        QVERIFY(m_window->windowEnabled);
        if (answer == MessageAnswer::No) {
            QCOMPARE(m_platform->dialogsShown().size(), size_t{2});
            QCOMPARE(m_platform->dialogsShown()[1].fileName, out());  // still the refused name
            QCOMPARE(readFile(out("other.wav")), wave);
        }
        if (answer == MessageAnswer::Cancel) {
            QVERIFY(m_platform->progress().empty());
            QCOMPARE(m_platform->busyChanges(), 0);
        }
    }

    void cancelledSaveDialogFails() {
        loadAudio(512);
        save(std::nullopt);
        QCOMPARE(m_platform->messages().size(), size_t{1});
        QCOMPARE(m_platform->messages().front().text, std::string("error in fileSaving()"));
        QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
        QCOMPARE(m_platform->usableWhenBusy, std::vector<bool>{false});
        QVERIFY(!m_platform->busy());
        QVERIFY(m_window->windowEnabled);
    }

    void failureLeavesWindowUsable() {
        loadAudio(512);
        std::filesystem::remove(m_window->left.File.text);  // gone between open and save
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

    void savesWhatTheFieldsSay() {
        // The saver does not read the description again: it cuts where the fields say.
        TrackSpec layout;
        layout.audio = patternBytes(2048, 4);
        layout.post = 512;
        load(Channel::Left, layout);
        m_window->left.Pre.text = "16896 bytes";
        save(out());
        expectOnlySuccess();
        std::vector<uint8_t> expected(layout.audio.begin() + 512, layout.audio.end());
        expected.resize(2048, kPostFill);
        QCOMPARE(readFile(out()), expectedWave(1, 44100, expected));
        QCOMPARE(m_window->left.Pre.text, std::string("16896 bytes"));
    }

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::string out(const std::string& name = "out.wav") const { return root() + "/" + name; }
    // Writes a loop holding the track and opens it into the channel (stereo mode: through
    // the channel dialog). The description's end word makes the audio come out as given.
    std::string load(Channel channel, const TrackSpec& layout, int startByte = 0) {
        const std::string folder = makeFolder(root(), "LOOP" + std::to_string(++m_loops));
        const int sectors = static_cast<int>(layout.audio.size() / 512);
        writeDescription(folder, static_cast<uint8_t>(startByte),
                         static_cast<int16_t>(sectors - 1 + signedByte(startByte)));
        const std::string track = writeTrack(folder, layout);
        m_platform->chooseNextFile(track);
        if (m_globals->repMode == "stereo") m_platform->chooseNextChannel(channel);
        m_window->Open_Click();
        const ChannelSlot& slot = channel == Channel::Left ? m_window->left : m_window->right;
        if (slot.File.text != track) qFatal("fixture track was not loaded");
        if (slot.Pre.text != std::to_string(layout.pre) + " bytes" ||
            slot.Audio.text != std::to_string(layout.audio.size()) + " bytes")
            qFatal("fixture sizes differ: whole sectors of audio only");
        m_platform->clearRecords();
        return track;
    }

    // A plain track into the left channel.
    TrackSpec loadAudio(size_t bytes, uint16_t seed = 1) {
        TrackSpec layout;
        layout.audio = patternBytes(bytes, seed);
        load(Channel::Left, layout);
        return layout;
    }
    void save(const std::optional<std::string>& path) {
        m_platform->chooseNextFile(path);
        m_window->Save_Click();
    }

    void expectProgress(float max, const QList<float>& values) {
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

    void expectOnlySuccess() {
        QCOMPARE(m_platform->messages().size(), size_t{1});
        const RecordedMessage& shown = m_platform->messages().front();
        QCOMPARE(shown.text, std::string("File writing successful"));
        QCOMPARE(shown.buttons, MessageButtons::Ok);
        QCOMPARE(shown.icon, MessageIcon::None);
        QCOMPARE(shown.title, std::string("Brenvik"));
        QVERIFY(!m_platform->busy());
        QVERIFY(m_window->windowEnabled);
        QCOMPARE(m_platform->usableWhenBusy, std::vector<bool>{false});
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2Wav> m_window;
    int m_loops = 0;
};

QTEST_GUILESS_MAIN(TestGapFreeSaver)
#include "tst_gapfreesaver.moc"
