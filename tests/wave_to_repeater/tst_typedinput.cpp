// What a user can type or set up wrongly in the ".WAV to Repeater" window, through its model:
// loop-number texts of every odd kind, and an initial loop folder that is missing, a file, or
// unreadable, for the free-number search and for the Save's destination check.
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

const QString kNotNumber = "Loop Number should be a Number [1-999]";
const QString kOutOfRange = "Loop Number is out of Range [1-999]";
const QString kFailed = "error in fileSaving()";
const QString kWritten = "File writing successful";

}  // namespace

class TestTypedInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loopNumberText_data();
    void loopNumberText();
    void unusableLoopFolder_data();
    void unusableLoopFolder();

private:
    // A mono wave opened in the window, the records cleared.
    void openWave();
    std::unique_ptr<Wav2RepBench> m_bench;
    std::string m_lockedFolder;
};

void TestTypedInput::init() {
    m_bench = std::make_unique<Wav2RepBench>();
    m_bench->platform.setFreeSpace(int64_t{1} << 40);
}

void TestTypedInput::cleanup() {
    if (!m_lockedFolder.empty()) ::chmod(m_lockedFolder.c_str(), 0755);  // so it can be removed
    m_lockedFolder.clear();
    m_bench.reset();
}

void TestTypedInput::openWave() {
    m_bench->open(m_bench->write("in.wav", wave(1, patternBytes(2048))));
    QCOMPARE(m_bench->window.LoopFile.text, m_bench->file("in.wav"));
    m_bench->platform.clearRecords();
}

void TestTypedInput::loopNumberText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    // The loopNumber text afterwards; on success the loop went to the folder LOOP<box>.
    QTest::addColumn<QString>("box");

    QTest::newRow("long number") << "12345" << kOutOfRange << "12345";
    QTest::newRow("long number beyond 16 bits") << "99999" << kFailed << "99999";
    QTest::newRow("long text") << "seven hundred" << kNotNumber << "seven hundred";
    QTest::newRow("C-style hex") << "0x7" << kNotNumber << "0x7";
    QTest::newRow("negative") << "-1" << kOutOfRange << "-1";
    QTest::newRow("negative fraction rounds to 0") << "-0.4" << kOutOfRange << "-0.4";
    QTest::newRow("2.5 rounds to even 2") << "2.5" << kWritten << "2";
    QTest::newRow("3.5 rounds to even 4") << "3.5" << kWritten << "4";
    QTest::newRow("1e9 overflows 16 bits") << "1e9" << kFailed << "1e9";
    QTest::newRow("exponent within range") << "7e1" << kWritten << "70";
    QTest::newRow("&H7 is hexadecimal 7") << "&H7" << kWritten << "7";
    QTest::newRow("&O17 is octal 15") << "&O17" << kWritten << "15";
    QTest::newRow("blanks around") << " 8 " << kWritten << "8";
}

// With automatic numbering off the box keeps what the writer left in it: the normal form after
// it passed the checks, the typed text otherwise.
void TestTypedInput::loopNumberText() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, box);
    Wav2RepBench& b = *m_bench;
    b.globals.autoIncrement = 0;
    b.window.Form_Load();
    openWave();
    b.window.loopNumber.text = typed.toStdString();
    b.window.saveLoop_Click();

    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{message.toStdString()});
    const bool written = message == kWritten;
    QCOMPARE(b.platform.messages()[0].icon, written ? MessageIcon::None : MessageIcon::Critical);
    QCOMPARE(QString::fromStdString(b.window.loopNumber.text), box);
    QVERIFY(b.window.windowEnabled);
    QVERIFY(!b.platform.busy());
    if (written) QVERIFY(fs::exists(b.file("LOOP" + box.toStdString() + "/track1.wav")));
    QCOMPARE(entriesIn(b.root()), written ? 2 : 1);  // the wave, and the loop when written
}

void TestTypedInput::unusableLoopFolder_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");  // of a Save to that folder; {dir} is the folder

    const QString folderMessage = "Folder: {dir} does not exist or drive not ready";
    QTest::newRow("missing") << "missing" << folderMessage;
    QTest::newRow("a regular file") << "file" << folderMessage;
    // It exists, but nothing in it can be seen or made.
    QTest::newRow("unreadable, holding LOOP1") << "unreadable" << kFailed;
}

// The search sees no LOOP1 there and offers 1; the Save then refuses the folder.
void TestTypedInput::unusableLoopFolder() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    Wav2RepBench& b = *m_bench;
    const std::string dir = b.file("card");
    if (kind == "file") writeFile(dir, {1, 2, 3});
    if (kind == "unreadable") {
        fs::create_directories(dir + "/LOOP1");
        ::chmod(dir.c_str(), 0);
        m_lockedFolder = dir;
        if (::access(dir.c_str(), R_OK | X_OK) == 0) QSKIP("a privileged user reads any folder");
    }
    b.globals.initLoopDir = dir;
    b.window.loopNumber.text = "12";
    b.window.Form_Load();
    QCOMPARE(b.window.loopName.text, dir);
    QCOMPARE(b.window.loopNumber.text, std::string("1"));
    QVERIFY(b.platform.messages().empty());

    openWave();
    b.window.saveLoop_Click();
    const std::string expected =
        message.replace("{dir}", QString::fromStdString(dir)).toStdString();
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{expected});
    QCOMPARE(b.platform.messages()[0].icon, MessageIcon::Critical);
    QVERIFY(b.window.windowEnabled);
    QVERIFY(!b.platform.busy());
    QCOMPARE(b.window.loopNumber.text, std::string("1"));
    QCOMPARE(entriesIn(b.root()), kind == "missing" ? 1 : 2);  // the wave, and the file or folder
    if (kind == "unreadable") {
        ::chmod(dir.c_str(), 0755);
        QCOMPARE(entriesIn(dir), 1);  // only the LOOP1 that was there
        QCOMPARE(entriesIn(dir + "/LOOP1"), 0);
    }
}

QTEST_APPLESS_MAIN(TestTypedInput)
#include "tst_typedinput.moc"
