#include <QTest>

#include <filesystem>
#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

// Remembers whether the window could be used when each message was shown.
class WatchingPlatform : public TestPlatform {
public:
    const Wav2Rep* window = nullptr;
    std::vector<bool> enabledAtMessage;
    MessageAnswer message(const std::string& text, MessageButtons buttons, MessageIcon icon) override {
        enabledAtMessage.push_back(window->windowEnabled);
        return TestPlatform::message(text, buttons, icon);
    }
};

class TestLoopDestination : public QObject {
    Q_OBJECT
private slots:
    void init() { m_bench = std::make_unique<Wav2RepBench>(); }
    void startState();
    void formLoad();
    void findFreeLoop_data();
    void findFreeLoop();
    void doubledSeparator();
    void browse();
    void saveToBrowsedFolder();
    void windowDisabledDuringSave();
    void toolbarDispatch();

private:
    void makeLoops(std::initializer_list<int> numbers, const std::string& in);
    std::unique_ptr<Wav2RepBench> m_bench;
};

void TestLoopDestination::makeLoops(std::initializer_list<int> numbers, const std::string& in) {
    for (int n : numbers) fs::create_directory(in + "/LOOP" + std::to_string(n));
}

void TestLoopDestination::startState() {
    const Wav2Rep& w = m_bench->window;
    QCOMPARE(w.Text2.text, std::string("/LOOP"));
    QCOMPARE(w.loopNumber.text, std::string("1"));
    QCOMPARE(w.Text1[1].text, std::string());
    QCOMPARE(w.Text1[2].text, std::string());
    QCOMPARE(w.Text1[3].text, std::string("1"));
    QCOMPARE(w.Text1[4].text, std::string("4"));
    QCOMPARE(w.LoopFile.text, std::string());
    QVERIFY(!w.tempoCntrl.enabled && !w.leftFrame.enabled);
    for (const ScrollBar* pitch : {&w.LeftPitch, &w.RightPitch}) {
        QCOMPARE(pitch->min, int16_t(-2400));
        QCOMPARE(pitch->max, int16_t(1200));
        QCOMPARE(pitch->smallChange, int16_t(1));
        QCOMPARE(pitch->largeChange, int16_t(50));
        QCOMPARE(pitch->value, int16_t(0));
    }
    for (const ScrollBar* pan : {&w.LeftPan, &w.RightPan}) {
        QCOMPARE(pan->min, int16_t(-100));
        QCOMPARE(pan->max, int16_t(100));
        QCOMPARE(pan->smallChange, int16_t(1));
        QCOMPARE(pan->largeChange, int16_t(10));
    }
    QCOMPARE(w.LeftPitch2.text, std::string("0"));
    QCOMPARE(w.LeftPan2.text, std::string("Center"));
    QCOMPARE(w.RightPan2.text, std::string("Center"));
    QVERIFY(w.Option[1].selected && w.Option[6].selected && !w.Option[5].enabled);
    for (int k = 1; k <= 8; ++k) QCOMPARE(w.Option[k].caption, std::to_string((k - 1) % 4 + 1));
    QCOMPARE(w.LeftHeader.text, std::string("Mono"));
    QCOMPARE(w.RightHeader.text, std::string("Right Channel"));
    for (const Control* c : {&w.RightHeader, &w.rightFrame, &w.RightPan2, &w.RightPitch2, &w.rightBlock1, &w.r1,
                             &w.r2, &w.r3, &w.r4})
        QVERIFY(!c->visible);
    QVERIFY(!w.RightPan.visible && !w.RightPitch.visible);
    QVERIFY(w.toolButton[1].visible && w.toolButton[1].enabled);
    QVERIFY(w.toolButton[2].visible && !w.toolButton[2].enabled);
    QVERIFY(!w.toolButton[3].visible);
    QVERIFY(!w.toolButton[4].visible && !w.toolButton[4].enabled);
    QCOMPARE(w.toolButton[4].text, std::string("Cross Fade this Loop"));
    QVERIFY(w.windowEnabled);
}

void TestLoopDestination::formLoad() {
    m_bench->globals.beatsPerBar = 5;
    m_bench->window.Form_Load();
    QCOMPARE(m_bench->globals.beatsPerBar, int16_t(1));
    QCOMPARE(m_bench->window.loopName.text, m_bench->root());
    QCOMPARE(m_bench->window.loopNumber.text, std::string("1"));
}

