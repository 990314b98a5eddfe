#include "RepeaterToWaveWindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolBar>
#include <algorithm>
#include <exception>
#include <optional>

#include "AuditionPanel.h"
#include "CardNames.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "QtFormLook.h"
#include "QtPathLabel.h"
#include "UserLibrary.h"
#include "WaveSaving.h"

namespace brenvik {

namespace {

const QColor kWindowBackground(0x00, 0x40, 0x40);
constexpr int kToolBarHeight = 360;  // twips, like every position below
constexpr int kAuditionTop = 2760;    // the listening panel, below the rows

// One column of the design: its header and, row by row, a caption and a value (x and width).
struct Span {
    int x, width;
};
struct ColumnDesign {
    const char* side;
    QColor headerColour, background;
    Span headerSpan;
    std::array<Span, 7> captions, values;
};
const ColumnDesign kLeftDesign{
    "left", QColor(0x00, 0x00, 0xC0), QColor(0x00, 0x00, 0x80), {0, 5775},
    {{{0, 855}, {0, 855}, {0, 975}, {0, 1575}, {0, 1575}, {0, 1695}, {0, 1575}}},
    {{{840, 4935}, {840, 4935}, {960, 4815}, {1560, 4215}, {1560, 4215}, {1680, 4095},
      {1560, 4215}}}};
const ColumnDesign kRightDesign{
    "right", QColor(0xC0, 0x00, 0x00), QColor(0x80, 0x00, 0x00), {5760, 5655},
    {{{5760, 855}, {5760, 855}, {5760, 975}, {5760, 1695}, {5760, 1695}, {5760, 1695},
      {5760, 1695}}},
    {{{6600, 4815}, {6600, 4815}, {6720, 4695}, {7440, 3975}, {7440, 3975}, {7440, 3975},
      {7440, 3975}}}};
constexpr int kHeaderTop = 360, kHeaderHeight = 495, kRowHeight = 255;
constexpr std::array<int, 7> kRowTops{840, 1080, 1320, 1560, 1800, 2040, 2280};
constexpr std::array<const char*, 7> kCaptions{
    "File:", "Loop:", "Track:", "Pre-Buffer:", "Audio Data:", "Post-Buffer:", "Total Size:"};
constexpr std::array<const char*, 7> kRoles{"File",  "Loop",       "Track", "PreBuffer",
                                            "Audio", "PostBuffer", "Total"};

// A label of the window: white text (the system's window colour) on the column's colour.
QLabel* addLabel(QWidget* window, const QString& name, const QString& text, Span span, int top,
                 int height, const QColor& background, const QFont& font) {
    auto* label = new QLabel(text, window);
    label->setObjectName(name);
    placeTwips(label, span.x, top, span.width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    paintBackground(label, background);
    paintText(label, systemWindowColour());
    return label;
}

// A short stretch of wave across the picture, centred on row y.
void drawWave(QPainter& p, const QColor& colour, qreal y, qreal height) {
    QPainterPath path(QPointF(1, y));
    for (int x = 1; x <= 15; x += 2)
        path.quadTo(QPointF(x + 1, (x % 4 == 1) ? y - height : y + height), QPointF(x + 2, y));
    p.setPen(QPen(colour, 1.2));
    p.drawPath(path);
}

void drawOpen(QPainter& p) {
    // A folder with a loop inside: a track of a loop folder.
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xF0, 0xC8, 0x40));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    drawWave(p, QColor(0x00, 0x00, 0x80), 8.5, 2);
}

void drawSave(QPainter& p) {
    // A disk with a wave on its label: the audio without its gaps.
    p.setPen(QColor(0x00, 0x00, 0x60));
    p.setBrush(QColor(0x30, 0x50, 0xB0));
    p.drawRect(1, 1, 13, 12);
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 9, 5);
    drawWave(p, QColor(0xFF, 0xFF, 0x80), 10, 1.5);
}

// The toolbar's pictures, 16 x 15 pixels, drawn here so the program carries no artwork files.
enum class Picture { Open, Save, Mono, Stereo };

QIcon toolBarIcon(Picture picture) {
    QPixmap image(16, 15);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case Picture::Open: drawOpen(p); break;
    case Picture::Save: drawSave(p); break;
    case Picture::Mono: drawWave(p, QColor(0x00, 0x00, 0xC0), 7, 4); break;
    case Picture::Stereo:
        drawWave(p, QColor(0x00, 0x00, 0xC0), 4, 2.5);
        drawWave(p, QColor(0xC0, 0x00, 0x00), 10.5, 2.5);
        break;
    }
    p.end();
    return QIcon(image);
}

// Plain decimal, a leading minus when negative, then " bytes".
QString bytesText(int32_t count) { return QString::number(count) + QStringLiteral(" bytes"); }

}  // namespace

