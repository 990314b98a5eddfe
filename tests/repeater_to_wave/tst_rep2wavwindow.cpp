// The "Repeater to .WAV" window in real widgets: its start-up look, toolbar and menus, the
// shortcuts over a focused text box, the layouts after opening real loop folders, and whole
// conversions run through its menu items and toolbar buttons alone. The bytes a save writes
// are the saver's tests; here it is the wiring.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "LoopFixture.h"
#include "Rep2WavWindow.h"
#include "TestFiles.h"
#include "MenuListing.h"
#include "TestPlatform.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {

const QStringList kFields{"File", "Loop", "Track", "Pre", "Audio", "Post", "Total"};

}  // namespace

class TestRep2WavWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_platform = std::make_unique<TestPlatform>();
        m_globals = std::make_unique<AppGlobals>();
        m_globals->initLoopDir = m_globals->initWaveDir = m_dir->path().toStdString();
        m_window = std::make_unique<Rep2WavWindow>(*m_globals, *m_platform);
        m_platform->windowUsable = [this] { return m_window && m_window->isEnabled(); };
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_globals.reset();
        m_platform.reset();
        m_dir.reset();
    }

    void startState() {
        QCOMPARE((QStringList{m_window->objectName(), m_window->windowTitle()}),
                 (QStringList{"Rep2Wav", "Repeater to .WAV"}));
        QVERIFY(m_window->isEnabled());
        QCOMPARE((QStringList{text("LeftHeader"), text("RightHeader")}), (QStringList{"Mono", "Right Channel"}));
        QVERIFY(shown("LeftHeader") && !shown("RightHeader"));
        const QStringList captions{"File:", "Loop:", "Track:", "Pre-Buffer:", "Audio Data:", "Post-Buffer:", "Total Size:"};
        QCOMPARE(column("l"), captions);
        QCOMPARE(column("r"), captions);
        QCOMPARE(column("Left"), QStringList(7, QString()));
        QCOMPARE(column("Right"), QStringList(7, QString()));
        QCOMPARE(columnShown("Left"), QList<bool>(14, true));
        QCOMPARE(columnShown("Right"), QList<bool>(14, false));
        QCOMPARE(m_globals->repMode, std::string("mono"));
        QCOMPARE(m_globals->repChannel, std::string("left"));
    }

    // Colours and fonts of representative labels, and design positions (twips, 15 to the pixel).
    void design() {
        const QColor white = QApplication::palette().color(QPalette::Base);
        QCOMPARE(m_window->palette().color(QPalette::Window), QColor(0x00, 0x40, 0x40));
        QCOMPARE(m_window->size(), QSize(11400 / 15, 6855 / 15));
        const struct {
            const char* name;
            QColor background;
            qreal points;
        } looks[] = {{"LeftHeader", QColor(0x00, 0x00, 0xC0), 12}, {"RightHeader", QColor(0xC0, 0x00, 0x00), 12},
                     {"l1", QColor(0x00, 0x00, 0x80), 9.75},        {"LeftAudio", QColor(0x00, 0x00, 0x80), 9.75},
                     {"r7", QColor(0x80, 0x00, 0x00), 9.75},        {"RightTotal", QColor(0x80, 0x00, 0x00), 9.75}};
        for (const auto& look : looks) {
            const QLabel* shownLabel = label(QString::fromLatin1(look.name));
            QVERIFY(shownLabel->autoFillBackground());
            QCOMPARE(shownLabel->palette().color(QPalette::Window), look.background);
            QCOMPARE(shownLabel->palette().color(QPalette::WindowText), white);
            QVERIFY(shownLabel->font().bold());
            QCOMPARE(shownLabel->font().pointSizeF(), look.points);
            QCOMPARE(shownLabel->font().styleHint(), QFont::SansSerif);
        }
        const std::pair<const char*, QRect> places[] = {
            {"LeftHeader", {0, 360, 5775, 495}},  {"RightHeader", {5760, 360, 5655, 495}},
            {"l1", {0, 840, 855, 255}},           {"l6", {0, 2040, 1695, 255}},
            {"r4", {5760, 1560, 1695, 255}},      {"LeftFile", {840, 840, 4935, 255}},
            {"LeftTrack", {960, 1320, 4815, 255}}, {"LeftPost", {1680, 2040, 4095, 255}},
            {"RightTrack", {6720, 1320, 4695, 255}}, {"RightTotal", {7440, 2280, 3975, 255}}};
        for (const auto& [name, twips] : places)
            QCOMPARE(label(QString::fromLatin1(name))->geometry(),
                     QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    }

    void toolbarButtons() {
        QToolBar* toolbar = m_window->Toolbar1();
        QCOMPARE(toolbar->objectName(), QStringLiteral("Toolbar1"));
        QCOMPARE(toolbar->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(toolbar->width(), m_window->width());
        const struct {
            bool separator;
            const char* toolTip;
            bool visible, enabled;
        } buttons[] = {{false, "Open Repeater Wave File", true, true}, {false, "Remove Gaps and Save", true, true},
                       {true, "", true, true},                         {false, "Mono Mode", true, true},
                       {false, "Stereo Mode", true, true},             {true, "", false, true},
                       {false, "Cross Fade this Wave", false, false}};
        QCOMPARE(toolbar->actions().size(), 7);
        for (int index = 1; index <= 7; ++index) {
            const auto& expected = buttons[index - 1];
            QAction* button = toolbar->actions()[index - 1];
            QCOMPARE(button->objectName(), QStringLiteral("Toolbar1_%1").arg(index));
            QCOMPARE(button->isSeparator(), expected.separator);
            QCOMPARE(button->isVisible(), expected.visible);
            QCOMPARE(toolbar->widgetForAction(button)->isVisible(), expected.visible);
            if (expected.separator) continue;
            QCOMPARE(button->toolTip(), QString::fromLatin1(expected.toolTip));
            QCOMPARE(button->isEnabled(), expected.enabled);
            QVERIFY(!button->isCheckable());
            QCOMPARE(button->icon().availableSizes().value(0), QSize(16, 15));
        }
    }

    // Even made visible and usable, button 7 starts nothing; the window then shows the model
    // again, with the button hidden once more.
    void crossFadeButtonIsBoundToNothing() {
        QVERIFY(clickButton(5));
        QAction* crossFade = action(QStringLiteral("Toolbar1_7"));
        crossFade->setVisible(true);
        crossFade->setEnabled(true);
        QTRY_VERIFY(m_window->Toolbar1()->widgetForAction(crossFade)->isVisible());
        QVERIFY(clickButton(7));
        QVERIFY(m_platform->messages().empty());
        QVERIFY(m_platform->dialogsShown().empty());
        QCOMPARE(m_globals->repMode, std::string("stereo"));
        QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
        QVERIFY(!crossFade->isVisible());
        QVERIFY(!crossFade->isEnabled());
    }

    // Names, captions and shortcuts in order; "-" stands for a separator, whose name is still given.
    void menus() {
        QStringList titles;
        for (QMenu* menu : m_window->menus()) titles << menu->title();
        QCOMPARE(titles, (QStringList{"&File", "&Window", "&Help"}));
        const auto [fileNames, fileCaptions] = test::menuItems(m_window->fileMenu());
        QCOMPARE(fileNames, (QStringList{"Open", "Save", "sep2", "Preferences", "sep1", "Exit"}));
        QCOMPARE(fileCaptions, (QStringList{"&Open Repeater Wave File... Ctrl+O", "&Save as Normal Wave File... Ctrl+S", "-",
                                            "&Preferences... Ctrl+P", "-", "E&xit Ctrl+X"}));
        const auto [helpNames, helpCaptions] = test::menuItems(m_window->helpMenu());
        QCOMPARE(helpNames, (QStringList{"Contents", "sepHelp", "About"}));
        QCOMPARE(helpCaptions, (QStringList{"&Contents... Ctrl+C", "-", "&About... Ctrl+A"}));
    }

    // The window's own shortcuts and the shared ones, over a text box that has the focus.
    void shortcutsWinOverFocusedTextBox() {
        // The main window shows the active converter window's menus in its own menu bar.
        QMainWindow host;
        Rep2WavWindow* window = m_window.release();
        host.setCentralWidget(window);
        for (QMenu* menu : window->menus()) host.menuBar()->addMenu(menu);
        auto* edit = new QLineEdit(QStringLiteral("some text"), window);
        host.show();
        host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        edit->setFocus();
        edit->selectAll();
        QSignalSpy exit(window, &ConverterWindow::exitRequested);
        QSignalSpy contents(window, &ConverterWindow::contentsRequested);
        QSignalSpy about(window, &ConverterWindow::aboutRequested);
        QSignalSpy preferences(window, &ConverterWindow::preferencesRequested);
        for (Qt::Key key : {Qt::Key_X, Qt::Key_C, Qt::Key_A, Qt::Key_P}) QTest::keyClick(edit, key, Qt::ControlModifier);
        QCOMPARE((QList<qsizetype>{exit.count(), contents.count(), about.count(), preferences.count()}),
                 (QList<qsizetype>{1, 1, 1, 1}));
        QCOMPARE(edit->text(), QStringLiteral("some text"));
        const std::string path = loop("LOOP2", patternBytes(1024));
        chooseTrack(path);
        QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("LeftFile"))->text(), QString::fromStdString(path));
        // Ctrl+S reaches the save command: a cancelled save dialog leaves no name to write to.
        m_platform->chooseNextFile(std::nullopt);
        QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_platform->dialogsShown().size(), size_t(2));
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"error in fileSaving()"});
        QCOMPARE(m_platform->messages()[0].icon, MessageIcon::Critical);
    }

    // A loop as the loop writer leaves it (start 0, end sectors - 1, a 16384-byte pre-buffer), one
    // of its tracks opened from the menu.
    void openShowsTrack() {
        const std::string path = loop("LOOP001", patternBytes(2048), 3, 1536);
        chooseTrack(path);
        QVERIFY(trigger(QStringLiteral("Open")));
        QCOMPARE(m_platform->dialogsShown().size(), size_t(1));
        QCOMPARE(m_platform->dialogsShown()[0].initialDir, m_globals->initLoopDir);
        QVERIFY(m_platform->messages().empty());
        QCOMPARE(column("Left"), (QStringList{QString::fromStdString(path), "LOOP001", "track3", "16384 bytes",
                                              "2048 bytes", "1536 bytes", "19968 bytes"}));
        QCOMPARE(column("Right"), QStringList(7, QString()));
        QCOMPARE(columnShown("Right"), QList<bool>(14, false));
        QCOMPARE(label("LeftFile")->geometry(), QRect(56, 56, 329, 17));
    }

    // Stereo, a track into each channel, then back to mono: the right track is forgotten, the left
    // one stays.
    void stereoLayoutAndBackToMono() {
        const std::string left = loop("LOOP1", patternBytes(1024, 3));
        const std::string right = loop("LOOP2", patternBytes(2048, 9), 2);
        QVERIFY(clickButton(5));
        QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
        QVERIFY(shown("RightHeader"));
        QCOMPARE(columnShown("Right"), QList<bool>(14, true));

        chooseTrack(left, Channel::Left);
        QVERIFY(clickButton(1));
        const QStringList leftColumn = column("Left");
        QCOMPARE(leftColumn.mid(0, 5), (QStringList{QString::fromStdString(left), "LOOP1", "track1", "16384 bytes",
                                                    "1024 bytes"}));
        // A right track leaves the left channel as it is.
        chooseTrack(right, Channel::Right);
        QVERIFY(trigger(QStringLiteral("Open")));
        QCOMPARE(column("Left"), leftColumn);
        QCOMPARE(column("Right").mid(0, 5), (QStringList{QString::fromStdString(right), "LOOP2", "track2",
                                                         "16384 bytes", "2048 bytes"}));
        QCOMPARE(m_globals->repChannel, std::string("right"));

        QVERIFY(clickButton(4));
        QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
        QCOMPARE(column("Left"), leftColumn);
        QCOMPARE(column("Right"), QStringList(7, QString()));
        QCOMPARE(columnShown("Right"), QList<bool>(14, false));
        QVERIFY(!shown("RightHeader"));
        QCOMPARE(m_globals->repChannel, std::string("left"));
        QCOMPARE(m_globals->repMode, std::string("mono"));
    }

    void refreshShowsOutsideChanges() {
        m_window->model().stereoMode();
        m_window->model().left.Loop.text = "LOOP42";
        QVERIFY(!shown("RightHeader"));
        m_window->refresh();
        QVERIFY(shown("RightHeader"));
        QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
        QCOMPARE(text("LeftLoop"), QStringLiteral("LOOP42"));
    }

    // The Save menu item, with a full 1 MiB block and a shorter one to copy.
    void monoConversion() {
        const std::string path = loop("LOOP1", patternBytes(1048576 + 1024, 5), 1, 512);
        chooseTrack(path);
        QVERIFY(clickButton(1));
        m_platform->chooseNextFile(out());
        QVERIFY(trigger(QStringLiteral("Save")));
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
        QCOMPARE(m_platform->dialogsShown().size(), size_t(2));
        QCOMPARE(m_platform->dialogsShown()[1].initialDir, m_globals->initWaveDir);
        QVERIFY(m_platform->dialogsShown()[1].fileName.empty());
        expectDisabledWhileCopying();
        QVERIFY(!m_platform->busy());
        QCOMPARE(m_platform->progressValue(), 0.0f);
        QCOMPARE(text("LeftFile"), QString::fromStdString(path));  // still loaded
    }

    // Toolbar button 2 in stereo mode, over an existing file.
    void stereoConversion() {
        const std::string leftPath = loop("LOOP1", patternBytes(409600, 3), 1, 1024);
        const std::string rightPath = loop("LOOP2", patternBytes(204800, 7), 2);
        writeFile(out(), std::vector<uint8_t>(2000000, 0x77));
        QVERIFY(clickButton(5));
        chooseTrack(leftPath, Channel::Left);
        QVERIFY(trigger(QStringLiteral("Open")));
        chooseTrack(rightPath, Channel::Right);
        QVERIFY(clickButton(1));
        m_platform->chooseNextFile(out());
        m_platform->answerNextQuestion(MessageAnswer::Yes);
        QVERIFY(clickButton(2));
        QCOMPARE(m_platform->messageTexts(),
                 (std::vector<std::string>{"File already exists. Overwrite?", "File writing successful"}));
        expectDisabledWhileCopying();
        QCOMPARE(text("RightFile"), QString::fromStdString(rightPath));
    }

