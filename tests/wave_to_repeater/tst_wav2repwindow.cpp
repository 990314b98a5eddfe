// The ".WAV to Repeater" window in real widgets: its start-up look, toolbar and menus, the
// layouts after opening real files, the loop parameters worked through the widgets, and whole
// conversions driven by the menu actions and toolbar buttons alone.
#include <QGroupBox>
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
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <filesystem>
#include <memory>

#include "LoopDescription.h"
#include "Wav2RepBench.h"
#include "Wav2RepWindow.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

// Remembers whether the window could take input when each message was shown.
class WatchingPlatform : public TestPlatform {
public:
    QWidget* window = nullptr;
    std::vector<bool> enabledAtMessage;
    MessageAnswer message(const std::string& text, MessageButtons buttons, MessageIcon icon) override {
        enabledAtMessage.push_back(window && window->isEnabled());
        return TestPlatform::message(text, buttons, icon);
    }
};

// Design twips as pixels: 15 twips to the pixel.
QRect pixels(int left, int top, int width, int height) {
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

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

}  // namespace

#define FIND(var, Type, name)                                        \
    auto* var = m_window->findChild<Type*>(QStringLiteral(name));    \
    QVERIFY2(var, name)

class TestWav2RepWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void layout_data();
    void layout();
    void look();
    void toolbar();
    void hiddenButtonsBoundToNothing();
    void menus_data();
    void menus();
    void shortcutsWinOverFocusedTextBox();
    void stereoThenMonoLayouts();
    void refusedWaveKeepsEarlierFile();
    void tempoBarUpArrowRaisesValue();
    void tempoBarRunsOnlyWhenDragEnds();
    void scrollBeats();
    void pitchAndPan();
    void trackOptions();
    void loopNumberBox();
    void browseLoop();
    void stereoConversionFromToolbar();
    void monoConversionFromMenuAndShortcut();

private:
    void makeWindow();
    std::string writeWave(const std::string& name, int16_t channels, size_t dataBytes);
    bool trigger(const char* name);
    bool clickToolButton(int index);
    bool isShown(const char* name) const;
    QString text(const char* name) const;
    const Wav2Rep& model() const { return m_window->model(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WatchingPlatform> m_platform;
    std::unique_ptr<AppGlobals> m_globals;
    std::unique_ptr<QMainWindow> m_host;
    Wav2RepWindow* m_window = nullptr;
};

void TestWav2RepWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<WatchingPlatform>();
    m_globals = std::make_unique<AppGlobals>();
    m_globals->initLoopDir = m_globals->initWaveDir = m_dir->path().toStdString();
}

void TestWav2RepWindow::cleanup() {
    m_host.reset();
    m_window = nullptr;
}

// The window as the main window shows it: its menus in the menu bar, so their shortcuts work.
void TestWav2RepWindow::makeWindow() {
    m_host = std::make_unique<QMainWindow>();
    m_window = new Wav2RepWindow(*m_globals, *m_platform);
    m_platform->window = m_window;
    m_host->setCentralWidget(m_window);
    for (QMenu* menu : m_window->menus()) m_host->menuBar()->addMenu(menu);
    m_host->resize(m_window->sizeHint() + QSize(0, m_host->menuBar()->sizeHint().height()));
    m_host->show();
    QApplication::setActiveWindow(m_host.get());
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
}

std::string TestWav2RepWindow::writeWave(const std::string& name, int16_t channels, size_t dataBytes) {
    const std::string path = m_dir->path().toStdString() + "/" + name;
    writeFile(path, canonicalWave(channels, patternBytes(dataBytes)));
    return path;
}

bool TestWav2RepWindow::trigger(const char* name) {
    auto* action = m_window->findChild<QAction*>(QString::fromLatin1(name));
    if (!action || !action->isEnabled()) return false;
    action->trigger();
    return true;
}