RepeaterToWaveWindow::RepeaterToWaveWindow(const Preferences& preferences, Files& files, Interaction& ui,
                                           QWidget* parent)
    : ConverterWindow(QStringLiteral("Repeater to .WAV"), twipsSize(11400, 6855),
                      QStringLiteral("&About..."), parent),
      m_files(files), m_model(preferences, files, ui) {
    setObjectName(QStringLiteral("repeaterToWaveWindow"));
    paintBackground(this, kWindowBackground);
    buildToolBar();
    buildColumns();
    buildMenus();
    m_audition = new AuditionPanel(ui, this);
    m_audition->takeSpaceIn(this);
    // The window takes no input while a save copies; it is drawn disabled before the copy starts.
    m_model.setInputEnabled = [this](bool enabled) { setInputEnabled(enabled); };
    resize(sizeHint());
    showModel();
}

void RepeaterToWaveWindow::buildColumns() {
    const QFont headerFont = sansFont(12, true), textFont = sansFont(9.75, true);
    const std::array<std::pair<Column*, const ColumnDesign*>, 2> columns{
        {{&m_left, &kLeftDesign}, {&m_right, &kRightDesign}}};
    for (const auto& [column, design] : columns) {
        const QString side = QString::fromLatin1(design->side);
        column->header = addLabel(this, side + "HeaderLabel", QString(), design->headerSpan,
                                  kHeaderTop, kHeaderHeight, design->headerColour, headerFont);
        for (size_t row = 0; row < kRowTops.size(); ++row) {
            const QString role = QString::fromLatin1(kRoles[row]);
            const int top = kRowTops[row];
            column->captions[row] =
                addLabel(this, side + role + "Caption", QString::fromLatin1(kCaptions[row]),
                         design->captions[row], top, kRowHeight, design->background, textFont);
            column->values[row] =
                addLabel(this, side + role + "Label", QString(), design->values[row], top,
                         kRowHeight, design->background, textFont);
        }
    }
    m_right.header->setText(QStringLiteral("Right Channel"));
}

