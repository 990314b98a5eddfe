// The open command of the Repeater-to-wave window on real loop folders.
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
    void init();
    void sizesFromStartAndEnd_data();
    void sizesFromStartAndEnd();
    void writerLoopShowsNamesAndSizes();
    void trackNameStopsAtFirstDot();
    void openDialogSetUp();
    void missingDescriptionReportedBeforeMissingTrack();
    void missingTrackKeepsFields();
    void cancelledFirstOpenLooksBesideTheEmptyPath();
    void cancelledLaterOpenReopensPreviousPath();
    void refusedTrackEmptiesBothChannels_data();
    void refusedTrackEmptiesBothChannels();
    void rightTrackLeavesLeftAlone();
    void shortFilesReadAsZeros();
    void sizeOverflowEndsSilently();
    void unknownChannelWritesNothing();
    void validateReadsTheFields_data();
    void validateReadsTheFields();

private:
    std::string root() const { return m_dir->path().toStdString(); }
    void open(const std::optional<std::string>& path, std::optional<Channel> channel = std::nullopt);
    void loadLeftTrack();
    static QStringList texts(const ChannelSlot& slot);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2Wav> m_window;
};

void TestTrackOpener::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<TestPlatform>();
    m_globals = std::make_unique<AppGlobals>();
    m_window = std::make_unique<Rep2Wav>(*m_globals, *m_platform);
}

void TestTrackOpener::open(const std::optional<std::string>& path, std::optional<Channel> channel) {
    m_platform->chooseNextFile(path);
    if (m_globals->repMode == "stereo") m_platform->chooseNextChannel(channel);
    m_window->Open_Click();
}

// A valid writer loop in the left channel, to see what later opens leave of it.
void TestTrackOpener::loadLeftTrack() {
    const std::string track = makeLoop(root(), "LOOP1", patternBytes(5120));
    open(track, Channel::Left);
    QCOMPARE(m_window->left.File.text, track);
}

QStringList TestTrackOpener::texts(const ChannelSlot& slot) {
    QStringList list;
    for (const Control* field : const_cast<ChannelSlot&>(slot).fields())
        list << QString::fromStdString(field->text);
    return list;
}

void TestTrackOpener::sizesFromStartAndEnd_data() {
    QTest::addColumn<int>("startByte");
    QTest::addColumn<int>("endWord");
    QTest::addColumn<int>("pre");
    QTest::addColumn<int>("audio");
    // audio = (end - signed start + 1) x 512; pre = u x 512 with u from the start byte's band.
    QTest::newRow("writer loop: start 0") << 0 << 1000 << 16384 << 512512;
    QTest::newRow("start 32") << 32 << 1000 << 32768 << 496128;
    QTest::newRow("start 64") << 64 << 1000 << 32768 << 479744;
    QTest::newRow("start 96") << 96 << 1000 << 32768 << 463360;
    QTest::newRow("start 128 (-128)") << 128 << 1000 << 16384 << 578048;
    QTest::newRow("start 160 (-96)") << 160 << 1000 << 16384 << 561664;
    QTest::newRow("start 192 (-64)") << 192 << 1000 << 16384 << 545280;
    QTest::newRow("start 224 (-32)") << 224 << 1000 << 16384 << 528896;
    QTest::newRow("start 200 (-56)") << 200 << 1000 << 20480 << 541184;
    QTest::newRow("band 97..127 top") << 127 << 1000 << 63 * 512 << 447488;
    QTest::newRow("band 97..127 bottom") << 97 << 1000 << 33 * 512 << 462848;
    QTest::newRow("band 65..96 bottom") << 65 << 1000 << 33 * 512 << 479232;
    QTest::newRow("band 33..64 bottom") << 33 << 1000 << 33 * 512 << 495616;
    QTest::newRow("band -32..-1 top (255)") << 255 << 1000 << 63 * 512 << 513024;
    QTest::newRow("band -64..-33 top (223)") << 223 << 1000 << 63 * 512 << 529408;
    QTest::newRow("band -96..-65 top (191)") << 191 << 1000 << 63 * 512 << 545792;
    QTest::newRow("band -128..-97 top (159)") << 159 << 1000 << 63 * 512 << 562176;
    QTest::newRow("one sector") << 0 << 0 << 16384 << 512;
    QTest::newRow("empty audio: end = start - 1") << 0 << -1 << 16384 << 0;
}

