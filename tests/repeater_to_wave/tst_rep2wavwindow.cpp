// The "Repeater to .WAV" window in real widgets: its start-up look, toolbar and menus, the
// shortcuts over a focused text box, the layouts after opening real loop folders, and whole
// conversions run through its menu items and toolbar buttons alone.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "LoopFixture.h"
#include "Rep2WavWindow.h"
#include "TestFiles.h"
#include "TestPlatform.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

// Notes whether the window took input while the save copied audio.
class WatchingPlatform : public TestPlatform {
public:
    QWidget* window = nullptr;
    std::vector<bool> enabledWhileCopying;
    void setBusy(bool busy) override {
        if (busy && window) enabledWhileCopying.push_back(window->isEnabled());
        TestPlatform::setBusy(busy);
    }
    void setProgressValue(float value) override {
        if (window && value > 0) enabledWhileCopying.push_back(window->isEnabled());
        TestPlatform::setProgressValue(value);
    }
};

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const QStringList kFields{"File", "Loop", "Track", "Pre", "Audio", "Post", "Total"};
const QStringList kCaptions{"File:",        "Loop:",       "Track:",     "Pre-Buffer:",
                            "Audio Data:", "Post-Buffer:", "Total Size:"};

}  // namespace

class TestRep2WavWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void startLook();
    void geometry_data();
    void geometry();
    void toolbarButtons_data();
    void toolbarButtons();
    void crossFadeButtonIsBoundToNothing();
    void menus_data();
    void menus();
    void shortcutsWinOverFocusedTextBox_data();
    void shortcutsWinOverFocusedTextBox();
    void openShortcutOpensTrack();
    void openShowsTrack_data();
    void openShowsTrack();
    void stereoLayoutAndBackToMono();
    void invalidTrackEmptiesBothColumns();
    void refreshShowsOutsideChanges();
    void monoConversion();
    void stereoConversion();
    void saveWithNothingLoaded();

