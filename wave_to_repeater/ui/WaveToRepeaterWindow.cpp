#include "WaveToRepeaterWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QFileInfo>
#include <QToolBar>
#include <algorithm>
#include <exception>
#include <optional>

#include "AudioImport.h"
#include "AuditionPanel.h"
#include "DoubleClickLabel.h"
#include "Messages.h"
#include "Numbers.h"
#include "QtFocusReturn.h"
#include "QtFormLook.h"
#include "QtPathLabel.h"
#include "RoutineError.h"
#include "TempoScrollBar.h"

namespace brenvik {
namespace {

// The listening panel lies below every part of the form, across the design's width.
constexpr int kAuditionGap = 240;  // twips

int lowestBottom(const QWidget* window) {
    int bottom = 0;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) bottom = std::max(bottom, child->geometry().bottom() + 1);
    return bottom;
}

// Scroll bar values stay inside their 16-bit ranges, so the narrowing is exact.
int16_t barValue(int value) { return static_cast<int16_t>(value); }

QString text(const std::string& s) { return QString::fromStdString(s); }

// A text that is already there is left alone, so the cursor stays where the user typed.
void setBoxText(QLineEdit* box, const QString& value) {
    if (box->text() == value) return;
    const QSignalBlocker blocker(box);
    box->setText(value);
}

void setBar(QScrollBar* bar, int low, int high, int step, int page, int value) {
    const QSignalBlocker blocker(bar);
    bar->setRange(low, high);
    bar->setSingleStep(step);
    bar->setPageStep(page);
    bar->setValue(value);
}

}  // namespace

WaveToRepeaterWindow::WaveToRepeaterWindow(Preferences& preferences, Files& files, Interaction& ui,
                                           QWidget* parent)
    : ConverterWindow(QStringLiteral(".WAV to Repeater"), twipsSize(11400, 8310),
                      QStringLiteral("&About Brenvik"), parent),
      m_interaction(ui),
      m_preferences(preferences),
      m_model(preferences, files, ui) {
    setObjectName(QStringLiteral("waveToRepeaterWindow"));
    setFont(sansFont(8.25));
    paintBackground(this, QColor(128, 0, 0));
    m_ui = buildWaveToRepeaterForm(this);
    m_ui.toolbar->addAction(cardAction());  // after the window's own buttons
    m_ui.loopPrefixBox->setText(text(Files::separator() + "LOOP"));
    m_auditionTop = lowestBottom(this) + twipsToPixels(kAuditionGap);  // the form is laid out
    m_audition = new AuditionPanel(ui, this);
    m_audition->takeSpaceIn(this);
    placeStretchedParts();
    buildMenus();
    connectControls();
    m_model.setInputEnabled = [this](bool enabled) { setInputEnabled(enabled); };
    m_model.showStatus = [this](const std::string& note) { emit statusMessage(QString::fromStdString(note)); };
    m_model.load();
    draw();
}

WaveToRepeaterWindow::~WaveToRepeaterWindow() = default;

