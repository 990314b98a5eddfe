// The Repeater-to-wave window's state: start-up, toolbar, mono and stereo mode and the
// channel dialog.
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "LoopFixture.h"
#include "Rep2Wav.h"
#include "TestFiles.h"
#include "TestPlatform.h"

using namespace brenvik;
using namespace brenvik::test;

class TestRep2Wav : public QObject {
    Q_OBJECT
private slots:
    void init();
    void startState();
    void toolbarButtons_data();
    void toolbarButtons();
    void unboundButtonsDoNothing_data();
    void unboundButtonsDoNothing();
    void toolbarRunsTheCommands();
    void stereoModeShowsRightColumn();
    void monoModeForgetsRightTrack();
    void monoTrackBecomesLeftChannel();
    void channelDialogCloseBoxKeepsChannel();
    void monoModeAsksNoChannel();
    void monoModeAgainChangesNothing();

private:
    std::string loop(const std::string& name, size_t audio, int track = 1);
    void open(const std::string& path, std::optional<Channel> channel);
    void expectRightColumn(bool visible);
    static bool allEmpty(ChannelSlot& slot);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2Wav> m_window;
};

void TestRep2Wav::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<TestPlatform>();
    m_globals = std::make_unique<AppGlobals>();
    m_window = std::make_unique<Rep2Wav>(*m_globals, *m_platform);
}

std::string TestRep2Wav::loop(const std::string& name, size_t audio, int track) {
    return makeLoop(m_dir->path().toStdString(), name, patternBytes(audio), track);
}

void TestRep2Wav::open(const std::string& path, std::optional<Channel> channel) {
    m_platform->chooseNextFile(path);
    m_platform->chooseNextChannel(channel);
    m_window->Toolbar1_ButtonClick(1);
}

void TestRep2Wav::expectRightColumn(bool visible) {
    QCOMPARE(m_window->RightHeader.visible, visible);
    for (const Control* field : m_window->right.fields()) QCOMPARE(field->visible, visible);
    for (int i = 1; i <= 7; ++i) QCOMPARE(m_window->r[size_t(i)].visible, visible);
    // The left column is always shown.
    for (const Control* field : m_window->left.fields()) QVERIFY(field->visible);
    for (int i = 1; i <= 7; ++i) QVERIFY(m_window->l[size_t(i)].visible);
}

bool TestRep2Wav::allEmpty(ChannelSlot& slot) {
    for (const Control* field : slot.fields())
        if (!field->text.empty()) return false;
    return true;
}

void TestRep2Wav::startState() {
    QCOMPARE(m_window->LeftHeader.text, std::string("Mono"));
    QVERIFY(m_window->LeftHeader.visible);
    QCOMPARE(m_window->RightHeader.text, std::string("Right Channel"));
    expectRightColumn(false);
    QVERIFY(allEmpty(m_window->left));
    QVERIFY(allEmpty(m_window->right));
    const char* captions[] = {"File:", "Loop:", "Track:", "Pre-Buffer:", "Audio Data:",
                              "Post-Buffer:", "Total Size:"};
    for (int i = 1; i <= 7; ++i) {
        QCOMPARE(m_window->l[size_t(i)].text, std::string(captions[i - 1]));
        QCOMPARE(m_window->r[size_t(i)].text, std::string(captions[i - 1]));
    }
    QCOMPARE(m_globals->repMode, std::string("mono"));
    QCOMPARE(m_globals->repChannel, std::string("left"));
    QVERIFY(m_window->windowEnabled);
}

void TestRep2Wav::toolbarButtons_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("1 open") << 1 << "Open Repeater Wave File" << true << true;
    QTest::newRow("2 save") << 2 << "Remove Gaps and Save" << true << true;
    QTest::newRow("3 separator") << 3 << "" << true << true;
    QTest::newRow("4 mono") << 4 << "Mono Mode" << true << true;
    QTest::newRow("5 stereo") << 5 << "Stereo Mode" << true << true;
    QTest::newRow("6 separator") << 6 << "" << false << true;
    QTest::newRow("7 cross fade") << 7 << "Cross Fade this Wave" << false << false;
}

void TestRep2Wav::toolbarButtons() {
    QFETCH(int, index);
    QFETCH(QString, toolTip);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    const Control& button = m_window->toolButton[size_t(index)];
    QCOMPARE(QString::fromStdString(button.text), toolTip);
    QCOMPARE(button.visible, visible);
    QCOMPARE(button.enabled, enabled);
}

