// Where the ".WAV to Repeater" window's model puts a loop: the free loop search, the browsed
// destination and the Save wrapper around the writer. The window's start-up state and its
// toolbar are checked through the widgets in the window's test.
#include <QTest>

#include <filesystem>
#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

QList<int> barState(const ScrollBar& bar) {
    return {bar.min, bar.max, bar.smallChange, bar.largeChange, bar.value};
}

}  // namespace

class TestLoopDestination : public QObject {
    Q_OBJECT
    std::unique_ptr<Wav2RepBench> m_bench;

private slots:
    void init() { m_bench = std::make_unique<Wav2RepBench>(); }

    // The pitch and pan bars as the window is laid out.
    void scrollBarRanges() {
        const Wav2Rep& w = m_bench->window;
        for (const ScrollBar* pitch : {&w.LeftPitch, &w.RightPitch})
            QCOMPARE(barState(*pitch), (QList<int>{-2400, 1200, 1, 50, 0}));
        for (const ScrollBar* pan : {&w.LeftPan, &w.RightPan})
            QCOMPARE(barState(*pan), (QList<int>{-100, 100, 1, 10, 0}));
    }

    void findFreeLoop_data() {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<int>("autoIncrement");
        QTest::addColumn<bool>("trailingSeparator");  // of the initial loop folder
        QTest::addColumn<QString>("number");
        QTest::newRow("empty card") << QList<int>{} << 1 << false << "1";
        QTest::newRow("gap after 2") << QList<int>{1, 2, 4} << 1 << false << "3";
        QTest::newRow("doubled separator counts as one") << QList<int>{1} << 1 << true << "2";
        QTest::newRow("auto increment off") << QList<int>{1, 2} << 0 << false << "12";
        QList<int> all;
        for (int n = 1; n <= 998; ++n) all << n;
        QTest::newRow("only 999 free") << all << 1 << false << "999";
        QTest::newRow("all taken") << (all << 999) << 1 << false << "12";
    }

    // The number as typed stays when the search is off or finds nothing; the folder is reset
    // anyway.
    void findFreeLoop() {
        QFETCH(QList<int>, existing);
        QFETCH(int, autoIncrement);
        QFETCH(bool, trailingSeparator);
        QFETCH(QString, number);
        Wav2RepBench& b = *m_bench;
        for (int n : existing) fs::create_directory(b.file("LOOP" + std::to_string(n)));
        b.globals.autoIncrement = static_cast<int16_t>(autoIncrement);
        if (trailingSeparator) b.globals.initLoopDir += "/";
        b.window.loopName.text = "/elsewhere";
        b.window.loopNumber.text = "12";
        b.window.findFreeLoop();
        QCOMPARE(QString::fromStdString(b.window.loopNumber.text), number);
        QCOMPARE(b.window.loopName.text, b.globals.initLoopDir);
    }

    void browse() {
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

    // A browsed folder lasts one Save; afterwards the destination is the initial folder again
    // with its next free number.
    void saveToBrowsedFolder() {
        Wav2RepBench& b = *m_bench;
        fs::create_directory(b.file("card"));
        fs::create_directory(b.file("LOOP1"));
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

    void windowDisabledDuringSave() {
        Wav2RepBench& b = *m_bench;
        TestPlatform watching;
        AppGlobals globals;
        globals.initLoopDir = b.root();
        Wav2Rep window(globals, watching);
        watching.windowUsable = [&window] { return window.windowEnabled; };
        window.loopName.text = b.root();
        window.loopNumber.text = "007";
        window.saveLoop_Click();  // no wave yet: refused, yet the reset runs
        QCOMPARE(watching.messageTexts(), std::vector<std::string>{"No wave file has been opened"});
        QCOMPARE(watching.messages()[0].icon, MessageIcon::None);
        QCOMPARE(watching.usableAtMessage, std::vector<bool>{false});
        QVERIFY(window.windowEnabled);
        QVERIFY(!watching.busy());
        QCOMPARE(window.loopNumber.text, std::string("1"));
        QCOMPARE(entriesIn(b.root()), 0);
    }
};

QTEST_APPLESS_MAIN(TestLoopDestination)
#include "tst_loopdestination.moc"