void WaveToRepeaterWindow::buildMenus() {
    m_openAction = makeAction(QStringLiteral("openAction"), QStringLiteral("&Open Normal Wave File..."),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveAction = makeAction(QStringLiteral("saveAction"), QStringLiteral("&Save as Repeater Loop..."),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    // An addition: after the menu's own commands, which keep their order and shortcuts.
    m_importAction = makeAction(QStringLiteral("importAction"), QStringLiteral("&Import and Convert..."),
                                QKeySequence(Qt::CTRL | Qt::Key_I));
    insertFileActions({m_openAction, m_saveAction, m_importAction});
    connect(m_importAction, &QAction::triggered, this,
            [this] { opened([this] { m_model.importFromDialog(); }); });
    for (QAction* open : {m_openAction, m_ui.openButton})
        connect(open, &QAction::triggered, this, [this] { opened([this] { m_model.open(); }); });
    for (QAction* save : {m_saveAction, m_ui.saveButton})
        connect(save, &QAction::triggered, this, &WaveToRepeaterWindow::onSave);
}

void WaveToRepeaterWindow::connectControls() {
    connect(m_ui.destinationButton, &QPushButton::clicked, this,
            [this] { run([this] { m_model.browseDestination(); }); });
    connect(m_ui.beatsButton, &QPushButton::clicked, this, [this] { run([this] { m_model.stepBeatsPerBar(); }); });
    connect(m_ui.foundTempoButton, &QPushButton::clicked, this, [this] { run([this] { m_model.useFoundTempo(); }); });
    connect(m_ui.loopNumberBox, &QLineEdit::textEdited, this,
            [this](const QString& typed) { run([this, typed] { m_model.setLoopNumberText(typed.toStdString()); }); });
    connect(m_ui.tempoBar, &QScrollBar::valueChanged, this,
            [this](int value) { run([this, value] { m_model.setTempoPosition(barValue(value)); }); });
    connectChannel(m_ui.left, Channel::Left);
    connectChannel(m_ui.right, Channel::Right);
}

void WaveToRepeaterWindow::connectChannel(const ChannelWidgets& widgets, Channel channel) {
    connect(widgets.pitchBar, &QScrollBar::valueChanged, this,
            [this, channel](int value) { run([this, channel, value] { m_model.setPitch(channel, barValue(value)); }); });
    connect(widgets.panBar, &QScrollBar::valueChanged, this,
            [this, channel](int value) { run([this, channel, value] { m_model.setPan(channel, barValue(value)); }); });
    connect(widgets.pitchLabel, &DoubleClickLabel::doubleClicked, this,
            [this, channel] { run([this, channel] { m_model.setPitch(channel, 0); }); });
    connect(widgets.panLabel, &DoubleClickLabel::doubleClicked, this,
            [this, channel] { run([this, channel] { m_model.setPan(channel, 0); }); });
    for (int track = 1; track <= kTrackCount; ++track)
        connect(widgets.trackOptions[static_cast<size_t>(track - 1)], &QRadioButton::clicked, this,
                [this, channel, track] { run([this, channel, track] { m_model.selectTrack(channel, track); }); });
}

void WaveToRepeaterWindow::run(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception&) {
        m_interaction.logFailure(windowTitle().toStdString(), caughtReason());
    }
    draw();
}

// The focus comes back to where it was once the window takes input again.
void WaveToRepeaterWindow::onSave() {
    {
        const FocusReturn focusReturn(this);
        run([this] { m_model.save(); });
    }
    emit filesWritten();
}

// The folder and the number of the Loop row belong together: a new initial loop folder, or
// automatic numbering turned on, takes the row there with the free number. The will-write line
// shows what the other preferences now make of the next Save.
void WaveToRepeaterWindow::applyPreferences(const Preferences& before) {
    if (before.loopFolder != m_preferences.loopFolder ||
        before.autoIncrement != m_preferences.autoIncrement)
        m_model.findFreeLoop();
    draw();
}

void WaveToRepeaterWindow::opened(const std::function<void()>& command) {
    run(command);
    showAudition();
    focusWhereSpacePlays(m_audition->playButton());
}

void WaveToRepeaterWindow::openWave(const std::string& path) {
    opened([this, &path] { m_model.openWaveFile(path); });
}

void WaveToRepeaterWindow::showAudition() {
    m_auditionedWave = m_model.wavePath();
    if (m_model.wavePath().empty()) {
        m_audition->clear(message::kNoWaveOpened);
        return;
    }
    const audition::Preparation prepared = audition::sourceOfWave(m_model.wavePath());
    m_audition->show(prepared, prepared.source ? std::optional(audition::waveformOfWave(*prepared.source))
                                               : std::nullopt);
}

void WaveToRepeaterWindow::importAudio(const std::string& path) {
    opened([this, &path] { m_model.importAudio(path); });
}

bool WaveToRepeaterWindow::canOpenDropped(const QStringList& paths) const {
    return paths.size() == 1 && QFileInfo(paths[0]).isFile() && isImportableName(paths[0].toStdString());
}

void WaveToRepeaterWindow::openDropped(const QStringList& paths) {
    const std::string path = paths[0].toStdString();
    opened([this, &path] { m_model.openDropped(path); });
}

QString WaveToRepeaterWindow::dropsTaken() const { return QString::fromLatin1(message::kWaveWindowDrops); }

void WaveToRepeaterWindow::draw() {
    const WaveToRepeaterModel& m = m_model;
    const bool controls = m.loopControlsEnabled();
    m_ui.saveButton->setEnabled(controls);
    showPath(m_ui.wavePathLabel, text(m.wavePath()));
    drawConversion();
    if (m.wavePath() != m_auditionedWave) showAudition();  // however the wave was opened
    setBoxText(m_ui.destinationBox, text(m.destination()));
    setBoxText(m_ui.loopNumberBox, text(m.loopNumberText()));
    const LoopSettings& s = m.settings();
    setBoxText(m_ui.tempoBox, m.tempoShown() ? text(oneDecimal(*m.tempoShown())) : QString());
    setBoxText(m_ui.barsBox, m.barsShown() ? QString::number(*m.barsShown()) : QString());
    setBoxText(m_ui.beatsBox, QString::number(s.beatsPerBar));
    setBoxText(m_ui.divisionBox, QString::number(s.division));
    setBar(m_ui.tempoBar, 0, m.maxBeats(), 1, 10, m.tempoPosition());
    const auto& found = m.foundTempo();
    m_ui.foundTempoLabel->setText(found ? text(message::foundTempoNote(found->beatsPerMinute)) : QString());
    m_ui.foundTempoButton->setEnabled(found.has_value());
    m_ui.tempoBar->setEnabled(controls);
    m_ui.left.trackFrame->setEnabled(controls);
    const bool stereo = m.showsRightChannel();
    m_ui.left.header->setText(stereo ? QStringLiteral("Left Channel") : QStringLiteral("Mono"));
    drawChannel(m_ui.left, Channel::Left, true);
    drawChannel(m_ui.right, Channel::Right, stereo);
    drawWillWrite();
}

// What a Save would write now; a warning instead when it would be refused or would not write
// what the window shows. The summary stays in the tooltip.
void WaveToRepeaterWindow::drawWillWrite() {
    const std::optional<SavePreview> preview = m_model.savePreview();
    if (!preview) {
        showWillWrite(m_ui.willWriteLine, QString(), false);
        m_ui.willWriteLine->setToolTip(QString());
        return;
    }
    QStringList warnings;
    if (preview->refusal) warnings << text(*preview->refusal);
    for (const std::string& warning : preview->plan.warnings) warnings << text(warning);
    const QString summary =
        preview->refusal ? QString() : text(message::willWrite(planSummary(preview->plan, preview->loopFolder)));
    showWillWrite(m_ui.willWriteLine, warnings.isEmpty() ? summary : warnings.join(QLatin1Char(' ')),
                  !warnings.isEmpty());
    m_ui.willWriteLine->setToolTip(summary);
}

void WaveToRepeaterWindow::drawChannel(const ChannelWidgets& w, Channel channel, bool visible) {
    const ChannelSettings& c = m_model.channel(channel);
    for (int track = 1; track <= kTrackCount; ++track) {
        QRadioButton* option = w.trackOptions[static_cast<size_t>(track - 1)];
        const QSignalBlocker blocker(option);
        option->setText(QString::number(track));
        option->setChecked(c.track == track);
        option->setEnabled(m_model.trackEnabled(channel, track));
    }
    setBar(w.pitchBar, kLowestPitch, kHighestPitch, 1, 50, c.pitch);
    setBar(w.panBar, kLowestPan, kHighestPan, 1, 10, c.pan);
    setBoxText(w.pitchBox, text(pitchText(c.pitch)));
    setBoxText(w.panBox, text(panText(c.pan)));
    if (channel == Channel::Left) return;
    for (QWidget* widget : {static_cast<QWidget*>(w.header), static_cast<QWidget*>(w.strip),
                            static_cast<QWidget*>(w.trackLabel), static_cast<QWidget*>(w.trackFrame),
                            static_cast<QWidget*>(w.backing), static_cast<QWidget*>(w.pitchLabel),
                            static_cast<QWidget*>(w.pitchBar), static_cast<QWidget*>(w.pitchBox),
                            static_cast<QWidget*>(w.panLabel), static_cast<QWidget*>(w.panBar),
                            static_cast<QWidget*>(w.panBox)})
        widget->setVisible(visible);
}

// The file line keeps the path Save reads, the converted copy; the original's name and what was
// converted stand above it, the original's full path in the tooltip.
void WaveToRepeaterWindow::drawConversion() {
    const ConversionNote* note = m_model.conversionNote();
    m_ui.conversionLabel->setVisible(note != nullptr);
    if (!note) return;
    const QString original = text(note->original);
    m_ui.conversionLabel->setText(text(message::convertedFrom(QFileInfo(original).fileName().toStdString())) +
                                  QLatin1Char('\n') + text(conversionSummary(note->source)));
    m_ui.conversionLabel->setToolTip(original);
}

// The toolbar runs across the top of the window whatever its width; the listening panel fills
// what lies below the controls.
void WaveToRepeaterWindow::placeStretchedParts() {
    m_ui.toolbar->setGeometry(0, 0, width(), m_ui.toolbar->sizeHint().height());
    m_audition->setGeometry(0, m_auditionTop, twipsToPixels(11400),
                            std::max(height() - m_auditionTop, m_audition->minimumSizeHint().height()));
}

void WaveToRepeaterWindow::resizeEvent(QResizeEvent* event) {
    ConverterWindow::resizeEvent(event);
    placeStretchedParts();
}

}  // namespace brenvik
