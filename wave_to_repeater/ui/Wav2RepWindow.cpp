#include "Wav2RepWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <exception>

#include "ControlView.h"
#include "DoubleClickLabel.h"
#include "QtFormLook.h"
#include "TempoScrollBar.h"

namespace brenvik {
namespace {

constexpr int kSaveButton = 2;  // Toolbar1's "Save as Repeater Loop"

// Scroll bar values stay inside their 16-bit ranges, so the narrowing is exact.
int16_t barValue(int value) { return static_cast<int16_t>(value); }

}  // namespace

Wav2RepWindow::Wav2RepWindow(AppGlobals& globals, Platform& platform, QWidget* parent)
    : ConverterWindow(QStringLiteral(".WAV to Repeater"), twipsSize(11400, 8310),
                      QStringLiteral("&About Brenvik"), parent),
      m_model(globals, platform) {
    setObjectName(QStringLiteral("wav2Rep"));
    setFont(sansFont(8.25));
    paintBackground(this, QColor(128, 0, 0));
    m_ui = layOutWav2Rep(this);
    placeToolbar();
    buildMenus();
    connectControls();
    m_model.Form_Load();
    refresh();
}

Wav2RepWindow::~Wav2RepWindow() = default;

void Wav2RepWindow::buildMenus() {
    m_openWave = makeAction(QStringLiteral("openWave"), QStringLiteral("&Open Normal Wave File..."),
                            QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveLoop = makeAction(QStringLiteral("saveLoop"), QStringLiteral("&Save as Repeater Loop..."),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    insertFileActions({m_openWave, m_saveLoop});
    nameSeparators(fileMenu(), {"sep1", "sep2"});
    nameSeparators(helpMenu(), {"sepHelp"});
    connect(m_openWave, &QAction::triggered, this, [this] { run([this] { m_model.openWave_Click(); }); });
    connect(m_saveLoop, &QAction::triggered, this, [this] { runSave([this] { m_model.saveLoop_Click(); }); });
}

void Wav2RepWindow::connectControls() {
    connect(m_ui.Toolbar1, &QToolBar::actionTriggered, this, &Wav2RepWindow::toolbarClicked);
    connect(m_ui.browseLoop, &QPushButton::clicked, this, [this] { run([this] { m_model.browseLoop_Click(); }); });
    connect(m_ui.ScrollBeats, &QPushButton::clicked, this, [this] { run([this] { m_model.ScrollBeats_Click(); }); });
    connect(m_ui.loopNumber, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.loopNumber.text = text.toStdString();
        refresh();
    });
    connect(m_ui.tempoCntrl, &QScrollBar::valueChanged, this,
            [this](int value) { run([this, value] { m_model.setTempoValue(barValue(value)); }); });
    connectChannel(m_ui.LeftPitch, &Wav2Rep::setLeftPitch, m_ui.LeftPan, &Wav2Rep::setLeftPan);
    connectChannel(m_ui.RightPitch, &Wav2Rep::setRightPitch, m_ui.RightPan, &Wav2Rep::setRightPan);
    for (int k = 1; k <= 8; ++k)
        connect(m_ui.Option[static_cast<size_t>(k)], &QRadioButton::clicked, this,
                [this, k] { run([this, k] { m_model.selectOption(k); }); });
    const std::pair<DoubleClickLabel*, void (Wav2Rep::*)()> resets[] = {
        {m_ui.l2, &Wav2Rep::l2_DblClick},
        {m_ui.l3, &Wav2Rep::l3_DblClick},
        {m_ui.r2, &Wav2Rep::r2_DblClick},
        {m_ui.r3, &Wav2Rep::r3_DblClick},
    };
    for (const auto& [label, reset] : resets)
        connect(label, &DoubleClickLabel::doubleClicked, this,
                [this, reset] { run([this, reset] { (m_model.*reset)(); }); });
}

void Wav2RepWindow::connectChannel(QScrollBar* pitch, void (Wav2Rep::*setPitch)(int16_t),
                                   QScrollBar* pan, void (Wav2Rep::*setPan)(int16_t)) {
    connect(pitch, &QScrollBar::valueChanged, this,
            [this, setPitch](int value) { run([this, setPitch, value] { (m_model.*setPitch)(barValue(value)); }); });
    connect(pan, &QScrollBar::valueChanged, this,
            [this, setPan](int value) { run([this, setPan, value] { (m_model.*setPan)(barValue(value)); }); });
}

// A handler that fails without a message of its own (the tempo handling past the 16-bit range,
// say) ends there; the window still shows whatever it changed before.
void Wav2RepWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception&) {
    }
    refresh();
}

