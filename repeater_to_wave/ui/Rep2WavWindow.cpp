#include "Rep2WavWindow.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QToolBar>

#include "QtFormLook.h"
#include "Rep2WavImages.h"

namespace brenvik {

namespace {

const QColor kWindowBackground(0x00, 0x40, 0x40);
const QColor kLeftColumn(0x00, 0x00, 0x80);
const QColor kRightColumn(0x80, 0x00, 0x00);
const QColor kLeftHeader(0x00, 0x00, 0xC0);
const QColor kRightHeader(0xC0, 0x00, 0x00);

constexpr int kToolbarHeight = 360;  // twips; the labels' rows start below it
constexpr std::array<int, 7> kRows{840, 1080, 1320, 1560, 1800, 2040, 2280};
constexpr int kRowHeight = 255;
constexpr std::array<int, 7> kLeftCaptionWidths{855, 855, 975, 1575, 1575, 1695, 1575};
constexpr std::array<int, 7> kRightCaptionWidths{855, 855, 975, 1695, 1695, 1695, 1695};
constexpr std::array<std::pair<int, int>, 7> kLeftFields{  // left, width
    {{840, 4935}, {840, 4935}, {960, 4815}, {1560, 4215}, {1560, 4215}, {1680, 4095}, {1560, 4215}}};
constexpr std::array<std::pair<int, int>, 7> kRightFields{
    {{6600, 4815}, {6600, 4815}, {6720, 4695}, {7440, 3975}, {7440, 3975}, {7440, 3975}, {7440, 3975}}};
constexpr std::array<const char*, 7> kFieldNames{"File", "Loop", "Track", "Pre",
                                                 "Audio", "Post", "Total"};
constexpr int kRightColumnX = 5760;

// The toolbar's picture for each button index (0: a separator).
constexpr std::array<int, 8> kButtonImages{0, 1, 2, 0, 3, 4, 0, 5};

}  // namespace

Rep2WavWindow::Rep2WavWindow(AppGlobals& globals, Platform& platform, QWidget* parent)
    : ConverterWindow(QStringLiteral("Repeater to .WAV"), twipsSize(11400, 6855),
                      QStringLiteral("&About..."), parent),
      m_model(globals, platform) {
    setObjectName(QStringLiteral("Rep2Wav"));
    paintBackground(this, kWindowBackground);
    buildToolbar();
    buildLabels();
    buildMenus();
    resize(sizeHint());
    refresh();
}

QLabel* Rep2WavWindow::addLabel(const QString& name, const Control& control, const QRect& twips,
                                const QColor& background, const QFont& font) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    placeTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    paintBackground(label, background);
    paintText(label, systemWindowColour());
    m_labels.emplace_back(label, &control);
    return label;
}

void Rep2WavWindow::buildLabels() {
    const QFont header = sansFont(12, true);
    const QFont text = sansFont(9.75, true);
    addLabel(QStringLiteral("LeftHeader"), m_model.LeftHeader, QRect(0, 360, 5775, 495),
             kLeftHeader, header);
    addLabel(QStringLiteral("RightHeader"), m_model.RightHeader, QRect(5760, 360, 5655, 495),
             kRightHeader, header);
    const std::array<Control*, 7> leftFields = m_model.left.fields();
    const std::array<Control*, 7> rightFields = m_model.right.fields();
    for (size_t row = 0; row < kRows.size(); ++row) {
        const int top = kRows[row];
        const QString number = QString::number(row + 1);
        const QString field = QString::fromLatin1(kFieldNames[row]);
        addLabel(QStringLiteral("l") + number, m_model.l[row + 1],
                 QRect(0, top, kLeftCaptionWidths[row], kRowHeight), kLeftColumn, text);
        addLabel(QStringLiteral("Left") + field, *leftFields[row],
                 QRect(kLeftFields[row].first, top, kLeftFields[row].second, kRowHeight),
                 kLeftColumn, text);
        addLabel(QStringLiteral("r") + number, m_model.r[row + 1],
                 QRect(kRightColumnX, top, kRightCaptionWidths[row], kRowHeight), kRightColumn,
                 text);
        addLabel(QStringLiteral("Right") + field, *rightFields[row],
                 QRect(kRightFields[row].first, top, kRightFields[row].second, kRowHeight),
                 kRightColumn, text);
    }
}