void TestRep2Wav::unboundButtonsDoNothing_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("separator 3") << 3;
    QTest::newRow("separator 6") << 6;
    QTest::newRow("cross fade 7") << 7;
    QTest::newRow("no button 0") << 0;
    QTest::newRow("no button 8") << 8;
}

void TestRep2Wav::unboundButtonsDoNothing() {
    QFETCH(int, index);
    m_window->stereoMode();
    const std::string track = loop("LOOP1", 1024);
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
    expectRightColumn(true);
}

void TestRep2Wav::toolbarRunsTheCommands() {
    m_platform->chooseNextFile(std::nullopt);
    m_window->Toolbar1_ButtonClick(1);
    QCOMPARE(m_platform->dialogsShown().size(), size_t{1});
    m_platform->clearRecords();
    m_window->Toolbar1_ButtonClick(2);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"No Repeater files loaded"});
    m_window->Toolbar1_ButtonClick(5);
    QCOMPARE(m_globals->repMode, std::string("stereo"));
    m_window->Toolbar1_ButtonClick(4);
    QCOMPARE(m_globals->repMode, std::string("mono"));
}

void TestRep2Wav::stereoModeShowsRightColumn() {
    m_globals->repChannel = "right";
    m_window->Toolbar1_ButtonClick(5);
    QCOMPARE(m_globals->repMode, std::string("stereo"));
    QCOMPARE(m_window->LeftHeader.text, std::string("Left Channel"));
    expectRightColumn(true);
    QCOMPARE(m_globals->repChannel, std::string("right"));  // kept by the switch
}

void TestRep2Wav::monoModeForgetsRightTrack() {
    m_window->Toolbar1_ButtonClick(5);
    const std::string leftTrack = loop("LOOP1", 1024);
    const std::string rightTrack = loop("LOOP2", 2048, 2);
    open(leftTrack, Channel::Left);
    open(rightTrack, Channel::Right);
    QCOMPARE(m_window->right.File.text, rightTrack);
    QCOMPARE(m_globals->repChannel, std::string("right"));
    std::vector<std::string> leftBefore;
    for (const Control* field : m_window->left.fields()) leftBefore.push_back(field->text);

    m_window->Toolbar1_ButtonClick(4);
    QCOMPARE(m_globals->repMode, std::string("mono"));
    QCOMPARE(m_globals->repChannel, std::string("left"));
    QCOMPARE(m_window->LeftHeader.text, std::string("Mono"));
    expectRightColumn(false);
    QVERIFY(allEmpty(m_window->right));
    std::vector<std::string> leftAfter;
    for (const Control* field : m_window->left.fields()) leftAfter.push_back(field->text);
    QCOMPARE(leftAfter, leftBefore);

    // Back in stereo the right channel stays empty until a track is opened into it.
    m_window->Toolbar1_ButtonClick(5);
    QVERIFY(allEmpty(m_window->right));
    QCOMPARE(m_window->left.File.text, leftTrack);
}

void TestRep2Wav::monoTrackBecomesLeftChannel() {
    const std::string track = loop("LOOP1", 1024);
    m_platform->chooseNextFile(track);
    m_window->Toolbar1_ButtonClick(1);
    m_window->Toolbar1_ButtonClick(5);
    QCOMPARE(m_window->left.File.text, track);
    m_window->Toolbar1_ButtonClick(2);
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"No Repeater file loaded in Right channel"});
}

void TestRep2Wav::channelDialogCloseBoxKeepsChannel() {
    m_window->Toolbar1_ButtonClick(5);
    const std::string first = loop("LOOP1", 1024);
    const std::string second = loop("LOOP2", 1536);
    const std::string third = loop("LOOP3", 2048);
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

void TestRep2Wav::monoModeAsksNoChannel() {
    const std::string track = loop("LOOP1", 1024);
    m_platform->chooseNextFile(track);  // no channel scripted: the dialog must not appear
    m_window->Toolbar1_ButtonClick(1);
    QCOMPARE(m_window->left.File.text, track);
    QVERIFY(!m_window->right.loaded());
}

void TestRep2Wav::monoModeAgainChangesNothing() {
    const std::string track = loop("LOOP1", 1024);
    m_platform->chooseNextFile(track);
    m_window->Toolbar1_ButtonClick(1);
    m_window->Toolbar1_ButtonClick(4);
    QCOMPARE(m_window->left.File.text, track);
    QCOMPARE(m_window->LeftHeader.text, std::string("Mono"));
    expectRightColumn(false);
    QVERIFY(allEmpty(m_window->right));
}

QTEST_GUILESS_MAIN(TestRep2Wav)
#include "tst_rep2wav.moc"
