// The open command of the Repeater-to-wave window on real loop folders, and the mode switches
// and channel dialog that decide which channel an open fills. The window's own test checks what
// the widgets show of it: the start-up state, the columns in each mode, a writer loop's names.
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

class TestTrackOpener : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_platform = std::make_unique<TestPlatform>();
        m_globals = std::make_unique<AppGlobals>();
        m_window = std::make_unique<Rep2Wav>(*m_globals, *m_platform);
    }

    void sizesFromStartAndEnd_data() {
        QTest::addColumn<int>("startByte");
        QTest::addColumn<int>("endWord");
        QTest::addColumn<int>("pre");
        QTest::addColumn<int>("audio");
        // audio = (end - signed start + 1) x 512; pre = u x 512 with u from the start byte's band,
        // whose every edge the track-size tests go through.
        QTest::newRow("writer loop: start 0") << 0 << 1000 << 16384 << 512512;
        QTest::newRow("start 32") << 32 << 1000 << 32768 << 496128;
        QTest::newRow("start 64") << 64 << 1000 << 32768 << 479744;
        QTest::newRow("start 96") << 96 << 1000 << 32768 << 463360;
        QTest::newRow("start 128 (-128)") << 128 << 1000 << 16384 << 578048;
        QTest::newRow("start 160 (-96)") << 160 << 1000 << 16384 << 561664;
        QTest::newRow("start 192 (-64)") << 192 << 1000 << 16384 << 545280;
        QTest::newRow("start 224 (-32)") << 224 << 1000 << 16384 << 528896;
        QTest::newRow("start 200 (-56)") << 200 << 1000 << 20480 << 541184;
        QTest::newRow("one sector") << 0 << 0 << 16384 << 512;
        QTest::newRow("empty audio: end = start - 1") << 0 << -1 << 16384 << 0;
    }

    void sizesFromStartAndEnd() {
        QFETCH(int, startByte);
        QFETCH(int, endWord);
        QFETCH(int, pre);
        QFETCH(int, audio);
        const int post = 1536;
        const std::string folder = makeFolder(root(), "LOOP12");
        writeDescription(folder, static_cast<uint8_t>(startByte), static_cast<int16_t>(endWord));
        TrackSpec layout;
        layout.dataSize = pre + audio + post;  // only the header's size is read, not the bytes
        const std::string track = writeTrack(folder, layout);

        open(track);
        QVERIFY(m_platform->messages().empty());
        QCOMPARE(texts(m_window->left),
                 (QStringList{QString::fromStdString(track), "LOOP12", "track1",
                              QString("%1 bytes").arg(pre), QString("%1 bytes").arg(audio),
                              QString("%1 bytes").arg(post), QString("%1 bytes").arg(pre + audio + post)}));
        QVERIFY(!m_platform->busy());
    }

    void trackNameStopsAtFirstDot() {
        const std::string folder = makeFolder(root(), "LOOP3");
        writeDescriptionFor(folder, 1024);
        TrackSpec layout;
        layout.audio = patternBytes(1024);
        const std::string renamed = folder + "/track2.take1.wav";
        std::filesystem::rename(writeTrack(folder, layout), renamed);
        open(renamed);
        QCOMPARE(m_window->left.Track.text, std::string("track2"));
        QCOMPARE(m_window->left.Loop.text, std::string("LOOP3"));
    }

    void openDialogSetUp() {
        m_globals->initLoopDir = root();
        m_window->Diag1.fileName = "/kept/from/before.wav";
        open(std::nullopt);
        QCOMPARE(m_platform->dialogsShown().size(), size_t{1});
        const FileDialog& shown = m_platform->dialogsShown().front();
        QCOMPARE(shown.initialDir, root());
        QCOMPARE(shown.defaultExt, std::string(".wav"));
        QCOMPARE(shown.filter, std::string(".wav files (*.wav)|*.wav"));
        QCOMPARE(shown.filterIndex, 1);
        QCOMPARE(shown.fileName, std::string("/kept/from/before.wav"));
    }

    void missingFileKeepsFields_data() {
        QTest::addColumn<bool>("description");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");
        // Neither file: the missing description is reported first.
        QTest::newRow("no description, no track")
            << false << "Repeater's .ldf and .wav files must reside in the same directory" << false;
        QTest::newRow("no track") << true << "File does not exist!" << true;
    }

    void missingFileKeepsFields() {
        QFETCH(bool, description);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        loadLeftTrack();
        const QStringList before = texts(m_window->left);
        const std::string folder = makeFolder(root(), "LOOP2");
        if (description) writeDescriptionFor(folder, 512);
        open(folder + "/track4.wav");
        QCOMPARE(m_platform->messages().size(), size_t{1});
        const RecordedMessage& shown = m_platform->messages().front();
        QCOMPARE(QString::fromStdString(shown.text), message);
        QCOMPARE(shown.buttons, MessageButtons::Ok);
        QCOMPARE(shown.icon, critical ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(shown.title, std::string("Brenvik"));
        QCOMPARE(texts(m_window->left), before);
    }

    void cancelledFirstOpenLooksBesideTheEmptyPath() {
        // The empty path's folder is empty, so the description is looked for at the root.
        if (std::filesystem::exists("/loopinfo.ldf")) QSKIP("this machine has a /loopinfo.ldf");
        open(std::nullopt);
        QCOMPARE(m_platform->messageTexts(),
                 std::vector<std::string>{"Repeater's .ldf and .wav files must reside in the same directory"});
        QVERIFY(!m_window->left.loaded());
    }

    void cancelledLaterOpenReopensPreviousPath() {
        m_window->stereoMode();
        loadLeftTrack();
        const std::string previous = m_window->left.File.text;
        open(std::nullopt, Channel::Right);
        QCOMPARE(m_platform->dialogsShown().back().fileName, previous);
        QCOMPARE(m_window->right.File.text, previous);
        QCOMPARE(texts(m_window->right), texts(m_window->left));
        QVERIFY(m_platform->messages().empty());
    }

    void refusedTrackEmptiesBothChannels_data() {
        QTest::addColumn<int>("endWord");
        QTest::addColumn<int>("dataSize");
        // Start byte 0: pre 16384, audio (end + 1) x 512.
        QTest::newRow("negative audio: end below start - 1") << -2 << 40000;
        QTest::newRow("negative post: total too small") << 9 << 16384 + 5119;
        QTest::newRow("total below audio") << 99 << 1000;
        QTest::newRow("negative total") << 0 << -4;
    }

    void refusedTrackEmptiesBothChannels() {
        QFETCH(int, endWord);
        QFETCH(int, dataSize);
        m_window->stereoMode();
        loadLeftTrack();
        const std::string folder = makeFolder(root(), "LOOP9");
        writeDescription(folder, 0, static_cast<int16_t>(endWord));
        TrackSpec layout;
        layout.track = 2;
        layout.dataSize = dataSize;
        open(writeTrack(folder, layout), Channel::Right);
        QCOMPARE(m_platform->messages().size(), size_t{1});
        QCOMPARE(m_platform->messages().front().text, std::string("Invalid or Untrimmed Repeater File"));
        QCOMPARE(m_platform->messages().front().icon, MessageIcon::None);
        QCOMPARE(texts(m_window->left), QStringList(7, QString()));
        QCOMPARE(texts(m_window->right), QStringList(7, QString()));
    }

    void shortFilesReadAsZeros() {
        // A 10-byte description reads start 0 and end 0: one sector of audio behind 32 sectors.
        const std::string folder = makeFolder(root(), "LOOP5");
        writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(10, 0x7F));
        TrackSpec layout;
        layout.audio = patternBytes(512);
        const std::string track = writeTrack(folder, layout);
        open(track);
        QVERIFY(m_platform->messages().empty());
        QCOMPARE(m_window->left.Pre.text, std::string("16384 bytes"));
        QCOMPARE(m_window->left.Audio.text, std::string("512 bytes"));
        QCOMPARE(m_window->left.Post.text, std::string("0 bytes"));

        // A track cut before its size field reads a total of 0, so the post-buffer is negative.
        writeFile(track, std::vector<uint8_t>(39, 0x11));
        open(track);
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Invalid or Untrimmed Repeater File"});
        QVERIFY(!m_window->left.loaded());
    }

    void sizeOverflowEndsSilently() {
        loadLeftTrack();
        const QStringList before = texts(m_window->left);
        const std::string folder = makeFolder(root(), "LOOP6");
        writeDescription(folder, 0, 0);
        TrackSpec layout;
        layout.dataSize = INT32_MIN;  // total - audio - pre leaves the 32-bit range
        open(writeTrack(folder, layout));
        QVERIFY(m_platform->messages().empty());
        QCOMPARE(texts(m_window->left), before);
    }

    void unknownChannelWritesNothing() {
        m_globals->repChannel = "centre";
        open(makeLoop(root(), "LOOP1", patternBytes(512)));
        QVERIFY(!m_window->left.loaded());
        QVERIFY(!m_window->right.loaded());
        QVERIFY(m_platform->messages().empty());
    }

    void validateReadsTheFields_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("sizes");  // pre, audio, post, total
        QTest::addColumn<bool>("valid");
        QTest::newRow("all zero") << "x" << QStringList{"0 bytes", "0 bytes", "0 bytes", "0 bytes"} << true;
        QTest::newRow("total equals audio") << "x" << QStringList{"0 bytes", "512 bytes", "0 bytes", "512 bytes"} << true;
        QTest::newRow("negative pre") << "x" << QStringList{"-1 bytes", "0 bytes", "0 bytes", "0 bytes"} << false;
        QTest::newRow("negative audio") << "x" << QStringList{"0 bytes", "-512 bytes", "0 bytes", "0 bytes"} << false;
        QTest::newRow("negative post") << "x" << QStringList{"0 bytes", "0 bytes", "-512 bytes", "0 bytes"} << false;
        QTest::newRow("negative total") << "x" << QStringList{"0 bytes", "0 bytes", "0 bytes", "-2 bytes"} << false;
        QTest::newRow("total below audio") << "x" << QStringList{"0 bytes", "513 bytes", "0 bytes", "512 bytes"} << false;
        QTest::newRow("not loaded passes") << "" << QStringList{"-1 bytes", "-1 bytes", "-1 bytes", "-9 bytes"} << true;
    }

    void validateReadsTheFields() {
        QFETCH(QString, file);
        QFETCH(QStringList, sizes);
        QFETCH(bool, valid);
        // Checked in either channel, with the other one loaded and acceptable.
        for (ChannelSlot* slot : {&m_window->right, &m_window->left}) {
            m_window->clearFields();
            ChannelSlot& other = slot == &m_window->left ? m_window->right : m_window->left;
            other.File.text = "y";
            other.Pre.text = other.Post.text = other.Total.text = "16 bytes";
            other.Audio.text = "0 bytes";
            slot->File.text = file.toStdString();
            Control* fields[] = {&slot->Pre, &slot->Audio, &slot->Post, &slot->Total};
            for (int i = 0; i < 4; ++i) fields[i]->text = sizes[i].toStdString();
            QCOMPARE(m_window->Validate(), valid);
        }
    }

    void unboundButtonsDoNothing_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("separator 3") << 3;
        QTest::newRow("separator 6") << 6;
        QTest::newRow("cross fade 7") << 7;
        QTest::newRow("no button 0") << 0;
        QTest::newRow("no button 8") << 8;
    }

    void unboundButtonsDoNothing() {
        QFETCH(int, index);
        m_window->stereoMode();
        const std::string track = makeLoop(root(), "LOOP1", patternBytes(1024));
        open(track, Channel::Left);
        m_platform->clearRecords();
        // Even shown and enabled, the cross-fade button is bound to nothing; any prompt would fail.
        m_window->toolButton[7].visible = true;
        m_window->toolButton[7].enabled = true;
        m_window->Toolbar1_ButtonClick(index);
        QVERIFY(m_platform->messages().empty());
        QVERIFY(m_platform->dialogsShown().empty());
        QVERIFY(m_platform->progress().empty());
        QCOMPARE(m_globals->repMode, std::string("stereo"));
        QCOMPARE(m_window->left.File.text, track);
        QVERIFY(m_window->RightHeader.visible && m_window->right.File.visible && m_window->r[7].visible);
    }

    void stereoModeKeepsChannel() {
        m_globals->repChannel = "right";
        m_window->Toolbar1_ButtonClick(5);
        QCOMPARE(m_globals->repMode, std::string("stereo"));
        QCOMPARE(m_globals->repChannel, std::string("right"));
    }

    // A track opened in mono is the left channel after switching to stereo.
    void monoTrackBecomesLeftChannel() {
        const std::string track = makeLoop(root(), "LOOP1", patternBytes(1024));
        m_platform->chooseNextFile(track);  // no channel scripted: mono mode asks for none
        m_window->Toolbar1_ButtonClick(1);
        m_window->Toolbar1_ButtonClick(5);
        QCOMPARE(m_window->left.File.text, track);
        m_window->Toolbar1_ButtonClick(2);
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"No Repeater file loaded in Right channel"});
    }

    void channelDialogCloseBoxKeepsChannel() {
        m_window->Toolbar1_ButtonClick(5);
        const std::string first = makeLoop(root(), "LOOP1", patternBytes(1024));
        const std::string second = makeLoop(root(), "LOOP2", patternBytes(1536));
        const std::string third = makeLoop(root(), "LOOP3", patternBytes(2048));
        open(first, std::nullopt);  // closed right after start-up: the left channel
        QCOMPARE(m_window->left.File.text, first);
        QVERIFY(!m_window->right.loaded());
        open(second, Channel::Right);
        QCOMPARE(m_window->right.File.text, second);
        open(third, std::nullopt);  // closed again: still the right channel
        QCOMPARE(m_globals->repChannel, std::string("right"));
        QCOMPARE(m_window->right.File.text, third);
        QCOMPARE(m_window->left.File.text, first);
    }

private:
    std::string root() const { return m_dir->path().toStdString(); }
    void open(const std::optional<std::string>& path, std::optional<Channel> channel = std::nullopt) {
        m_platform->chooseNextFile(path);
        if (m_globals->repMode == "stereo") m_platform->chooseNextChannel(channel);
        m_window->Open_Click();
    }

    // A valid writer loop in the left channel, to see what later opens leave of it.
    void loadLeftTrack() {
        const std::string track = makeLoop(root(), "LOOP1", patternBytes(5120));
        open(track, Channel::Left);
        QCOMPARE(m_window->left.File.text, track);
    }

    static QStringList texts(ChannelSlot& slot) {
        QStringList list;
        for (const Control* field : slot.fields()) list << QString::fromStdString(field->text);
        return list;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2Wav> m_window;
};

QTEST_GUILESS_MAIN(TestTrackOpener)
#include "tst_trackopener.moc"