private:
    QLabel* label(const QString& name) const;
    QString text(const QString& name) const { return label(name)->text(); }
    bool shown(const QString& name) const { return label(name)->isVisible(); }
    QAction* action(const QString& name) const;
    [[nodiscard]] bool trigger(const QString& name);
    [[nodiscard]] bool clickButton(int index);
    std::string loop(const std::string& name, const std::vector<uint8_t>& audio, int track = 1,
                     int32_t post = 0);
    std::string out() const { return m_dir->filePath(QStringLiteral("out.wav")).toStdString(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WatchingPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2WavWindow> m_window;
};

void TestRep2WavWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<WatchingPlatform>();
    m_globals = std::make_unique<AppGlobals>();
    m_globals->initLoopDir = m_dir->path().toStdString();
    m_globals->initWaveDir = m_dir->path().toStdString();
    m_window = std::make_unique<Rep2WavWindow>(*m_globals, *m_platform);
    m_platform->window = m_window.get();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRep2WavWindow::cleanup() {
    m_window.reset();
    m_globals.reset();
    m_platform.reset();
    m_dir.reset();
}

QLabel* TestRep2WavWindow::label(const QString& name) const {
    auto* found = m_window->findChild<QLabel*>(name);
    if (!found) qFatal("no label %s", qPrintable(name));
    return found;
}

QAction* TestRep2WavWindow::action(const QString& name) const {
    return m_window->findChild<QAction*>(name);
}

// Fires a menu item the user could choose: it must exist and be enabled.
bool TestRep2WavWindow::trigger(const QString& name) {
    QAction* item = action(name);
    if (!item || !item->isEnabled()) return false;
    item->trigger();
    return true;
}

// A real mouse click on the toolbar's button, as the user makes it: only a shown, enabled
// button can be clicked.
bool TestRep2WavWindow::clickButton(int index) {
    QAction* button = action(QStringLiteral("Toolbar1_%1").arg(index));
    if (!button) return false;
    QWidget* widget = m_window->Toolbar1()->widgetForAction(button);
    if (!widget || !widget->isVisible() || !widget->isEnabled()) return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

std::string TestRep2WavWindow::loop(const std::string& name, const std::vector<uint8_t>& audio,
                                    int track, int32_t post) {
    return makeLoop(m_dir->path().toStdString(), name, audio, track, post);
}

void TestRep2WavWindow::startState() {
    QCOMPARE(m_window->objectName(), QStringLiteral("Rep2Wav"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Repeater to .WAV"));
    QVERIFY(m_window->isEnabled());
    QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
    QVERIFY(shown("LeftHeader"));
    QCOMPARE(text("RightHeader"), QStringLiteral("Right Channel"));
    QVERIFY(!shown("RightHeader"));
    for (int i = 0; i < 7; ++i) {
        const QString number = QString::number(i + 1);
        QCOMPARE(text("l" + number), kCaptions[i]);
        QCOMPARE(text("r" + number), kCaptions[i]);
        QVERIFY(shown("l" + number));
        QVERIFY(!shown("r" + number));
        QVERIFY(shown("Left" + kFields[i]));
        QVERIFY(text("Left" + kFields[i]).isEmpty());
        QVERIFY(!shown("Right" + kFields[i]));
        QVERIFY(text("Right" + kFields[i]).isEmpty());
    }
    QCOMPARE(m_globals->repMode, std::string("mono"));
    QCOMPARE(m_globals->repChannel, std::string("left"));
}

void TestRep2WavWindow::startLook() {
    const QColor white = QApplication::palette().color(QPalette::Base);
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(0x00, 0x40, 0x40));
    QCOMPARE(m_window->size(), QSize(11400 / 15, 6855 / 15));
    const struct {
        const char* name;
        QColor background;
        qreal points;
    } looks[] = {{"LeftHeader", QColor(0x00, 0x00, 0xC0), 12},
                 {"RightHeader", QColor(0xC0, 0x00, 0x00), 12},
                 {"l1", QColor(0x00, 0x00, 0x80), 9.75},
                 {"LeftAudio", QColor(0x00, 0x00, 0x80), 9.75},
                 {"r7", QColor(0x80, 0x00, 0x00), 9.75},
                 {"RightTotal", QColor(0x80, 0x00, 0x00), 9.75}};
    for (const auto& look : looks) {
        const QLabel* shownLabel = label(QString::fromLatin1(look.name));
        QVERIFY(shownLabel->autoFillBackground());
        QCOMPARE(shownLabel->palette().color(QPalette::Window), look.background);
        QCOMPARE(shownLabel->palette().color(QPalette::WindowText), white);
        QVERIFY(shownLabel->font().bold());
        QCOMPARE(shownLabel->font().pointSizeF(), look.points);
        QCOMPARE(shownLabel->font().styleHint(), QFont::SansSerif);
    }
}

void TestRep2WavWindow::geometry_data() {
    // Design positions in twips; 15 twips are one pixel.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("LeftHeader") << "LeftHeader" << QRect(0, 360, 5775, 495);
    QTest::newRow("RightHeader") << "RightHeader" << QRect(5760, 360, 5655, 495);
    QTest::newRow("l1") << "l1" << QRect(0, 840, 855, 255);
    QTest::newRow("l6") << "l6" << QRect(0, 2040, 1695, 255);
    QTest::newRow("r4") << "r4" << QRect(5760, 1560, 1695, 255);
    QTest::newRow("LeftFile") << "LeftFile" << QRect(840, 840, 4935, 255);
    QTest::newRow("LeftTrack") << "LeftTrack" << QRect(960, 1320, 4815, 255);
    QTest::newRow("LeftPost") << "LeftPost" << QRect(1680, 2040, 4095, 255);
    QTest::newRow("RightTrack") << "RightTrack" << QRect(6720, 1320, 4695, 255);
    QTest::newRow("RightTotal") << "RightTotal" << QRect(7440, 2280, 3975, 255);
}

void TestRep2WavWindow::geometry() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QCOMPARE(label(name)->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void TestRep2WavWindow::toolbarButtons_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("1 open") << 1 << false << "Open Repeater Wave File" << true << true;
    QTest::newRow("2 save") << 2 << false << "Remove Gaps and Save" << true << true;
    QTest::newRow("3 separator") << 3 << true << "" << true << true;
    QTest::newRow("4 mono") << 4 << false << "Mono Mode" << true << true;
    QTest::newRow("5 stereo") << 5 << false << "Stereo Mode" << true << true;
    QTest::newRow("6 separator") << 6 << true << "" << false << true;
    QTest::newRow("7 cross-fade") << 7 << false << "Cross Fade this Wave" << false << false;
}

void TestRep2WavWindow::toolbarButtons() {
    QFETCH(int, index);
    QFETCH(bool, separator);
    QFETCH(QString, toolTip);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    QToolBar* toolbar = m_window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    QVERIFY(toolbar);
    QCOMPARE(toolbar->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(toolbar->width(), m_window->width());
    QAction* button = action(QStringLiteral("Toolbar1_%1").arg(index));
    QVERIFY(button);
    QCOMPARE(toolbar->actions().indexOf(button), index - 1);
    QCOMPARE(button->isSeparator(), separator);
    QCOMPARE(button->isVisible(), visible);
    QCOMPARE(toolbar->widgetForAction(button)->isVisible(), visible);
    if (separator) return;
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->isEnabled(), enabled);
    QVERIFY(!button->isCheckable());
    QCOMPARE(button->icon().availableSizes().value(0), QSize(16, 15));
}

void TestRep2WavWindow::crossFadeButtonIsBoundToNothing() {
    // Even made visible and usable, button 7 starts nothing and changes nothing.
    QVERIFY(clickButton(5));
    const std::string path = loop("LOOP1", patternBytes(512));
    m_platform->chooseNextFile(path);
    m_platform->chooseNextChannel(Channel::Left);
    QVERIFY(clickButton(1));
    QCOMPARE(text("LeftFile"), QString::fromStdString(path));
    m_platform->clearRecords();

    QAction* crossFade = action(QStringLiteral("Toolbar1_7"));
    crossFade->setVisible(true);
    crossFade->setEnabled(true);
    QTRY_VERIFY(m_window->Toolbar1()->widgetForAction(crossFade)->isVisible());
    QVERIFY(clickButton(7));
    QVERIFY(m_platform->messages().empty());
    QVERIFY(m_platform->dialogsShown().empty());
    QCOMPARE(m_globals->repMode, std::string("stereo"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
    QCOMPARE(text("LeftFile"), QString::fromStdString(path));
    QVERIFY(shown("RightFile"));
    // The window shows the model again: the button is hidden once more.
    QVERIFY(!crossFade->isVisible());
    QVERIFY(!crossFade->isEnabled());
}

void TestRep2WavWindow::menus_data() {
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("Open") << 0 << 0 << "Open" << "&Open Repeater Wave File..."
                          << QKeySequence(QStringLiteral("Ctrl+O"));
    QTest::newRow("Save") << 0 << 1 << "Save" << "&Save as Normal Wave File..."
                          << QKeySequence(QStringLiteral("Ctrl+S"));
    QTest::newRow("sep2") << 0 << 2 << "sep2" << "" << QKeySequence();
    QTest::newRow("Preferences") << 0 << 3 << "Preferences" << "&Preferences..."
                                 << QKeySequence(QStringLiteral("Ctrl+P"));
    QTest::newRow("sep1") << 0 << 4 << "sep1" << "" << QKeySequence();
    QTest::newRow("Exit") << 0 << 5 << "Exit" << "E&xit" << QKeySequence(QStringLiteral("Ctrl+X"));
    QTest::newRow("Contents") << 2 << 0 << "Contents" << "&Contents..."
                              << QKeySequence(QStringLiteral("Ctrl+C"));
    QTest::newRow("sepHelp") << 2 << 1 << "sepHelp" << "" << QKeySequence();
    QTest::newRow("About") << 2 << 2 << "About" << "&About..."
                           << QKeySequence(QStringLiteral("Ctrl+A"));
}

void TestRep2WavWindow::menus() {
    QFETCH(int, menu);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    const QList<QMenu*>& bar = m_window->menus();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->title(), QStringLiteral("&File"));
    QCOMPARE(bar[1]->title(), QStringLiteral("&Window"));
    QCOMPARE(bar[2]->title(), QStringLiteral("&Help"));
    const QList<QAction*> items = bar[menu]->actions();
    QCOMPARE(items.size(), menu == 0 ? 6 : 3);
    QAction* item = items[position];
    QCOMPARE(item->objectName(), name);
    QCOMPARE(item->isSeparator(), caption.isEmpty());
    if (caption.isEmpty()) return;
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    QVERIFY(item->isEnabled());
}

void TestRep2WavWindow::shortcutsWinOverFocusedTextBox_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("Ctrl+X exits") << int(Qt::Key_X) << QByteArray(SIGNAL(exitRequested()));
    QTest::newRow("Ctrl+C opens help") << int(Qt::Key_C) << QByteArray(SIGNAL(contentsRequested()));
    QTest::newRow("Ctrl+A shows About") << int(Qt::Key_A) << QByteArray(SIGNAL(aboutRequested()));
    QTest::newRow("Ctrl+P shows Preferences")
        << int(Qt::Key_P) << QByteArray(SIGNAL(preferencesRequested()));
}

void TestRep2WavWindow::shortcutsWinOverFocusedTextBox() {
    QFETCH(int, key);
    QFETCH(QByteArray, signal);
    // The main window shows the active converter window's menus in its own menu bar.
    m_window.reset();
    QMainWindow host;
    auto* window = new Rep2WavWindow(*m_globals, *m_platform);
    host.setCentralWidget(window);
    for (QMenu* menu : window->menus()) host.menuBar()->addMenu(menu);
    auto* edit = new QLineEdit(QStringLiteral("some text"), window);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    edit->setFocus();
    edit->selectAll();
    QSignalSpy spy(window, signal.constData());
    QTest::keyClick(edit, static_cast<Qt::Key>(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(edit->text(), QStringLiteral("some text"));
}

void TestRep2WavWindow::openShortcutOpensTrack() {
    QMainWindow host;
    Rep2WavWindow* window = m_window.release();
    host.setCentralWidget(window);
    for (QMenu* menu : window->menus()) host.menuBar()->addMenu(menu);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    const std::string path = loop("LOOP2", patternBytes(1024));
    m_platform->chooseNextFile(path);
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("LeftFile"))->text(),
             QString::fromStdString(path));
    // Ctrl+S reaches the save command: a cancelled save dialog leaves no name to write to.
    m_platform->chooseNextFile(std::nullopt);
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_platform->dialogsShown().size(), size_t(2));
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
    QCOMPARE(m_platform->messages()[0].icon, MessageIcon::Critical);
}

void TestRep2WavWindow::openShowsTrack_data() {
    QTest::addColumn<QString>("loopName");
    QTest::addColumn<int>("track");
    QTest::addColumn<int>("audio");
    QTest::addColumn<int>("post");
    // Loops as the loop writer leaves them: start 0, end sectors - 1, a 16384-byte pre-buffer.
    QTest::newRow("one sector") << "LOOP1" << 1 << 512 << 0;
    QTest::newRow("track 3 with a post-buffer") << "LOOP001" << 3 << 2048 << 1536;
    QTest::newRow("longer loop") << "LOOP999" << 4 << 51200 << 512;
}

void TestRep2WavWindow::openShowsTrack() {
    QFETCH(QString, loopName);
    QFETCH(int, track);
    QFETCH(int, audio);
    QFETCH(int, post);
    const std::string path = loop(loopName.toStdString(), patternBytes(size_t(audio)), track, post);
    m_platform->chooseNextFile(path);
    QVERIFY(trigger(QStringLiteral("Open")));
    QCOMPARE(m_platform->dialogsShown().size(), size_t(1));
    QCOMPARE(m_platform->dialogsShown()[0].initialDir, m_globals->initLoopDir);
    QVERIFY(m_platform->messages().empty());
    QCOMPARE(text("LeftFile"), QString::fromStdString(path));
    QCOMPARE(text("LeftLoop"), loopName);
    QCOMPARE(text("LeftTrack"), QStringLiteral("track%1").arg(track));
    QCOMPARE(text("LeftPre"), QStringLiteral("16384 bytes"));
    QCOMPARE(text("LeftAudio"), QStringLiteral("%1 bytes").arg(audio));
    QCOMPARE(text("LeftPost"), QStringLiteral("%1 bytes").arg(post));
    QCOMPARE(text("LeftTotal"), QStringLiteral("%1 bytes").arg(16384 + audio + post));
    QVERIFY(!shown("RightFile"));
    QVERIFY(text("RightFile").isEmpty());
    QCOMPARE(label("LeftFile")->geometry(), QRect(56, 56, 329, 17));
}

void TestRep2WavWindow::stereoLayoutAndBackToMono() {
    const std::string left = loop("LOOP1", patternBytes(1024, 3));
    const std::string right = loop("LOOP2", patternBytes(2048, 9), 2);
    QVERIFY(clickButton(5));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
    for (const QString& name : {QStringLiteral("RightHeader"), QStringLiteral("r1"),
                                QStringLiteral("r7"), QStringLiteral("RightFile"),
                                QStringLiteral("RightTotal")})
        QVERIFY2(shown(name), qPrintable(name));

    m_platform->chooseNextFile(left);
    m_platform->chooseNextChannel(Channel::Left);
    QVERIFY(clickButton(1));
    m_platform->chooseNextFile(right);
    m_platform->chooseNextChannel(Channel::Right);
    QVERIFY(trigger(QStringLiteral("Open")));
    QCOMPARE(text("LeftFile"), QString::fromStdString(left));
    QCOMPARE(text("LeftAudio"), QStringLiteral("1024 bytes"));
    QCOMPARE(text("RightFile"), QString::fromStdString(right));
    QCOMPARE(text("RightLoop"), QStringLiteral("LOOP2"));
    QCOMPARE(text("RightTrack"), QStringLiteral("track2"));
    QCOMPARE(text("RightAudio"), QStringLiteral("2048 bytes"));
    QCOMPARE(m_globals->repChannel, std::string("right"));

    // Back to mono: the right track is forgotten, the left one stays.
    QVERIFY(clickButton(4));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
    QCOMPARE(text("LeftFile"), QString::fromStdString(left));
    for (const QString& field : kFields) {
        QVERIFY(!shown("Right" + field));
        QVERIFY(text("Right" + field).isEmpty());
    }
    QVERIFY(!shown("RightHeader"));
    QVERIFY(!shown("r4"));
    QCOMPARE(m_globals->repChannel, std::string("left"));
}

void TestRep2WavWindow::invalidTrackEmptiesBothColumns() {
    const std::string good = loop("LOOP1", patternBytes(1024));
    const std::string badFolder = makeFolder(m_dir->path().toStdString(), "LOOP2");
    writeDescription(badFolder, 10, 5);  // end below start - 1: negative audio
    TrackSpec spec;
    spec.audio = patternBytes(1024);
    const std::string bad = writeTrack(badFolder, spec);
    QVERIFY(clickButton(5));
    m_platform->chooseNextFile(good);
    m_platform->chooseNextChannel(Channel::Left);
    QVERIFY(clickButton(1));
    QCOMPARE(text("LeftFile"), QString::fromStdString(good));
    m_platform->chooseNextFile(bad);
    m_platform->chooseNextChannel(Channel::Right);
    QVERIFY(clickButton(1));
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Invalid or Untrimmed Repeater File"});
    for (const QString& field : kFields) {
        QVERIFY(text("Left" + field).isEmpty());
        QVERIFY(text("Right" + field).isEmpty());
    }
}

void TestRep2WavWindow::refreshShowsOutsideChanges() {
    m_window->model().stereoMode();
    m_window->model().left.Loop.text = "LOOP42";
    QVERIFY(!shown("RightHeader"));
    m_window->refresh();
    QVERIFY(shown("RightHeader"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
    QCOMPARE(text("LeftLoop"), QStringLiteral("LOOP42"));
}

void TestRep2WavWindow::monoConversion() {
    // A full 1 MiB block and a shorter one, with buffers on both sides to leave out.
    const std::vector<uint8_t> audio = patternBytes(1048576 + 1024, 5);
    const std::string path = loop("LOOP1", audio, 1, 512);
    m_platform->chooseNextFile(path);
    QVERIFY(clickButton(1));
    m_platform->chooseNextFile(out());
    QVERIFY(trigger(QStringLiteral("Save")));

    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
    QCOMPARE(m_platform->dialogsShown().size(), size_t(2));
    QCOMPARE(m_platform->dialogsShown()[1].initialDir, m_globals->initWaveDir);
    QVERIFY(m_platform->dialogsShown()[1].fileName.empty());
    QCOMPARE(readFile(out()),
             concat(expectedHeader(1, 44100, 88200, 2, int32_t(audio.size())), audio));
    // No input while the audio was copied; usable again afterwards, tracks still loaded.
    QVERIFY(!m_platform->enabledWhileCopying.empty());
    for (bool enabled : m_platform->enabledWhileCopying) QVERIFY(!enabled);
    QVERIFY(m_window->isEnabled());
    QVERIFY(!m_platform->busy());
    QCOMPARE(m_platform->progressValue(), 0.0f);
    QCOMPARE(text("LeftFile"), QString::fromStdString(path));
}

void TestRep2WavWindow::stereoConversion() {
    // The right track ends first: the rest of the file carries silence on the right.
    const std::vector<uint8_t> left = patternBytes(409600, 3);
    const std::vector<uint8_t> right = patternBytes(204800, 7);
    const std::string leftPath = loop("LOOP1", left, 1, 1024);
    const std::string rightPath = loop("LOOP2", right, 2);
    writeFile(out(), std::vector<uint8_t>(2000000, 0x77));  // longer than the new file

    QVERIFY(clickButton(5));
    m_platform->chooseNextFile(leftPath);
    m_platform->chooseNextChannel(Channel::Left);
    QVERIFY(trigger(QStringLiteral("Open")));
    m_platform->chooseNextFile(rightPath);
    m_platform->chooseNextChannel(Channel::Right);
    QVERIFY(clickButton(1));
    m_platform->chooseNextFile(out());
    m_platform->answerNextQuestion(MessageAnswer::Yes);
    QVERIFY(clickButton(2));

    QCOMPARE(m_platform->messageTexts(),
             (std::vector<std::string>{"File already exists. Overwrite?", "File writing successful"}));
    QCOMPARE(readFile(out()),
             concat(expectedHeader(2, 44100, 176400, 4, 2 * 409600), interleaved(left, right)));
    QVERIFY(!m_platform->enabledWhileCopying.empty());
    for (bool enabled : m_platform->enabledWhileCopying) QVERIFY(!enabled);
    QVERIFY(m_window->isEnabled());
    QCOMPARE(text("RightFile"), QString::fromStdString(rightPath));
}

void TestRep2WavWindow::saveWithNothingLoaded() {
    QVERIFY(clickButton(2));
    QVERIFY(trigger(QStringLiteral("Save")));
    QCOMPARE(m_platform->messageTexts(),
             (std::vector<std::string>{"No Repeater files loaded", "No Repeater files loaded"}));
    QVERIFY(m_window->isEnabled());

    m_platform->clearRecords();
    const std::string path = loop("LOOP1", patternBytes(512));
    QVERIFY(clickButton(5));
    m_platform->chooseNextFile(path);
    m_platform->chooseNextChannel(Channel::Left);
    QVERIFY(clickButton(1));
    QVERIFY(clickButton(2));
    QCOMPARE(m_platform->messageTexts(),
             std::vector<std::string>{"No Repeater file loaded in Right channel"});
    QCOMPARE(m_platform->dialogsShown().size(), size_t(1));  // the open dialog only
    QVERIFY(m_window->isEnabled());
    QVERIFY(!QFile::exists(QString::fromStdString(out())));
}

QTEST_MAIN(TestRep2WavWindow)
#include "tst_rep2wavwindow.moc"