void Wav2RepWindow::runSave(const std::function<void()>& handler) {
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && !isAncestorOf(focused)) focused = nullptr;
    setEnabled(false);
    repaint();
    run(handler);
    if (focused && focused->isEnabled() && focused->isVisible()) focused->setFocus();
}

// The toolbar hands over the button by index; the model decides what, if anything, it does.
void Wav2RepWindow::toolbarClicked(QAction* button) {
    for (int index = 1; index <= 4; ++index) {
        if (m_ui.toolButton[static_cast<size_t>(index)] != button) continue;
        auto click = [this, index] { m_model.Toolbar1_ButtonClick(index); };
        if (index == kSaveButton)
            runSave(click);
        else
            run(click);
        return;
    }
}

void Wav2RepWindow::refresh() {
    using namespace controlview;
    const Wav2Rep& m = m_model;
    for (size_t k = 1; k <= 4; ++k) showToolButton(m_ui.toolButton[k], m.toolButton[k]);
    for (auto [label, state] : {std::pair{m_ui.LoopFile, &m.LoopFile}, {m_ui.LeftHeader, &m.LeftHeader},
                                {m_ui.RightHeader, &m.RightHeader}, {m_ui.r1, &m.r1},
                                {m_ui.r2, &m.r2}, {m_ui.r3, &m.r3}})
        showLabel(label, *state);
    for (auto [widget, state] : {std::pair<QWidget*, const Control*>{m_ui.browseLoop, &m.browseLoop},
                                 {m_ui.r4, &m.r4}, {m_ui.rightBlock1, &m.rightBlock1},
                                 {m_ui.leftFrame, &m.leftFrame}, {m_ui.rightFrame, &m.rightFrame}})
        showState(widget, *state);
    for (auto [box, state] : {std::pair{m_ui.loopName, &m.loopName}, {m_ui.Text2, &m.Text2},
                              {m_ui.loopNumber, &m.loopNumber}, {m_ui.LeftPitch2, &m.LeftPitch2},
                              {m_ui.RightPitch2, &m.RightPitch2}, {m_ui.LeftPan2, &m.LeftPan2},
                              {m_ui.RightPan2, &m.RightPan2}})
        showTextBox(box, *state);
    for (size_t k = 1; k <= 4; ++k) showTextBox(m_ui.Text1[k], m.Text1[k]);
    for (size_t k = 1; k <= 8; ++k) showOption(m_ui.Option[k], m.Option[k]);
    for (auto [bar, state] : {std::pair<QScrollBar*, const ScrollBar*>{m_ui.tempoCntrl, &m.tempoCntrl},
                              {m_ui.LeftPitch, &m.LeftPitch}, {m_ui.RightPitch, &m.RightPitch},
                              {m_ui.LeftPan, &m.LeftPan}, {m_ui.RightPan, &m.RightPan}})
        showScrollBar(bar, *state);
    setEnabled(m.windowEnabled);
}

void Wav2RepWindow::setLoopNumber(const std::string& text) {
    m_model.loopNumber.text = text;
    refresh();
}

// The toolbar runs across the top of the window whatever its width.
void Wav2RepWindow::placeToolbar() {
    m_ui.Toolbar1->setGeometry(0, 0, width(), m_ui.Toolbar1->sizeHint().height());
}

void Wav2RepWindow::resizeEvent(QResizeEvent* event) {
    ConverterWindow::resizeEvent(event);
    placeToolbar();
}

}  // namespace brenvik