void Rep2WavWindow::buildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(kRep2WavImageWidth, kRep2WavImageHeight));
    // A toolbar keeps the system's button colours, not the window's teal.
    m_toolbar->setPalette(QApplication::palette());
    m_toolbar->setAutoFillBackground(true);
    for (int index = 1; index < static_cast<int>(m_buttons.size()); ++index) {
        const int image = kButtonImages[static_cast<size_t>(index)];
        QAction* button = image == 0 ? m_toolbar->addSeparator()
                                     : m_toolbar->addAction(QIcon(rep2WavImage(image)), QString());
        button->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
        // Every button goes to the model by its index; the model decides which have an action.
        if (image != 0)
            connect(button, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        m_buttons[static_cast<size_t>(index)] = button;
    }
}

void Rep2WavWindow::buildMenus() {
    m_open = makeAction(QStringLiteral("Open"), QStringLiteral("&Open Repeater Wave File..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O));
    m_save = makeAction(QStringLiteral("Save"), QStringLiteral("&Save as Normal Wave File..."),
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    insertFileActions({m_open, m_save});
    nameSeparators(fileMenu(), {"sep2", "sep1"});
    nameSeparators(helpMenu(), {"sepHelp"});
    connect(m_open, &QAction::triggered, this, &Rep2WavWindow::Open_Click);
    connect(m_save, &QAction::triggered, this, &Rep2WavWindow::Save_Click);
}

QAction* Rep2WavWindow::toolbarButton(int index) const {
    if (index < 1 || index >= static_cast<int>(m_buttons.size())) return nullptr;
    return m_buttons[static_cast<size_t>(index)];
}

// Labels and toolbar buttons raise no change handling of their own, so writing them back needs
// no blocked signals; the model alone decides what a command does.
void Rep2WavWindow::refresh() {
    for (const auto& [label, control] : m_labels) {
        label->setText(QString::fromStdString(control->text));
        label->setVisible(control->visible);
        label->setEnabled(control->enabled);
    }
    for (size_t index = 1; index < m_buttons.size(); ++index) {
        const Control& state = m_model.toolButton[index];
        QAction* button = m_buttons[index];
        button->setText(QString::fromStdString(state.text));
        button->setToolTip(QString::fromStdString(state.text));
        button->setVisible(state.visible);
        button->setEnabled(state.enabled);
    }
    setEnabled(m_model.windowEnabled);
}

template <typename Handler>
void Rep2WavWindow::run(Handler handler) {
    handler();
    refresh();
}

template <typename Handler>
void Rep2WavWindow::runDisabled(Handler handler) {
    setEnabled(false);
    repaint();
    handler();
    setEnabled(true);
    refresh();
}

void Rep2WavWindow::Toolbar1_ButtonClick(int index) {
    const auto click = [this, index] { m_model.Toolbar1_ButtonClick(index); };
    if (index == Rep2Wav::kSaveButton)
        runDisabled(click);
    else
        run(click);
}

void Rep2WavWindow::Open_Click() {
    run([this] { m_model.Open_Click(); });
}

void Rep2WavWindow::Save_Click() {
    runDisabled([this] { m_model.Save_Click(); });
}

void Rep2WavWindow::resizeEvent(QResizeEvent* event) {
    ConverterWindow::resizeEvent(event);
    m_toolbar->setGeometry(0, 0, event->size().width(), twipsToPixels(kToolbarHeight));
}

}  // namespace brenvik