private:
    QLabel* label(const QString& name) const {
        auto* found = m_window->findChild<QLabel*>(name);
        if (!found) qFatal("no label %s", qPrintable(name));
        return found;
    }

    QString text(const QString& name) const { return label(name)->text(); }
    bool shown(const QString& name) const { return label(name)->isVisible(); }
    // The texts of the seven fields of one column ("Left" or "Right"), or of its captions ("l"
    // or "r").
    QStringList column(const QString& side) const {
        QStringList texts;
        for (int i = 0; i < 7; ++i) texts << text(side.size() == 1 ? side + QString::number(i + 1) : side + kFields[i]);
        return texts;
    }

    // Whether the seven fields and the seven captions of one column show.
    QList<bool> columnShown(const QString& side) const {
        QList<bool> states;
        for (const QString& field : kFields) states << shown(side + field);
        for (int i = 1; i <= 7; ++i) states << shown(side.left(1).toLower() + QString::number(i));
        return states;
    }

    QAction* action(const QString& name) const {
        return m_window->findChild<QAction*>(name);
    }

    // Fires a menu item the user could choose: it must exist and be enabled.
    [[nodiscard]] bool trigger(const QString& name) {
        QAction* item = action(name);
        if (!item || !item->isEnabled()) return false;
        item->trigger();
        return true;
    }

    // A real mouse click on the toolbar's button, as the user makes it: only a shown, enabled
    // button can be clicked.
    [[nodiscard]] bool clickButton(int index) {
        QAction* button = action(QStringLiteral("Toolbar1_%1").arg(index));
        if (!button) return false;
        QWidget* widget = m_window->Toolbar1()->widgetForAction(button);
        if (!widget || !widget->isVisible() || !widget->isEnabled()) return false;
        QTest::mouseClick(widget, Qt::LeftButton);
        return true;
    }

    // Scripts the open dialog (and in stereo mode the channel dialog) for the next open.
    void chooseTrack(const std::string& path, std::optional<Channel> channel = std::nullopt) {
        m_platform->chooseNextFile(path);
        if (channel) m_platform->chooseNextChannel(channel);
    }

    std::string loop(const std::string& name, const std::vector<uint8_t>& audio, int track = 1,
                     int32_t post = 0) {
        return makeLoop(m_dir->path().toStdString(), name, audio, track, post);
    }

    std::string out() const { return m_dir->filePath(QStringLiteral("out.wav")).toStdString(); }

    // No input while the audio was copied; usable again afterwards.
    void expectDisabledWhileCopying() {
        const std::vector<bool>& busy = m_platform->usableWhenBusy;
        const std::vector<bool>& copying = m_platform->usableAtProgress;
        QVERIFY(!busy.empty() && !copying.empty());
        for (bool usable : busy) QVERIFY(!usable);
        for (bool usable : copying) QVERIFY(!usable);
        QVERIFY(m_window->isEnabled());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<Rep2WavWindow> m_window;
};

QTEST_MAIN(TestRep2WavWindow)
#include "tst_rep2wavwindow.moc"