void TestLoopDestination::findFreeLoop_data() {
    QTest::addColumn<QList<int>>("existing");
    QTest::addColumn<int>("autoIncrement");
    QTest::addColumn<QString>("number");
    QTest::newRow("empty card") << QList<int>{} << 1 << "1";
    QTest::newRow("gap after 2") << QList<int>{1, 2, 4} << 1 << "3";
    QTest::newRow("auto increment off") << QList<int>{1, 2} << 0 << "12";
    QList<int> all;
    for (int n = 1; n <= 999; ++n) all << n;
    QTest::newRow("all taken") << all << 1 << "12";
}

// The number as typed stays when the search is off or finds nothing; the folder is reset anyway.
void TestLoopDestination::findFreeLoop() {
    QFETCH(QList<int>, existing);
    QFETCH(int, autoIncrement);
    QFETCH(QString, number);
    Wav2RepBench& b = *m_bench;
    for (int n : existing) fs::create_directory(b.file("LOOP" + std::to_string(n)));
    b.globals.autoIncrement = static_cast<int16_t>(autoIncrement);
    b.window.loopName.text = "/elsewhere";
    b.window.loopNumber.text = "12";
    b.window.findFreeLoop();
    QCOMPARE(QString::fromStdString(b.window.loopNumber.text), number);
    QCOMPARE(b.window.loopName.text, b.root());
}

void TestLoopDestination::doubledSeparator() {
    Wav2RepBench& b = *m_bench;
    makeLoops({1}, b.root());
    b.globals.initLoopDir = b.root() + "/";
    b.window.findFreeLoop();
    QCOMPARE(b.window.loopNumber.text, std::string("2"));
}

void TestLoopDestination::browse() {
    Wav2RepBench& b = *m_bench;
    b.window.loopName.text = "/start";
    b.platform.chooseNextFolder(std::nullopt);
    b.window.browseLoop_Click();
    QCOMPARE(b.window.loopName.text, std::string("/start"));
    QCOMPARE(b.globals.chosenFolder, std::string("/start"));  // preset with the box's text
    b.platform.chooseNextFolder("/card");
    b.window.browseLoop_Click();
    QCOMPARE(b.window.loopName.text, std::string("/card"));
    QCOMPARE(b.platform.folderCaptions(), (std::vector<std::string>{"Choose a Loop Folder", "Choose a Loop Folder"}));
}

// A browsed folder lasts one Save; afterwards the destination is the initial folder again with
// its next free number.
void TestLoopDestination::saveToBrowsedFolder() {
    Wav2RepBench& b = *m_bench;
    fs::create_directory(b.file("card"));
    makeLoops({1}, b.root());
    b.window.Form_Load();
    b.open(b.write("m.wav", wave(1, patternBytes(2000))));
    b.platform.chooseNextFolder(b.file("card"));
    b.window.browseLoop_Click();
    b.window.saveLoop_Click();
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{"File writing successful"});
    QVERIFY(fs::exists(b.file("card/LOOP2/track1.wav")));
    QCOMPARE(b.window.loopName.text, b.root());
    QCOMPARE(b.window.loopNumber.text, std::string("2"));  // LOOP2 went to the card folder
    QCOMPARE(b.platform.progressValue(), 0.0f);
    QVERIFY(!b.platform.busy());
}

void TestLoopDestination::windowDisabledDuringSave() {
    Wav2RepBench& b = *m_bench;
    WatchingPlatform watching;
    AppGlobals globals;
    globals.initLoopDir = b.root();
    Wav2Rep window(globals, watching);
    watching.window = &window;
    window.loopName.text = b.root();
    window.loopNumber.text = "007";
    window.saveLoop_Click();  // no wave yet: refused, yet the reset runs
    QCOMPARE(watching.messageTexts(), std::vector<std::string>{"No wave file has been opened"});
    QCOMPARE(watching.messages()[0].icon, MessageIcon::None);
    QCOMPARE(watching.enabledAtMessage, std::vector<bool>{false});
    QVERIFY(window.windowEnabled);
    QVERIFY(!watching.busy());
    QCOMPARE(window.loopNumber.text, std::string("1"));
    QCOMPARE(entriesIn(b.root()), 0);
}

void TestLoopDestination::toolbarDispatch() {
    Wav2RepBench& b = *m_bench;
    b.window.Toolbar1_ButtonClick(3);
    b.window.Toolbar1_ButtonClick(4);
    QVERIFY(b.platform.messages().empty() && b.platform.dialogsShown().empty());
    b.window.loopName.text = b.root();
    b.window.Toolbar1_ButtonClick(2);
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{"No wave file has been opened"});
    b.platform.chooseNextFile(std::nullopt);
    b.window.Toolbar1_ButtonClick(1);
    QCOMPARE(b.platform.dialogsShown().size(), size_t(1));
}

QTEST_APPLESS_MAIN(TestLoopDestination)
#include "tst_loopdestination.moc"