void TestTrackOpener::sizesFromStartAndEnd() {
    QFETCH(int, startByte);
    QFETCH(int, endWord);
    QFETCH(int, pre);
    QFETCH(int, audio);
    const int post = 1536;
    const std::string folder = makeFolder(root(), "LOOP12");
    writeDescription(folder, static_cast<uint8_t>(startByte), static_cast<int16_t>(endWord));
    TrackSpec spec;
    spec.dataSize = pre + audio + post;  // only the header's size is read, not the bytes
    const std::string track = writeTrack(folder, spec);

    open(track);
    QVERIFY(m_platform->messages().empty());
    QCOMPARE(texts(m_window->left),
             (QStringList{QString::fromStdString(track), "LOOP12", "track1",
                          QString("%1 bytes").arg(pre), QString("%1 bytes").arg(audio),
                          QString("%1 bytes").arg(post), QString("%1 bytes").arg(pre + audio + post)}));
    QVERIFY(!m_platform->busy());
}

void TestTrackOpener::writerLoopShowsNamesAndSizes() {
    // A loop as the loop writer leaves it, opened through its third track: the sizes come
    // from track 1's record all the same.
    const std::string track = makeLoop(root(), "LOOP7", patternBytes(51200), 3);
    open(track);
    QCOMPARE(texts(m_window->left),
             (QStringList{QString::fromStdString(track), "LOOP7", "track3", "16384 bytes",
                          "51200 bytes", "0 bytes", "67584 bytes"}));
    QCOMPARE(texts(m_window->right), QStringList(7, QString()));
}

void TestTrackOpener::trackNameStopsAtFirstDot() {
    const std::string folder = makeFolder(root(), "LOOP3");
    writeDescriptionFor(folder, 1024);
    TrackSpec spec;
    spec.audio = patternBytes(1024);
    const std::string track = writeTrack(folder, spec);
    const std::string renamed = folder + "/track2.take1.wav";
    std::filesystem::rename(track, renamed);
    open(renamed);
    QCOMPARE(m_window->left.Track.text, std::string("track2"));
    QCOMPARE(m_window->left.Loop.text, std::string("LOOP3"));
}

