// The ".WAV to Repeater" window in real widgets: its start-up look, toolbar and menus, the
// layouts after opening real files, the loop parameters worked through the widgets, and whole
// conversions driven by the menu actions and toolbar buttons alone. What the model makes of each
// command (every display text, the bytes of a loop) is the model's tests; here it is the wiring.
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

#include <array>
#include <filesystem>
#include <memory>

#include "LoopDescription.h"
#include "Wav2RepBench.h"
#include "MenuListing.h"
#include "Wav2RepWindow.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

QRect partOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void clickPart(QScrollBar* bar, QStyle::SubControl part) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, partOf(bar, part).center());
}

// A tempo of 4 seconds of stereo, the worked example: 32 beats, Tempo 127.5 at the middle.
constexpr size_t kFourSecondsStereo = 1411200;

const char* const kRightBlock[] = {"RightHeader", "rightFrame", "RightPan", "RightPitch", "RightPan2",
                                   "RightPitch2", "rightBlock1", "r1", "r2", "r3", "r4"};

}  // namespace

class TestWav2RepWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<QMainWindow> m_host;
    Wav2RepWindow* m_window = nullptr;

    std::string root() const { return m_dir->path().toStdString(); }
    const Wav2Rep& model() const { return m_window->model(); }

    // The window as the main window shows it: its menus in the menu bar, so their shortcuts work.
    void makeWindow() {
        m_host = std::make_unique<QMainWindow>();
        m_window = new Wav2RepWindow(*m_globals, *m_platform);
        m_platform->windowUsable = [this] { return m_window && m_window->isEnabled(); };
        m_host->setCentralWidget(m_window);
        for (QMenu* menu : m_window->menus()) m_host->menuBar()->addMenu(menu);
        m_host->resize(m_window->sizeHint() + QSize(0, m_host->menuBar()->sizeHint().height()));
        m_host->show();
        QApplication::setActiveWindow(m_host.get());
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    }

    // Writes a canonical wave of pattern data and has the next Open dialog choose it.
    void chooseWave(const std::string& name, int16_t channels, size_t dataBytes) {
        writeFile(root() + "/" + name, canonicalWave(channels, patternBytes(dataBytes)));
        m_platform->chooseNextFile(root() + "/" + name);
    }

    // A window with the stereo worked example opened through the Open menu item.
    void openWorkedExample() {
        makeWindow();
        chooseWave("stereo.wav", 2, kFourSecondsStereo);
        QVERIFY(trigger("openWave"));
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        auto* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no %s", name);
        return found;
    }

    bool trigger(const char* name) {
        QAction* action = find<QAction>(name);
        if (!action->isEnabled()) return false;
        action->trigger();
        return true;
    }

    bool clickToolButton(int index) {
        QAction* button = find<QToolBar>("Toolbar1")->actions().at(index - 1);
        QWidget* widget = find<QToolBar>("Toolbar1")->widgetForAction(button);
        if (!button->isEnabled() || !widget || !widget->isVisible()) return false;
        QTest::mouseClick(widget, Qt::LeftButton);
        return true;
    }

    bool isShown(const char* name) const { return find(name)->isVisible(); }

    QStringList texts(std::initializer_list<const char*> names) const {
        QStringList shown;
        for (const char* name : names) {
            if (auto* box = m_window->findChild<QLineEdit*>(QString::fromLatin1(name)))
                shown << box->text();
            else
                shown << find<QLabel>(name)->text();
        }
        return shown;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<TestPlatform>();
        m_globals = std::make_unique<AppGlobals>();
        m_globals->initLoopDir = m_globals->initWaveDir = root();
    }

    void cleanup() {
        m_host.reset();
        m_window = nullptr;
    }

    void startUp() {
        fs::create_directory(root() + "/LOOP1");
        fs::create_directory(root() + "/LOOP2");
        m_globals->beatsPerBar = 5;
        makeWindow();
        QCOMPARE(m_window->objectName(), QStringLiteral("wav2Rep"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral(".WAV to Repeater"));
        // The window's load: beats per bar back to 1, the lowest free loop in the initial folder.
        QCOMPARE(m_globals->beatsPerBar, int16_t(1));
        QCOMPARE(texts({"loopName", "loopNumber", "Text2", "LoopFile", "Text1_1", "Text1_2", "Text1_3", "Text1_4",
                        "LeftHeader", "RightHeader", "LeftPitch2", "LeftPan2", "RightPitch2", "RightPan2"}),
                 (QStringList{m_dir->path(), "3", "/LOOP", "", "", "", "1", "4", "Mono", "Right Channel", "0",
                              "Center", "0", "Center"}));
        QCOMPARE(texts({"Label1", "Label2_0", "Label2_1", "Label2_2", "Label2_3", "Label2_4", "Label2_5"}),
                 (QStringList{"Loop Info", "File:", "Loop:", "Tempo:", "Bars:", "Beats:", "Division:"}));
        for (const char* shown : {"Label1", "LoopFile", "browseLoop", "loopName", "loopNumber", "Text1_1",
                                  "tempoCntrl", "ScrollBeats", "Label4", "LeftHeader", "l1", "l2", "l3", "l4",
                                  "leftFrame", "Shape2", "LeftPitch", "LeftPitch2", "LeftPan", "LeftPan2"})
            QVERIFY2(isShown(shown), shown);
        for (const char* hidden : kRightBlock) QVERIFY2(!isShown(hidden), hidden);
        QVERIFY(!find("tempoCntrl")->isEnabled() && !find("leftFrame")->isEnabled());
        QVERIFY(find<QRadioButton>("Option1")->isChecked() && find<QRadioButton>("Option6")->isChecked());
        QVERIFY(find("Option5")->testAttribute(Qt::WA_ForceDisabled));
        for (const char* readOnly : {"loopName", "Text2", "Text1_1", "Text1_2", "Text1_3", "Text1_4",
                                     "LeftPitch2", "LeftPan2", "RightPitch2", "RightPan2"})
            QVERIFY2(find<QLineEdit>(readOnly)->isReadOnly(), readOnly);
        QVERIFY(!find<QLineEdit>("loopNumber")->isReadOnly());
        QVERIFY(m_window->isEnabled());
    }

    // Positions of representative controls of each kind and block (design twips, 15 to the
    // pixel), colours and fonts.
    void design() {
        makeWindow();
        const std::pair<const char*, QRect> places[] = {
            {"Label1", {0, 600, 5775, 495}},          {"loopNumber", {5400, 1320, 375, 285}},
            {"Text1_4", {1200, 2280, 4215, 285}},     {"tempoCntrl", {5400, 1560, 375, 615}},
            {"ScrollBeats", {5400, 2160, 375, 375}},  {"RightHeader", {5760, 2760, 5655, 495}},
            {"l3", {0, 3840, 1215, 375}},             {"r3", {5760, 3840, 1215, 255}},
            {"RightPitch2", {10560, 3840, 855, 285}}, {"RightPan", {6960, 4200, 3615, 255}},
            // Options stand inside their frames, at Top 120; the design gives their positions only.
            {"Option1", {240, 120, 0, 0}},            {"Option8", {3600, 120, 0, 0}}};
        for (const auto& [name, twips] : places) {
            const QRect design(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                               qRound(twips.height() / 15.0));
            QCOMPARE(find(name)->pos(), design.topLeft());
            if (twips.width() > 0) QCOMPARE(find(name)->size(), design.size());
        }
        auto background = [this](const char* name) { return find(name)->palette().color(QPalette::Window); };
        QCOMPARE(m_window->palette().color(QPalette::Window), QColor(128, 0, 0));
        QCOMPARE(background("Label1"), QColor(192, 192, 192));
        QCOMPARE(background("Label2_2"), QColor(128, 128, 128));
        QCOMPARE(background("Label4"), QColor(128, 128, 128));
        QCOMPARE(background("LeftHeader"), QColor(0, 192, 192));
        QCOMPARE(background("RightHeader"), QColor(192, 192, 0));
        for (const char* teal : {"l1", "l2", "l3", "l4", "leftFrame", "Shape2"})
            QCOMPARE(background(teal), QColor(0, 128, 128));
        for (const char* olive : {"r1", "r2", "r3", "r4", "rightFrame", "rightBlock1"})
            QCOMPARE(background(olive), QColor(128, 128, 0));
        for (const char* heading : {"Label1", "LeftHeader"})
            QVERIFY(find(heading)->font().bold() && find(heading)->font().pointSizeF() == 12.0);
        QVERIFY(find("Label2_3")->font().bold() && find("Label2_3")->font().pointSizeF() == 9.75);
        QCOMPARE(find("Label2_3")->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::Base));
        QVERIFY(find("LoopFile")->font().fixedPitch() && find("LoopFile")->font().pointSizeF() == 9.75);
        QCOMPARE(find("LoopFile")->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(find("Text1_1")->palette().color(QPalette::Text), QColor(64, 64, 64));
        QCOMPARE(find("loopNumber")->palette().color(QPalette::Base), QColor(255, 255, 128));
    }

    void toolbar() {
        makeWindow();
        auto* toolbar = find<QToolBar>("Toolbar1");
        QCOMPARE(toolbar->parentWidget(), m_window);
        QCOMPARE(toolbar->y(), 0);
        QCOMPARE(toolbar->width(), m_window->width());
        QCOMPARE(toolbar->iconSize(), QSize(16, 15));
        QCOMPARE(toolbar->actions().size(), 4);
        const struct {
            const char* toolTip;
            bool visible, enabled, separator;
        } expected[] = {{"Open Normal Wave File", true, true, false},
                        {"Save as Repeater Loop", true, false, false},
                        {"", false, true, true},
                        {"Cross Fade this Loop", false, false, false}};
        for (int index = 1; index <= 4; ++index) {
            const auto& b = expected[index - 1];
            QAction* button = toolbar->actions().at(index - 1);
            QCOMPARE(button->objectName(), QStringLiteral("Toolbar1_Button%1").arg(index));
            QCOMPARE(button->isVisible(), b.visible);
            QCOMPARE(button->isSeparator(), b.separator);
            if (!b.separator) {
                QCOMPARE(button->toolTip(), QString::fromLatin1(b.toolTip));
                QCOMPARE(button->isEnabled(), b.enabled);
                QVERIFY(!button->icon().isNull());
            }
            QWidget* widget = toolbar->widgetForAction(button);
            QCOMPARE(widget && widget->isVisible(), b.visible);
        }
        // The Save menu item is usable before any wave; its toolbar button is not.
        QVERIFY(find<QAction>("saveLoop")->isEnabled());
        // The cross-fade button, even shown and usable, is bound to nothing.
        QAction* crossFade = toolbar->actions().at(3);
        crossFade->setVisible(true);
        crossFade->setEnabled(true);
        QTRY_VERIFY(toolbar->widgetForAction(crossFade) && toolbar->widgetForAction(crossFade)->isVisible());
        QVERIFY(clickToolButton(4));
        QVERIFY(m_platform->dialogsShown().empty());
        QVERIFY(m_platform->messages().empty());
    }

    // Names, captions and shortcuts in order; "-" stands for a separator, whose name is given too.
    void menus() {
        makeWindow();
        QStringList titles;
        for (QMenu* menu : m_window->menus()) titles << menu->title();
        QCOMPARE(titles, (QStringList{"&File", "&Window", "&Help"}));
        const auto [fileNames, fileCaptions] = test::menuItems(m_window->fileMenu());
        QCOMPARE(fileNames, (QStringList{"openWave", "saveLoop", "sep1", "Preferences", "sep2", "Exit"}));
        QCOMPARE(fileCaptions, (QStringList{"&Open Normal Wave File... Ctrl+O", "&Save as Repeater Loop... Ctrl+S",
                                            "-", "&Preferences... Ctrl+P", "-", "E&xit Ctrl+X"}));
        const auto [helpNames, helpCaptions] = test::menuItems(m_window->helpMenu());
        QCOMPARE(helpNames, (QStringList{"Contents", "sepHelp", "About"}));
        QCOMPARE(helpCaptions, (QStringList{"&Contents... Ctrl+C", "-", "&About Brenvik Ctrl+A"}));
    }

    void shortcutsWinOverFocusedTextBox() {
        makeWindow();
        auto* loopNumber = find<QLineEdit>("loopNumber");
        loopNumber->setFocus();
        QTRY_VERIFY(loopNumber->hasFocus());
        loopNumber->selectAll();
        QSignalSpy contents(m_window, &ConverterWindow::contentsRequested);
        QSignalSpy about(m_window, &ConverterWindow::aboutRequested);
        QSignalSpy exit(m_window, &ConverterWindow::exitRequested);
        for (Qt::Key key : {Qt::Key_C, Qt::Key_A, Qt::Key_X}) QTest::keyClick(loopNumber, key, Qt::ControlModifier);
        QCOMPARE((QList<qsizetype>{contents.count(), about.count(), exit.count()}), (QList<qsizetype>{1, 1, 1}));
        // Ctrl+X ended the program's commands, not the box's text.
        QCOMPARE(loopNumber->text(), QStringLiteral("1"));
        chooseWave("keys.wav", 1, 88200);
        QTest::keyClick(loopNumber, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_platform->dialogsShown().size(), size_t(1));
        QCOMPARE(texts({"LoopFile"}), QStringList{QString::fromStdString(root() + "/keys.wav")});
    }

    void stereoThenMonoLayouts() {
        openWorkedExample();
        QVERIFY(m_platform->messages().empty());
        QCOMPARE(texts({"LoopFile", "Text1_1", "Text1_2", "LeftHeader"}),
                 (QStringList{QString::fromStdString(root() + "/stereo.wav"), "127.5", "17", "Left Channel"}));
        auto* tempo = find<QScrollBar>("tempoCntrl");
        QVERIFY(tempo->isEnabled());
        QCOMPARE((QList<int>{tempo->minimum(), tempo->maximum(), tempo->value(), tempo->pageStep()}),
                 (QList<int>{0, 32, 16, 10}));
        for (const char* shown : kRightBlock) QVERIFY2(isShown(shown), shown);
        QVERIFY(find<QRadioButton>("Option6")->isChecked());
        QVERIFY(!find("Option2")->isEnabled() && !find("Option5")->isEnabled());
        QVERIFY(find<QAction>("Toolbar1_Button2")->isEnabled() && find("leftFrame")->isEnabled());

        // A mono wave after it, through toolbar button 1: the right block goes again and the left
        // may take any track.
        chooseWave("mono.wav", 1, 705600);
        QVERIFY(clickToolButton(1));
        QCOMPARE(texts({"LeftHeader", "Text1_2"}), (QStringList{"Mono", "17"}));
        for (const char* hidden : kRightBlock) QVERIFY2(!isShown(hidden), hidden);
        for (const char* option : {"Option1", "Option2", "Option3", "Option4"}) QVERIFY(find(option)->isEnabled());
    }

    void tempoBarUpArrowRaisesValue() {
        openWorkedExample();
        auto* tempo = find<QScrollBar>("tempoCntrl");
        const QRect up = partOf(tempo, QStyle::SC_ScrollBarSubLine);
        QVERIFY(up.center().y() < partOf(tempo, QStyle::SC_ScrollBarAddLine).center().y());  // the upper one
        clickPart(tempo, QStyle::SC_ScrollBarSubLine);
        QCOMPARE(model().tempoCntrl.value, int16_t(17));
        QCOMPARE(texts({"Text1_1", "Text1_2"}), (QStringList{"135.0", "18"}));  // 18 beats in 4 seconds
        clickPart(tempo, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(model().tempoCntrl.value, int16_t(16));
        QCOMPARE(texts({"Text1_2"}), QStringList{"17"});
        tempo->setFocus();
        QTest::keyClick(tempo, Qt::Key_Up);
        QCOMPARE(model().tempoCntrl.value, int16_t(17));
        QTest::keyClick(tempo, Qt::Key_Down);
        QCOMPARE(model().tempoCntrl.value, int16_t(16));
        // Rolling the wheel up moves the thumb up too.
        QWheelEvent wheel(QPointF(tempo->rect().center()), tempo->mapToGlobal(QPointF(tempo->rect().center())),
                          QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(tempo, &wheel);
        QVERIFY(model().tempoCntrl.value > 16);
        // The top end is maxBeats: there the table has no tempo.
        QTest::keyClick(tempo, Qt::Key_Home);
        QCOMPARE(model().tempoCntrl.value, int16_t(32));
        QCOMPARE(texts({"Text1_1", "Text1_2"}), (QStringList{"0.0", "33"}));
        QVERIFY(partOf(tempo, QStyle::SC_ScrollBarSlider).top() <= up.bottom() + 1);  // right under the arrow
    }

    void tempoBarRunsOnlyWhenDragEnds() {
        openWorkedExample();
        auto* tempo = find<QScrollBar>("tempoCntrl");
        // A tall bar leaves room to drag and to click the page areas.
        tempo->resize(tempo->width(), 300);
        clickPart(tempo, QStyle::SC_ScrollBarSubPage);  // above the thumb
        QCOMPARE(model().tempoCntrl.value, int16_t(26));
        clickPart(tempo, QStyle::SC_ScrollBarAddPage);  // below the thumb
        QCOMPARE(model().tempoCntrl.value, int16_t(16));
        const QPoint grip = partOf(tempo, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(tempo, Qt::LeftButton, {}, grip);
        QTest::mouseMove(tempo, QPoint(grip.x(), 2));
        QCOMPARE(model().tempoCntrl.value, int16_t(16));
        QCOMPARE(texts({"Text1_2"}), QStringList{"17"});
        QTest::mouseRelease(tempo, Qt::LeftButton, {}, QPoint(grip.x(), 2));
        QCOMPARE(model().tempoCntrl.value, int16_t(32));
        QCOMPARE(texts({"Text1_2"}), QStringList{"33"});
    }

    // The beats button, the pitch and pan bars and the labels that reset them, each worked by
    // the mouse.
    void scrollBeatsAndResets() {
        openWorkedExample();
        find<QScrollBar>("tempoCntrl")->setValue(11);  // as a drag ends at 12 beats
        QCOMPARE(texts({"Text1_2"}), QStringList{"12"});
        auto* button = find<QPushButton>("ScrollBeats");
        QCOMPARE(button->toolTip(), QStringLiteral("Scroll through beats and divisions"));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(texts({"Text1_2", "Text1_3", "Text1_4"}), (QStringList{"6", "2", "4"}));

        auto* leftPitch = find<QScrollBar>("LeftPitch");
        auto* leftPan = find<QScrollBar>("LeftPan");
        auto* rightPitch = find<QScrollBar>("RightPitch");
        auto* rightPan = find<QScrollBar>("RightPan");
        clickPart(leftPitch, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(texts({"LeftPitch2"}), QStringList{"0.01"});
        clickPart(leftPitch, QStyle::SC_ScrollBarAddPage);
        QCOMPARE(model().LeftPitch.value, int16_t(51));
        QCOMPARE(texts({"LeftPitch2"}), QStringList{"0.51"});
        clickPart(leftPan, QStyle::SC_ScrollBarSubLine);
        QCOMPARE(texts({"LeftPan2"}), QStringList{"L -1"});
        rightPan->setValue(100);
        rightPitch->setValue(-2400);
        QCOMPARE(texts({"RightPan2", "RightPitch2"}), (QStringList{"R 100", "-24"}));

        for (const char* label : {"l2", "l3", "r2", "r3"}) QTest::mouseDClick(find(label), Qt::LeftButton);
        QCOMPARE(model().LeftPan.value, int16_t(0));
        for (QScrollBar* bar : {leftPan, leftPitch, rightPan, rightPitch}) QCOMPARE(bar->value(), 0);
        QCOMPARE(texts({"LeftPan2", "LeftPitch2", "RightPan2", "RightPitch2"}),
                 (QStringList{"Center", "0", "Center", "0"}));
    }

    // The track one channel holds is closed to the other.
    void trackOptions() {
        openWorkedExample();
        std::array<QRadioButton*, 9> option{};
        for (int k = 1; k <= 8; ++k) {
            option[size_t(k)] = find<QRadioButton>(qPrintable(QStringLiteral("Option%1").arg(k)));
            QCOMPARE(option[size_t(k)]->text(), QString::number((k - 1) % 4 + 1));
        }
        auto enabled = [&option](int first) {
            QString marks;
            for (int k = first; k < first + 4; ++k) marks += option[size_t(k)]->isEnabled() ? '1' : '0';
            return marks;
        };
        // Right channel to track 3: the left channel may take every track but 3.
        QTest::mouseClick(option[7], Qt::LeftButton);
        QVERIFY(option[7]->isChecked() && !option[6]->isChecked());
        QCOMPARE(enabled(1), QStringLiteral("1101"));
        // Left channel to track 2: the right channel loses track 2.
        QTest::mouseClick(option[2], Qt::LeftButton);
        QVERIFY(option[2]->isChecked() && !option[1]->isChecked());
        QCOMPARE(enabled(5), QStringLiteral("1011"));
        QCOMPARE((QList<int>{model().leftTrack(), model().rightTrack()}), (QList<int>{2, 3}));
        // A disabled option cannot be taken.
        QTest::mouseClick(option[6], Qt::LeftButton);
        QVERIFY(!option[6]->isChecked());
        QCOMPARE(model().rightTrack(), 3);
        // Clicking the option already taken keeps it taken.
        QTest::mouseClick(option[2], Qt::LeftButton);
        QVERIFY(option[2]->isChecked());
    }

    void loopNumberBox() {
        makeWindow();
        auto* loopNumber = find<QLineEdit>("loopNumber");
        loopNumber->setFocus();
        loopNumber->selectAll();
        QTest::keyClicks(loopNumber, "1234");
        QCOMPARE(loopNumber->text(), QStringLiteral("123"));
        QCOMPARE(model().loopNumber.text, std::string("123"));
        QTest::keyClick(loopNumber, Qt::Key_Backspace);
        QCOMPARE(model().loopNumber.text, std::string("12"));
        // The Preferences OK writes the box from outside.
        m_window->setLoopNumber("42");
        QCOMPARE(loopNumber->text(), QStringLiteral("42"));
        m_window->model().Text1[3].text = "7";
        m_window->refresh();
        QCOMPARE(texts({"Text1_3"}), QStringList{"7"});
    }

    void browseLoop() {
        makeWindow();
        auto* button = find<QPushButton>("browseLoop");
        QCOMPARE(button->toolTip(), QStringLiteral("Choose Save To Loop"));
        m_platform->chooseNextFolder(root() + "/card");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_platform->folderCaptions(), std::vector<std::string>{"Choose a Loop Folder"});
        QCOMPARE(texts({"loopName"}), QStringList{QString::fromStdString(root() + "/card")});
    }

    // Left channel to track 2 with pitch -1.5, right to track 4 panned R 35, 12 beats split 6 x 2:
    // the save goes through toolbar button 2 into LOOP1 of the initial loop folder, and the
    // description holds what the controls were set to.
    void stereoConversionFromToolbar() {
        makeWindow();
        chooseWave("song.wav", 2, kFourSecondsStereo);
        QVERIFY(clickToolButton(1));
        find<QScrollBar>("tempoCntrl")->setValue(11);
        QTest::mouseClick(find("ScrollBeats"), Qt::LeftButton);
        QTest::mouseClick(find("Option8"), Qt::LeftButton);
        QTest::mouseClick(find("Option2"), Qt::LeftButton);
        find<QScrollBar>("LeftPitch")->setValue(-150);
        find<QScrollBar>("RightPan")->setValue(35);

        QVERIFY(clickToolButton(2));
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
        QCOMPARE(m_platform->usableAtMessage, std::vector<bool>{false});
        QVERIFY(m_window->isEnabled());
        QVERIFY(!m_platform->busy());
        QCOMPARE(m_platform->progressValue(), 0.0f);
        QCOMPARE(m_platform->progressMax(), 1411.0f);  // d \ 1000

        const std::string folder = root() + "/LOOP1";
        QVERIFY(fs::exists(folder + "/track2.wav") && fs::exists(folder + "/track4.wav"));
        QVERIFY(!fs::exists(folder + "/track1.wav") && !fs::exists(folder + "/track3.wav"));
        const std::vector<uint8_t> ldf = readFile(folder + "/loopinfo.ldf");
        QCOMPARE(ldf.size(), size_t(loop::kDescriptionSize));
        loop::Description description{};
        std::copy(ldf.begin(), ldf.end(), description.begin());
        const loop::DecodedDescription decoded = loop::decodeDescription(description);
        const auto& tracks = decoded.tracks;
        QCOMPARE((QList<bool>{tracks[0].chosen, tracks[1].chosen, tracks[2].chosen, tracks[3].chosen}),
                 (QList<bool>{false, true, false, true}));
        QCOMPARE((QList<int>{tracks[1].pitch, tracks[1].pan, tracks[3].pitch, tracks[3].pan}),
                 (QList<int>{-150, 0, 0, 35}));
        // The tempo comes from the table entry at beats x position = 2 x 11: 23 beats in 4 seconds,
        // 172.5 per minute, so T = 410 x (1725 - 1).
        QCOMPARE((QList<int>{decoded.bars, decoded.beats, decoded.division, decoded.loopSectors, decoded.tempoCode}),
                 (QList<int>{12, 2, 4, 2756, 410 * 1724}));
        QVERIFY(decoded.checks.triple1 && decoded.checks.triple2);
        // Ready for the next loop.
        QCOMPARE(texts({"loopNumber", "loopName"}), (QStringList{"2", m_dir->path()}));
    }

    // A mono wave saved twice, once from the menu and once with Ctrl+S over the focused loop
    // number box, which has its focus back afterwards.
    void monoConversionFromMenuAndShortcut() {
        makeWindow();
        chooseWave("voice.wav", 1, 1000000);
        QVERIFY(trigger("openWave"));
        // 1,000,000 bytes hold 45 quarter seconds; the bar stands at 22 (23 beats).
        QCOMPARE(texts({"Text1_2"}), QStringList{"23"});
        QVERIFY(trigger("saveLoop"));
        QCOMPARE(texts({"loopNumber"}), QStringList{"2"});
        auto* loopNumber = find<QLineEdit>("loopNumber");
        loopNumber->setFocus();
        QTest::keyClick(loopNumber, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_platform->messageTexts(),
                 (std::vector<std::string>{"File writing successful", "File writing successful"}));
        QCOMPARE(m_platform->usableAtMessage, (std::vector<bool>{false, false}));
        QCOMPARE(texts({"loopNumber"}), QStringList{"3"});
        QVERIFY(loopNumber->hasFocus());
        for (const char* folder : {"/LOOP1", "/LOOP2"}) QCOMPARE(entriesIn(root() + folder), 2);
    }
};

QTEST_MAIN(TestWav2RepWindow)
#include "tst_wav2repwindow.moc"