bool TestWav2RepWindow::clickToolButton(int index) {
    auto* toolbar = m_window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    auto* button = m_window->findChild<QAction*>(QStringLiteral("Toolbar1_Button%1").arg(index));
    if (!toolbar || !button || !button->isEnabled()) return false;
    QWidget* widget = toolbar->widgetForAction(button);
    if (!widget || !widget->isVisible()) return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

bool TestWav2RepWindow::isShown(const char* name) const {
    auto* widget = m_window->findChild<QWidget*>(QString::fromLatin1(name));
    return widget && widget->isVisible();
}

QString TestWav2RepWindow::text(const char* name) const {
    const QString objectName = QString::fromLatin1(name);
    if (auto* box = m_window->findChild<QLineEdit*>(objectName)) return box->text();
    if (auto* label = m_window->findChild<QLabel*>(objectName)) return label->text();
    return QStringLiteral("<no %1>").arg(objectName);
}

void TestWav2RepWindow::startUp() {
    fs::create_directory(m_dir->path().toStdString() + "/LOOP1");
    fs::create_directory(m_dir->path().toStdString() + "/LOOP2");
    m_globals->beatsPerBar = 5;
    makeWindow();
    QCOMPARE(m_window->objectName(), QStringLiteral("wav2Rep"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral(".WAV to Repeater"));
    // The window's load: beats per bar back to 1, the lowest free loop in the initial folder.
    QCOMPARE(m_globals->beatsPerBar, int16_t(1));
    QCOMPARE(text("loopNumber"), QStringLiteral("3"));
    QCOMPARE(text("loopName"), m_dir->path());
    QCOMPARE(text("Text2"), QStringLiteral("/LOOP"));
    QCOMPARE(text("LoopFile"), QString());
    QCOMPARE(text("Text1_1"), QString());
    QCOMPARE(text("Text1_2"), QString());
    QCOMPARE(text("Text1_3"), QStringLiteral("1"));
    QCOMPARE(text("Text1_4"), QStringLiteral("4"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
    QCOMPARE(text("LeftPitch2"), QStringLiteral("0"));
    QCOMPARE(text("LeftPan2"), QStringLiteral("Center"));
    QCOMPARE(text("Label1"), QStringLiteral("Loop Info"));
    const char* rows[] = {"File:", "Loop:", "Tempo:", "Bars:", "Beats:", "Division:"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(text(QStringLiteral("Label2_%1").arg(i).toLatin1().constData()), QString::fromLatin1(rows[i]));
    for (const char* shown : {"Label1", "LoopFile", "browseLoop", "loopName", "loopNumber", "Text1_1",
                              "tempoCntrl", "ScrollBeats", "Label4", "LeftHeader", "l1", "l2", "l3",
                              "l4", "leftFrame", "Shape2", "LeftPitch", "LeftPitch2", "LeftPan", "LeftPan2"})
        QVERIFY2(isShown(shown), shown);
    for (const char* hidden : {"RightHeader", "rightFrame", "RightPan", "RightPitch", "RightPan2",
                               "RightPitch2", "rightBlock1", "r1", "r2", "r3", "r4"})
        QVERIFY2(!isShown(hidden), hidden);
    FIND(tempo, QScrollBar, "tempoCntrl");
    FIND(leftFrame, QGroupBox, "leftFrame");
    QVERIFY(!tempo->isEnabled());
    QVERIFY(!leftFrame->isEnabled());
    FIND(option1, QRadioButton, "Option1");
    FIND(option5, QRadioButton, "Option5");
    FIND(option6, QRadioButton, "Option6");
    QVERIFY(option1->isChecked() && option6->isChecked());
    QVERIFY(option5->testAttribute(Qt::WA_ForceDisabled));
    for (const char* readOnly : {"loopName", "Text2", "Text1_1", "Text1_2", "Text1_3", "Text1_4",
                                 "LeftPitch2", "LeftPan2", "RightPitch2", "RightPan2"})
        QVERIFY2(m_window->findChild<QLineEdit*>(QString::fromLatin1(readOnly))->isReadOnly(), readOnly);
    FIND(loopNumber, QLineEdit, "loopNumber");
    QVERIFY(!loopNumber->isReadOnly());
    QVERIFY(m_window->isEnabled());
}

void TestWav2RepWindow::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    const std::pair<const char*, QRect> rows[] = {
        {"Label1", {0, 600, 5775, 495}},        {"Label2_0", {0, 1080, 1215, 255}},
        {"LoopFile", {1200, 1080, 4575, 255}},  {"browseLoop", {1200, 1320, 360, 255}},
        {"loopName", {1560, 1320, 3255, 285}},  {"Text2", {4800, 1320, 615, 285}},
        {"loopNumber", {5400, 1320, 375, 285}}, {"Text1_1", {1200, 1560, 4215, 285}},
        {"tempoCntrl", {5400, 1560, 375, 615}}, {"Label2_4", {0, 2040, 1215, 255}},
        {"ScrollBeats", {5400, 2160, 375, 375}}, {"Text1_4", {1200, 2280, 4215, 285}},
        {"Label4", {0, 2520, 5775, 255}},       {"LeftHeader", {0, 2760, 5775, 495}},
        {"RightHeader", {5760, 2760, 5655, 495}}, {"l4", {0, 3240, 5775, 255}},
        {"r1", {5760, 3480, 5655, 375}},        {"leftFrame", {1200, 3240, 4455, 495}},
        {"rightFrame", {6960, 3240, 4455, 495}}, {"Shape2", {1200, 3840, 4575, 735}},
        {"rightBlock1", {5760, 3840, 5655, 735}}, {"l3", {0, 3840, 1215, 375}},
        {"r3", {5760, 3840, 1215, 255}},        {"LeftPitch", {1200, 3840, 3615, 255}},
        {"RightPitch2", {10560, 3840, 855, 285}}, {"l2", {0, 4200, 1215, 375}},
        {"RightPan", {6960, 4200, 3615, 255}},  {"LeftPan2", {4800, 4200, 855, 285}},
    };
    for (const auto& [name, twips] : rows) QTest::newRow(name) << QString::fromLatin1(name) << twips;
    // Options stand inside their frames, at Top 120.
    QTest::newRow("Option1") << QStringLiteral("Option1") << QRect(240, 120, 735, 255);
    QTest::newRow("Option4") << QStringLiteral("Option4") << QRect(3360, 120, 735, 255);
    QTest::newRow("Option5") << QStringLiteral("Option5") << QRect(480, 120, 735, 255);
    QTest::newRow("Option8") << QStringLiteral("Option8") << QRect(3600, 120, 735, 255);
}

void TestWav2RepWindow::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    makeWindow();
    auto* widget = m_window->findChild<QWidget*>(name);
    QVERIFY(widget);
    const QRect design = pixels(twips.x(), twips.y(), twips.width(), twips.height());
    QCOMPARE(widget->pos(), design.topLeft());
    // The design gives the options' positions only; everything else has the design's size.
    if (!name.startsWith(QLatin1String("Option"))) QCOMPARE(widget->size(), design.size());
}

void TestWav2RepWindow::look() {
    makeWindow();
    auto background = [this](const char* name) {
        auto* widget = m_window->findChild<QWidget*>(QString::fromLatin1(name));
        return widget ? widget->palette().color(QPalette::Window) : QColor();
    };
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
    FIND(label1, QLabel, "Label1");
    QCOMPARE(label1->font().pointSizeF(), 12.0);
    QVERIFY(label1->font().bold());
    FIND(row, QLabel, "Label2_3");
    QCOMPARE(row->font().pointSizeF(), 9.75);
    QVERIFY(row->font().bold());
    QCOMPARE(row->palette().color(QPalette::WindowText), QApplication::palette().color(QPalette::Base));
    FIND(loopFile, QLabel, "LoopFile");
    QVERIFY(loopFile->font().fixedPitch());
    QCOMPARE(loopFile->font().pointSizeF(), 9.75);
    QCOMPARE(loopFile->palette().color(QPalette::WindowText), QColor(Qt::white));
    FIND(tempoBox, QLineEdit, "Text1_1");
    QCOMPARE(tempoBox->palette().color(QPalette::Text), QColor(64, 64, 64));
    FIND(loopNumber, QLineEdit, "loopNumber");
    QCOMPARE(loopNumber->palette().color(QPalette::Base), QColor(255, 255, 128));
    FIND(header, QLabel, "LeftHeader");
    QCOMPARE(header->font().pointSizeF(), 12.0);
    QVERIFY(header->font().bold());
}

void TestWav2RepWindow::toolbar() {
    makeWindow();
    FIND(toolbar, QToolBar, "Toolbar1");
    QCOMPARE(toolbar->parentWidget(), m_window);
    QCOMPARE(toolbar->y(), 0);
    QCOMPARE(toolbar->width(), m_window->width());
    QCOMPARE(toolbar->iconSize(), QSize(16, 15));
    QCOMPARE(toolbar->actions().size(), 4);
    struct Button {
        const char* toolTip;
        bool visible, enabled, separator;
    };
    const Button expected[] = {{"Open Normal Wave File", true, true, false},
                               {"Save as Repeater Loop", true, false, false},
                               {"", false, true, true},
                               {"Cross Fade this Loop", false, false, false}};
    for (int index = 1; index <= 4; ++index) {
        const Button& b = expected[index - 1];
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
    // The user sees two buttons only.
    int visibleButtons = 0;
    for (QToolButton* b : toolbar->findChildren<QToolButton*>())
        if (b->isVisible() && b->defaultAction()) ++visibleButtons;
    QCOMPARE(visibleButtons, 2);
    // The Save menu item is usable before any wave; its toolbar button is not.
    QVERIFY(m_window->findChild<QAction*>(QStringLiteral("saveLoop"))->isEnabled());
}

void TestWav2RepWindow::hiddenButtonsBoundToNothing() {
    makeWindow();
    FIND(crossFade, QAction, "Toolbar1_Button4");
    crossFade->setVisible(true);
    crossFade->setEnabled(true);
    FIND(toolbar, QToolBar, "Toolbar1");
    QTRY_VERIFY(toolbar->widgetForAction(crossFade) && toolbar->widgetForAction(crossFade)->isVisible());
    QVERIFY(clickToolButton(4));
    QVERIFY(m_platform->dialogsShown().empty());
    QVERIFY(m_platform->messages().empty());
    // Button 1, by contrast, runs the Open command: a cancelled dialog before any file was
    // ever chosen ends in "File does not exist!".
    m_platform->chooseNextFile(std::nullopt);
    QVERIFY(clickToolButton(1));
    QCOMPARE(m_platform->dialogsShown().size(), size_t(1));
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File does not exist!"});
}

void TestWav2RepWindow::menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("openWave") << "openWave" << "&Open Normal Wave File..." << QKeySequence(QStringLiteral("Ctrl+O"));
    QTest::newRow("saveLoop") << "saveLoop" << "&Save as Repeater Loop..." << QKeySequence(QStringLiteral("Ctrl+S"));
    QTest::newRow("Preferences") << "Preferences" << "&Preferences..." << QKeySequence(QStringLiteral("Ctrl+P"));
    QTest::newRow("Exit") << "Exit" << "E&xit" << QKeySequence(QStringLiteral("Ctrl+X"));
    QTest::newRow("Contents") << "Contents" << "&Contents..." << QKeySequence(QStringLiteral("Ctrl+C"));
    QTest::newRow("About") << "About" << "&About Brenvik" << QKeySequence(QStringLiteral("Ctrl+A"));
}

void TestWav2RepWindow::menus() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    makeWindow();
    QStringList titles;
    for (QMenu* menu : m_window->menus()) titles << menu->title();
    QCOMPARE(titles, (QStringList{"&File", "&Window", "&Help"}));
    QStringList fileItems, helpItems;
    for (QAction* a : m_window->fileMenu()->actions()) fileItems << a->objectName();
    for (QAction* a : m_window->helpMenu()->actions()) helpItems << a->objectName();
    QCOMPARE(fileItems, (QStringList{"openWave", "saveLoop", "sep1", "Preferences", "sep2", "Exit"}));
    QCOMPARE(helpItems, (QStringList{"Contents", "sepHelp", "About"}));
    auto* action = m_window->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QVERIFY(action->isEnabled());
}

void TestWav2RepWindow::shortcutsWinOverFocusedTextBox() {
    makeWindow();
    FIND(loopNumber, QLineEdit, "loopNumber");
    loopNumber->setFocus();
    QTRY_VERIFY(loopNumber->hasFocus());
    loopNumber->selectAll();
    QSignalSpy contents(m_window, &ConverterWindow::contentsRequested);
    QSignalSpy exit(m_window, &ConverterWindow::exitRequested);
    QSignalSpy about(m_window, &ConverterWindow::aboutRequested);
    QTest::keyClick(loopNumber, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(loopNumber, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(loopNumber, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(contents.count(), 1);
    QCOMPARE(about.count(), 1);
    QCOMPARE(exit.count(), 1);
    // Ctrl+X ended the program's commands, not the box's text.
    QCOMPARE(loopNumber->text(), QStringLiteral("1"));
    m_platform->chooseNextFile(writeWave("keys.wav", 1, 88200));
    QTest::keyClick(loopNumber, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(m_platform->dialogsShown().size(), size_t(1));
    QVERIFY(text("LoopFile").endsWith(QLatin1String("keys.wav")));
}

void TestWav2RepWindow::stereoThenMonoLayouts() {
    makeWindow();
    const std::string stereo = writeWave("stereo.wav", 2, kFourSecondsStereo);
    m_platform->chooseNextFile(stereo);
    QVERIFY(trigger("openWave"));
    QVERIFY(m_platform->messages().empty());
    QCOMPARE(text("LoopFile"), QString::fromStdString(stereo));
    QCOMPARE(text("Text1_1"), QStringLiteral("127.5"));
    QCOMPARE(text("Text1_2"), QStringLiteral("17"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
    FIND(tempo, QScrollBar, "tempoCntrl");
    QVERIFY(tempo->isEnabled());
    QCOMPARE(tempo->minimum(), 0);
    QCOMPARE(tempo->maximum(), 32);
    QCOMPARE(tempo->value(), 16);
    QCOMPARE(tempo->pageStep(), 10);
    for (const char* shown : {"RightHeader", "rightFrame", "RightPan", "RightPitch", "RightPan2",
                              "RightPitch2", "rightBlock1", "r1", "r2", "r3", "r4"})
        QVERIFY2(isShown(shown), shown);
    FIND(option2, QRadioButton, "Option2");
    FIND(option5, QRadioButton, "Option5");
    FIND(option6, QRadioButton, "Option6");
    QVERIFY(option6->isChecked());
    QVERIFY(!option2->isEnabled() && !option5->isEnabled());
    FIND(save, QAction, "Toolbar1_Button2");
    QVERIFY(save->isEnabled());
    FIND(leftFrame, QGroupBox, "leftFrame");
    QVERIFY(leftFrame->isEnabled());

    // A mono wave after it: the right block goes again and the left may take any track.
    m_platform->chooseNextFile(writeWave("mono.wav", 1, 705600));
    QVERIFY(clickToolButton(1));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
    for (const char* hidden : {"RightHeader", "rightFrame", "RightPan", "RightPitch", "RightPan2",
                               "RightPitch2", "rightBlock1", "r1", "r2", "r3", "r4"})
        QVERIFY2(!isShown(hidden), hidden);
    for (int k = 1; k <= 4; ++k)
        QVERIFY(m_window->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(k))->isEnabled());
    QCOMPARE(text("Text1_2"), QStringLiteral("17"));
}

void TestWav2RepWindow::refusedWaveKeepsEarlierFile() {
    makeWindow();
    const std::string mono = writeWave("mono.wav", 1, 88200);
    m_platform->chooseNextFile(mono);
    QVERIFY(trigger("openWave"));
    const std::string fast = m_dir->path().toStdString() + "/fast.wav";
    writeFile(fast, wave(2, patternBytes(96000), 48000));
    m_platform->chooseNextFile(fast);
    QVERIFY(trigger("openWave"));
    QCOMPARE(m_platform->messageTexts(),
             std::vector<std::string>{"Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz"});
    // The layout follows the refused file's channels; the file to convert stays the mono one.
    QVERIFY(isShown("RightHeader"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Left Channel"));
    QCOMPARE(text("LoopFile"), QString::fromStdString(mono));
}

void TestWav2RepWindow::tempoBarUpArrowRaisesValue() {
    makeWindow();
    m_platform->chooseNextFile(writeWave("stereo.wav", 2, kFourSecondsStereo));
    QVERIFY(trigger("openWave"));
    FIND(tempo, QScrollBar, "tempoCntrl");
    const QRect up = partOf(tempo, QStyle::SC_ScrollBarSubLine);
    const QRect down = partOf(tempo, QStyle::SC_ScrollBarAddLine);
    QVERIFY(up.center().y() < down.center().y());  // the up arrow is the upper one
    clickPart(tempo, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(model().tempoCntrl.value, int16_t(17));
    QCOMPARE(text("Text1_2"), QStringLiteral("18"));
    QCOMPARE(text("Text1_1"), QStringLiteral("135.0"));  // 18 beats in 4 seconds
    clickPart(tempo, QStyle::SC_ScrollBarAddLine);
    QCOMPARE(model().tempoCntrl.value, int16_t(16));
    QCOMPARE(text("Text1_2"), QStringLiteral("17"));
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
    QCOMPARE(text("Text1_1"), QStringLiteral("0.0"));
    QCOMPARE(text("Text1_2"), QStringLiteral("33"));
    const QRect thumb = partOf(tempo, QStyle::SC_ScrollBarSlider);
    QVERIFY(thumb.top() <= up.bottom() + 1);  // the thumb sits right under the up arrow
}

void TestWav2RepWindow::tempoBarRunsOnlyWhenDragEnds() {
    makeWindow();
    m_platform->chooseNextFile(writeWave("stereo.wav", 2, kFourSecondsStereo));
    QVERIFY(trigger("openWave"));
    FIND(tempo, QScrollBar, "tempoCntrl");
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
    QCOMPARE(text("Text1_2"), QStringLiteral("17"));
    QTest::mouseRelease(tempo, Qt::LeftButton, {}, QPoint(grip.x(), 2));
    QCOMPARE(model().tempoCntrl.value, int16_t(32));
    QCOMPARE(text("Text1_2"), QStringLiteral("33"));
}

void TestWav2RepWindow::scrollBeats() {
    makeWindow();
    m_platform->chooseNextFile(writeWave("stereo.wav", 2, kFourSecondsStereo));
    QVERIFY(trigger("openWave"));
    FIND(tempo, QScrollBar, "tempoCntrl");
    tempo->setValue(11);  // as a drag ends at 12 beats
    QCOMPARE(text("Text1_2"), QStringLiteral("12"));
    FIND(button, QPushButton, "ScrollBeats");
    QCOMPARE(button->toolTip(), QStringLiteral("Scroll through beats and divisions"));
    const char* steps[][3] = {{"6", "2", "4"}, {"4", "3", "4"}, {"3", "4", "4"},
                              {"2", "6", "8"}, {"12", "1", "4"}, {"6", "2", "4"}};
    for (const auto& step : steps) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(text("Text1_2"), QString::fromLatin1(step[0]));
        QCOMPARE(text("Text1_3"), QString::fromLatin1(step[1]));
        QCOMPARE(text("Text1_4"), QString::fromLatin1(step[2]));
    }
}

void TestWav2RepWindow::pitchAndPan() {
    makeWindow();
    m_platform->chooseNextFile(writeWave("stereo.wav", 2, 441000));
    QVERIFY(trigger("openWave"));
    FIND(leftPitch, QScrollBar, "LeftPitch");
    FIND(leftPan, QScrollBar, "LeftPan");
    QCOMPARE(leftPitch->minimum(), -2400);
    QCOMPARE(leftPitch->maximum(), 1200);
    QCOMPARE(leftPitch->pageStep(), 50);
    QCOMPARE(leftPan->minimum(), -100);
    QCOMPARE(leftPan->maximum(), 100);
    QCOMPARE(leftPan->pageStep(), 10);
    clickPart(leftPitch, QStyle::SC_ScrollBarAddLine);
    QCOMPARE(text("LeftPitch2"), QStringLiteral("0.01"));
    clickPart(leftPitch, QStyle::SC_ScrollBarAddPage);
    QCOMPARE(model().LeftPitch.value, int16_t(51));
    QCOMPARE(text("LeftPitch2"), QStringLiteral("0.51"));
    clickPart(leftPan, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(text("LeftPan2"), QStringLiteral("L -1"));
    leftPan->setValue(-40);
    QCOMPARE(text("LeftPan2"), QStringLiteral("L -40"));

    FIND(l2, QLabel, "l2");
    FIND(l3, QLabel, "l3");
    QTest::mouseDClick(l2, Qt::LeftButton);
    QCOMPARE(model().LeftPan.value, int16_t(0));
    QCOMPARE(leftPan->value(), 0);
    QCOMPARE(text("LeftPan2"), QStringLiteral("Center"));
    QTest::mouseDClick(l3, Qt::LeftButton);
    QCOMPARE(leftPitch->value(), 0);
    QCOMPARE(text("LeftPitch2"), QStringLiteral("0"));

    FIND(rightPitch, QScrollBar, "RightPitch");
    FIND(rightPan, QScrollBar, "RightPan");
    rightPan->setValue(100);
    rightPitch->setValue(-2400);
    QCOMPARE(text("RightPan2"), QStringLiteral("R 100"));
    QCOMPARE(text("RightPitch2"), QStringLiteral("-24"));
    FIND(r2, QLabel, "r2");
    FIND(r3, QLabel, "r3");
    QTest::mouseDClick(r2, Qt::LeftButton);
    QTest::mouseDClick(r3, Qt::LeftButton);
    QCOMPARE(text("RightPan2"), QStringLiteral("Center"));
    QCOMPARE(text("RightPitch2"), QStringLiteral("0"));
    QCOMPARE(rightPan->value(), 0);
    QCOMPARE(rightPitch->value(), 0);
}

void TestWav2RepWindow::trackOptions() {
    makeWindow();
    m_platform->chooseNextFile(writeWave("stereo.wav", 2, 441000));
    QVERIFY(trigger("openWave"));
    std::array<QRadioButton*, 9> option{};
    for (int k = 1; k <= 8; ++k) {
        option[static_cast<size_t>(k)] = m_window->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(k));
        QVERIFY(option[static_cast<size_t>(k)]);
        QCOMPARE(option[static_cast<size_t>(k)]->text(), QString::number((k - 1) % 4 + 1));
    }
    auto enabled = [&option](int first) {
        QString marks;
        for (int k = first; k < first + 4; ++k) marks += option[static_cast<size_t>(k)]->isEnabled() ? '1' : '0';
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
    QCOMPARE(model().leftTrack(), 2);
    QCOMPARE(model().rightTrack(), 3);
    // A disabled option cannot be taken.
    QTest::mouseClick(option[6], Qt::LeftButton);
    QVERIFY(!option[6]->isChecked());
    QCOMPARE(model().rightTrack(), 3);
    // Clicking the option already taken keeps it taken.
    QTest::mouseClick(option[2], Qt::LeftButton);
    QVERIFY(option[2]->isChecked());
}

void TestWav2RepWindow::loopNumberBox() {
    makeWindow();
    FIND(loopNumber, QLineEdit, "loopNumber");
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
    QCOMPARE(text("Text1_3"), QStringLiteral("7"));
}

void TestWav2RepWindow::browseLoop() {
    makeWindow();
    FIND(button, QPushButton, "browseLoop");
    QCOMPARE(button->toolTip(), QStringLiteral("Choose Save To Loop"));
    const QString card = m_dir->path() + QStringLiteral("/card");
    m_platform->chooseNextFolder(card.toStdString());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_platform->folderCaptions(), std::vector<std::string>{"Choose a Loop Folder"});
    QCOMPARE(text("loopName"), card);
    m_platform->chooseNextFolder(std::nullopt);  // cancelled
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(text("loopName"), card);
}

// Left channel to track 2 with pitch -1.5, right to track 4 panned R 35, 12 beats split 6 x 2:
// the save goes through toolbar button 2 into LOOP1 of the initial loop folder.
void TestWav2RepWindow::stereoConversionFromToolbar() {
    makeWindow();
    const std::vector<uint8_t> data = patternBytes(kFourSecondsStereo);
    const std::string source = m_dir->path().toStdString() + "/song.wav";
    writeFile(source, canonicalWave(2, data));
    m_platform->chooseNextFile(source);
    QVERIFY(clickToolButton(1));
    FIND(tempo, QScrollBar, "tempoCntrl");
    tempo->setValue(11);
    QTest::mouseClick(m_window->findChild<QPushButton*>(QStringLiteral("ScrollBeats")), Qt::LeftButton);
    QCOMPARE(text("Text1_3"), QStringLiteral("2"));
    QTest::mouseClick(m_window->findChild<QRadioButton*>(QStringLiteral("Option8")), Qt::LeftButton);
    QTest::mouseClick(m_window->findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton);
    m_window->findChild<QScrollBar*>(QStringLiteral("LeftPitch"))->setValue(-150);
    m_window->findChild<QScrollBar*>(QStringLiteral("RightPan"))->setValue(35);
    QCOMPARE(text("LeftPitch2"), QStringLiteral("-1.5"));

    QVERIFY(clickToolButton(2));
    QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"File writing successful"});
    QCOMPARE(m_platform->enabledAtMessage, std::vector<bool>{false});
    QVERIFY(m_window->isEnabled());
    QVERIFY(!m_platform->busy());
    QCOMPARE(m_platform->progressValue(), 0.0f);
    QCOMPARE(m_platform->progressMax(), 1411.0f);  // d \ 1000

    // 1,411,200 bytes are 2756 whole sectors; each track gets 256 x 2756 bytes of its channel.
    const std::string folder = m_dir->path().toStdString() + "/LOOP1";
    const size_t audio = 256 * 2756;
    QVERIFY(readFile(folder + "/track2.wav") == expectedTrack(channelWords(data, 0, audio)));
    QVERIFY(readFile(folder + "/track4.wav") == expectedTrack(channelWords(data, 1, audio)));
    QVERIFY(!fs::exists(folder + "/track1.wav") && !fs::exists(folder + "/track3.wav"));
    const std::vector<uint8_t> ldf = readFile(folder + "/loopinfo.ldf");
    QCOMPARE(ldf.size(), size_t(loop::kDescriptionSize));
    loop::Description description{};
    std::copy(ldf.begin(), ldf.end(), description.begin());
    const loop::DecodedDescription decoded = loop::decodeDescription(description);
    QVERIFY(!decoded.tracks[0].chosen && decoded.tracks[1].chosen);
    QVERIFY(!decoded.tracks[2].chosen && decoded.tracks[3].chosen);
    QCOMPARE(decoded.tracks[1].pitch, -150);
    QCOMPARE(decoded.tracks[1].pan, 0);
    QCOMPARE(decoded.tracks[3].pitch, 0);
    QCOMPARE(decoded.tracks[3].pan, 35);
    QCOMPARE(decoded.bars, 12);
    QCOMPARE(decoded.beats, 2);
    QCOMPARE(decoded.division, 4);
    QCOMPARE(decoded.loopSectors, 2756);
    // The tempo comes from the table entry at beats x position = 2 x 11: 23 beats in 4 seconds,
    // 172.5 per minute, so T = 410 x (1725 - 1).
    QCOMPARE(decoded.tempoCode, 410 * 1724);
    QVERIFY(decoded.checks.triple1 && decoded.checks.triple2);
    // Ready for the next loop.
    QCOMPARE(text("loopNumber"), QStringLiteral("2"));
    QCOMPARE(text("loopName"), m_dir->path());
}

// A mono wave of 1,000,000 bytes saved twice, once from the menu and once with Ctrl+S; then one
// of the written track files is opened as a wave of its own.
void TestWav2RepWindow::monoConversionFromMenuAndShortcut() {
    makeWindow();
    const std::vector<uint8_t> data = patternBytes(1000000);
    const std::string source = m_dir->path().toStdString() + "/voice.wav";
    writeFile(source, canonicalWave(1, data));
    m_platform->chooseNextFile(source);
    QVERIFY(trigger("openWave"));
    // 1,000,000 bytes hold 45 quarter seconds; the bar stands at 22 (23 beats).
    QCOMPARE(text("Text1_2"), QStringLiteral("23"));
    QVERIFY(trigger("saveLoop"));
    QCOMPARE(text("loopNumber"), QStringLiteral("2"));
    FIND(loopNumber, QLineEdit, "loopNumber");
    loopNumber->setFocus();
    QTest::keyClick(loopNumber, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_platform->messageTexts(),
             (std::vector<std::string>{"File writing successful", "File writing successful"}));
    QCOMPARE(m_platform->enabledAtMessage, (std::vector<bool>{false, false}));
    QCOMPARE(text("loopNumber"), QStringLiteral("3"));
    QVERIFY(loopNumber->hasFocus());

    // The last 64 bytes are not a whole sector and stay behind.
    const std::vector<uint8_t> track = expectedTrack({data.begin(), data.begin() + 999936});
    for (const char* folder : {"/LOOP1", "/LOOP2"}) {
        const std::string path = m_dir->path().toStdString() + folder;
        QCOMPARE(entriesIn(path), 2);
        QVERIFY(readFile(path + "/track1.wav") == track);
    }

    // A Repeater track is a mono 44.1 kHz 16-bit wave: 16384 + 999,936 bytes are 46 quarter
    // seconds, so the bar stands at 23 (24 beats).
    const std::string written = m_dir->path().toStdString() + "/LOOP1/track1.wav";
    m_platform->chooseNextFile(written);
    QVERIFY(clickToolButton(1));
    QCOMPARE(text("LoopFile"), QString::fromStdString(written));
    QCOMPARE(text("Text1_2"), QStringLiteral("24"));
    QCOMPARE(text("LeftHeader"), QStringLiteral("Mono"));
    QCOMPARE(m_window->findChild<QScrollBar*>(QStringLiteral("tempoCntrl"))->maximum(), 46);
}

QTEST_MAIN(TestWav2RepWindow)
#include "tst_wav2repwindow.moc"