void TestTrackOpener::openDialogSetUp() {
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

void TestTrackOpener::missingDescriptionReportedBeforeMissingTrack() {
    loadLeftTrack();
    const QStringList before = texts(m_window->left);
    const std::string folder = makeFolder(root(), "LOOP2");  // neither ldf nor track
    open(folder + "/track1.wav");
    QCOMPARE(m_platform->messages().size(), size_t{1});
    const RecordedMessage& shown = m_platform->messages().front();
    QCOMPARE(shown.text, std::string("Repeater's .ldf and .wav files must reside in the same directory"));
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QCOMPARE(shown.icon, MessageIcon::None);
    QCOMPARE(shown.title, std::string("Brenvik"));
    QCOMPARE(texts(m_window->left), before);
}

void TestTrackOpener::missingTrackKeepsFields() {
    loadLeftTrack();
    const QStringList before = texts(m_window->left);
    const std::string folder = makeFolder(root(), "LOOP2");
    writeDescriptionFor(folder, 512);
    open(folder + "/track4.wav");
    QCOMPARE(m_platform->messages().size(), size_t{1});
    QCOMPARE(m_platform->messages().front().text, std::string("File does not exist!"));
    QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
    QCOMPARE(m_platform->messages().front().buttons, MessageButtons::Ok);
    QCOMPARE(texts(m_window->left), before);
}

void TestTrackOpener::cancelledFirstOpenLooksBesideTheEmptyPath() {
    // The empty path's folder is empty, so the description is looked for at the root.
    if (std::filesystem::exists("/loopinfo.ldf")) QSKIP("this machine has a /loopinfo.ldf");
    open(std::nullopt);
    QCOMPARE(m_platform->messageTexts(),
             std::vector<std::string>{"Repeater's .ldf and .wav files must reside in the same directory"});
    QVERIFY(!m_window->left.loaded());
}

void TestTrackOpener::cancelledLaterOpenReopensPreviousPath() {
    m_window->stereoMode();
    loadLeftTrack();
    const std::string previous = m_window->left.File.text;
    open(std::nullopt, Channel::Right);
    QCOMPARE(m_platform->dialogsShown().back().fileName, previous);
    QCOMPARE(m_window->right.File.text, previous);
    QCOMPARE(texts(m_window->right), texts(m_window->left));
    QVERIFY(m_platform->messages().empty());
}

void TestTrackOpener::refusedTrackEmptiesBothChannels_data() {
    QTest::addColumn<int>("endWord");
    QTest::addColumn<int>("dataSize");
    // Start byte 0: pre 16384, audio (end + 1) x 512.
    QTest::newRow("negative audio: end below start - 1") << -2 << 40000;
    QTest::newRow("negative post: total too small") << 9 << 16384 + 5119;
    QTest::newRow("total below audio") << 99 << 1000;
    QTest::newRow("negative total") << 0 << -4;
}

void TestTrackOpener::refusedTrackEmptiesBothChannels() {
    QFETCH(int, endWord);
    QFETCH(int, dataSize);
    m_window->stereoMode();
    loadLeftTrack();
    const std::string folder = makeFolder(root(), "LOOP9");
    writeDescription(folder, 0, static_cast<int16_t>(endWord));
    TrackSpec spec;
    spec.track = 2;
    spec.dataSize = dataSize;
    const std::string track = writeTrack(folder, spec);
    open(track, Channel::Right);
    QCOMPARE(m_platform->messages().size(), size_t{1});
    QCOMPARE(m_platform->messages().front().text, std::string("Invalid or Untrimmed Repeater File"));
    QCOMPARE(m_platform->messages().front().icon, MessageIcon::None);
    QCOMPARE(texts(m_window->left), QStringList(7, QString()));
    QCOMPARE(texts(m_window->right), QStringList(7, QString()));
}

void TestTrackOpener::rightTrackLeavesLeftAlone() {
    m_window->stereoMode();
    loadLeftTrack();
    const QStringList left = texts(m_window->left);
    const std::string other = makeLoop(root(), "LOOP2", patternBytes(2048), 2);
    open(other, Channel::Right);
    QCOMPARE(texts(m_window->left), left);
    QCOMPARE(m_window->right.File.text, other);
    QCOMPARE(m_window->right.Audio.text, std::string("2048 bytes"));
}

void TestTrackOpener::shortFilesReadAsZeros() {
    // A 10-byte description reads start 0 and end 0: one sector of audio behind 32 sectors.
    const std::string folder = makeFolder(root(), "LOOP5");
    writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(10, 0x7F));
    TrackSpec spec;
    spec.audio = patternBytes(512);
    const std::string track = writeTrack(folder, spec);
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

void TestTrackOpener::sizeOverflowEndsSilently() {
    loadLeftTrack();
    const QStringList before = texts(m_window->left);
    const std::string folder = makeFolder(root(), "LOOP6");
    writeDescription(folder, 0, 0);
    TrackSpec spec;
    spec.dataSize = INT32_MIN;  // total - audio - pre leaves the 32-bit range
    const std::string track = writeTrack(folder, spec);
    open(track);
    QVERIFY(m_platform->messages().empty());
    QCOMPARE(texts(m_window->left), before);
}

void TestTrackOpener::unknownChannelWritesNothing() {
    m_globals->repChannel = "centre";
    const std::string track = makeLoop(root(), "LOOP1", patternBytes(512));
    open(track);
    QVERIFY(!m_window->left.loaded());
    QVERIFY(!m_window->right.loaded());
    QVERIFY(m_platform->messages().empty());
}

void TestTrackOpener::validateReadsTheFields_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("pre");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("post");
    QTest::addColumn<QString>("total");
    QTest::addColumn<bool>("valid");
    QTest::newRow("all zero") << "x" << "0 bytes" << "0 bytes" << "0 bytes" << "0 bytes" << true;
    QTest::newRow("total equals audio") << "x" << "0 bytes" << "512 bytes" << "0 bytes" << "512 bytes" << true;
    QTest::newRow("negative pre") << "x" << "-1 bytes" << "0 bytes" << "0 bytes" << "0 bytes" << false;
    QTest::newRow("negative audio") << "x" << "0 bytes" << "-512 bytes" << "0 bytes" << "0 bytes" << false;
    QTest::newRow("negative post") << "x" << "0 bytes" << "0 bytes" << "-512 bytes" << "0 bytes" << false;
    QTest::newRow("negative total") << "x" << "0 bytes" << "0 bytes" << "0 bytes" << "-2 bytes" << false;
    QTest::newRow("total below audio") << "x" << "0 bytes" << "513 bytes" << "0 bytes" << "512 bytes" << false;
    QTest::newRow("not loaded passes") << "" << "-1 bytes" << "-1 bytes" << "-1 bytes" << "-9 bytes" << true;
}

void TestTrackOpener::validateReadsTheFields() {
    QFETCH(QString, file);
    QFETCH(QString, pre);
    QFETCH(QString, audio);
    QFETCH(QString, post);
    QFETCH(QString, total);
    QFETCH(bool, valid);
    // Checked in either channel, with the other one loaded and acceptable.
    for (ChannelSlot* slot : {&m_window->right, &m_window->left}) {
        m_window->clearFields();
        ChannelSlot& other = slot == &m_window->left ? m_window->right : m_window->left;
        other.File.text = "y";
        other.Pre.text = other.Audio.text = other.Post.text = other.Total.text = "16 bytes";
        other.Audio.text = "0 bytes";
        slot->File.text = file.toStdString();
        slot->Pre.text = pre.toStdString();
        slot->Audio.text = audio.toStdString();
        slot->Post.text = post.toStdString();
        slot->Total.text = total.toStdString();
        QCOMPARE(m_window->Validate(), valid);
    }
}

QTEST_GUILESS_MAIN(TestTrackOpener)
#include "tst_trackopener.moc"