void RepeaterToWaveWindow::buildToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 15));
    paintSystemColours(m_toolBar);
    // Plain push buttons: none stays pressed, and the two mode buttons form no group. The
    // cross-fade button and the separator before it were never shown, so they are left out.
    using Window = RepeaterToWaveWindow;
    const auto addButton = [this](const char* name, Picture picture, const char* toolTip,
                                  void (Window::*slot)()) {
        const QString tip = QString::fromLatin1(toolTip);
        QAction* button = m_toolBar->addAction(toolBarIcon(picture), tip);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(tip);
        connect(button, &QAction::triggered, this, slot);
    };
    addButton("openButton", Picture::Open, "Open Repeater Wave File", &Window::onOpenTriggered);
    addButton("saveButton", Picture::Save, "Remove Gaps and Save", &Window::onSaveTriggered);
    // The style's own separator takes the window's dark green, not the toolbar's grey, and shows
    // as a stray dot; a sunken line in the system's colours separates the buttons instead.
    auto* separator = new QFrame;
    separator->setObjectName(QStringLiteral("toolBarSeparator"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    m_toolBar->addWidget(separator);
    addButton("monoButton", Picture::Mono, "Mono Mode", &Window::onMonoTriggered);
    addButton("stereoButton", Picture::Stereo, "Stereo Mode", &Window::onStereoTriggered);
    m_toolBar->addAction(cardAction());  // after the window's own buttons
}

void RepeaterToWaveWindow::buildMenus() {
    m_openAction = makeAction(QStringLiteral("openAction"),
                              QStringLiteral("&Open Repeater Wave File..."),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveAction = makeAction(QStringLiteral("saveAction"),
                              QStringLiteral("&Save as Normal Wave File..."),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    insertFileActions({m_openAction, m_saveAction});
    connect(m_openAction, &QAction::triggered, this, &RepeaterToWaveWindow::onOpenTriggered);
    connect(m_saveAction, &QAction::triggered, this, &RepeaterToWaveWindow::onSaveTriggered);
}

void RepeaterToWaveWindow::showStereoTracks(const std::string& leftTrack,
                                            const std::string& rightTrack) {
    m_model.openStereoTracks(leftTrack, rightTrack);
    showModel();
}

void RepeaterToWaveWindow::openLoop(const std::string& folder) {
    m_model.openLoop(folder);
    showOpened();
}

namespace {

bool isWaveFile(const QString& path) {
    return QFileInfo(path).isFile() && path.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive);
}

bool isLoopFolder(const QString& path) { return loop::holdsDescription(path.toStdString()); }

}  // namespace

QString RepeaterToWaveWindow::dropsTaken() const { return QString::fromLatin1(message::kRepeaterWindowDrops); }

bool RepeaterToWaveWindow::canOpenDropped(const QStringList& paths) const {
    if (paths.size() == 1) return isWaveFile(paths[0]) || isLoopFolder(paths[0]);
    return paths.size() == 2 && m_model.mode() == ChannelMode::Stereo && isWaveFile(paths[0]) &&
           isWaveFile(paths[1]);
}

void RepeaterToWaveWindow::openDropped(const QStringList& paths) {
    if (paths.size() == 2) {
        QStringList sorted = paths;
        sorted.sort();
        m_model.openStereoTracks(sorted[0].toStdString(), sorted[1].toStdString());
    } else if (isLoopFolder(paths[0])) {
        m_model.openLoop(QDir::cleanPath(paths[0]).toStdString());
    } else {
        m_model.openDroppedTrack(paths[0].toStdString());
    }
    showOpened();
}

void RepeaterToWaveWindow::onOpenTriggered() {
    m_model.open();
    showOpened();
}

void RepeaterToWaveWindow::showOpened() {
    showModel();
    focusWhereSpacePlays(m_audition->playButton());
}

void RepeaterToWaveWindow::onSaveTriggered() {
    m_model.save();
    showModel();
    emit filesWritten();
}

void RepeaterToWaveWindow::onMonoTriggered() {
    m_model.setMode(ChannelMode::Mono);
    showModel();
}

void RepeaterToWaveWindow::onStereoTriggered() {
    m_model.setMode(ChannelMode::Stereo);
    showModel();
}

void RepeaterToWaveWindow::showTrack(const Column& column,
                                     const std::optional<OpenedTrack>& track) {
    std::array<QString, 7> texts;  // an empty channel shows empty fields
    if (track) {
        const TrackSizes& sizes = track->sizes;
        texts = {QString::fromStdString(track->path), loopText(*track),
                 QString::fromStdString(track->trackName), bytesText(sizes.pre),
                 bytesText(sizes.audio), bytesText(sizes.post), bytesText(sizes.total)};
    }
    showPath(column.values[0], texts[0]);
    for (size_t row = 1; row < texts.size(); ++row) column.values[row]->setText(texts[row]);
}

// A loop the library has no record of, or one that cannot be read, shows its folder alone; a
// library that cannot be used is told once on the status line.
QString RepeaterToWaveWindow::loopText(const OpenedTrack& track) {
    std::string name;
    try {
        const std::string folder = Files::parentOf(track.path);
        library::LoopLibrary& names = library::userLibrary(m_files);
        name = library::CardNames(names, Files::parentOf(folder)).of(folder).name();
        if (const auto report = names.takeReport())
            emit statusMessage(QString::fromStdString(*report));
    } catch (const std::exception&) {
        // The row still shows the loop folder.
    }
    return QString::fromStdString(message::namedLoopFolder(track.loopName, name));
}

void RepeaterToWaveWindow::showModel() {
    m_left.header->setText(QString::fromLatin1(m_model.leftHeader()));
    showTrack(m_left, m_model.track(Channel::Left));
    showTrack(m_right, m_model.track(Channel::Right));
    const bool stereo = m_model.rightColumnVisible();
    m_right.header->setVisible(stereo);
    for (QLabel* label : m_right.captions) label->setVisible(stereo);
    for (QLabel* label : m_right.values) label->setVisible(stereo);
    // A track cut short is opened and saved as before, but the status line says so.
    QStringList warnings;
    for (const std::string& warning : m_model.shortTrackWarnings()) warnings << QString::fromStdString(warning);
    if (!warnings.isEmpty()) emit statusMessage(warnings.join(QLatin1Char(' ')));
    showAudition();
}

// A stereo save needs both channels, so the pair plays only once both are opened.
void RepeaterToWaveWindow::showAudition() {
    const std::optional<OpenedTrack>& left = m_model.track(Channel::Left);
    const std::optional<OpenedTrack>& right = m_model.track(Channel::Right);
    if (!left && !right) {
        m_audition->clear(message::kNothingLoaded);
        return;
    }
    const bool stereo = m_model.mode() == ChannelMode::Stereo;
    audition::Preparation prepared;
    if (stereo && !left)
        prepared.reason = message::kNoLeftTrack;
    else if (stereo && !right)
        prepared.reason = message::kNoRightTrack;
    else
        prepared = audition::sourceOfTracks(audioOf(*left), right ? std::optional(audioOf(*right)) : std::nullopt);
    m_audition->show(prepared, audition::waveformOfTracks(left ? *left : *right, left ? right : std::nullopt));
}

void RepeaterToWaveWindow::resizeEvent(QResizeEvent* event) {
    ConverterWindow::resizeEvent(event);
    m_toolBar->setGeometry(0, 0, event->size().width(), twipsToPixels(kToolBarHeight));
    const int top = twipsToPixels(kAuditionTop);
    m_audition->setGeometry(0, top, twipsToPixels(11400),
                            std::max(event->size().height() - top, m_audition->minimumSizeHint().height()));
}

}  // namespace brenvik
