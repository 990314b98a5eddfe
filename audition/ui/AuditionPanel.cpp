#include "AuditionPanel.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "AudioPlayback.h"
#include "Interaction.h"
#include "Messages.h"
#include "QtFormLook.h"
#include "WaveformView.h"

namespace brenvik {

namespace {

std::vector<AuditionPanel*>& allPanels() {
    static std::vector<AuditionPanel*> panels;
    return panels;
}

// A run as it lies on disk now: the same file rewritten is other audio.
void describeRuns(std::string& out, const std::vector<audition::SampleRun>& runs) {
    for (const audition::SampleRun& run : runs) {
        std::error_code ec;
        const auto written = std::filesystem::last_write_time(run.path, ec);
        out += run.path + '|' + std::to_string(run.offset) + '|' + std::to_string(run.frames) +
               '|' + std::to_string(run.channels) + '|' +
               std::to_string(written.time_since_epoch().count()) + '\n';
    }
}

std::string describe(const audition::Preparation& prepared,
                     const std::optional<audition::WaveformSource>& waveform) {
    std::string out = prepared.reason + '\n';
    if (prepared.source) describeRuns(out, prepared.source->runs);
    if (waveform) {
        out += "view " + std::to_string(waveform->markFrom) + ' ' +
               std::to_string(waveform->markTo) + ' ' + std::to_string(waveform->playFrom) + '\n';
        describeRuns(out, waveform->runs);
    }
    return out;
}

// The focused widget takes a typed space itself: text typed into a box, a button pressed, a list
// opened. A read-only box takes no typing, so Space plays there.
bool takesSpace(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QTextEdit*>(widget)) return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) return !edit->isReadOnly();
    return qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget);
}

}  // namespace

AuditionPanel::AuditionPanel(Interaction& ui, QWidget* parent)
    : QWidget(parent),
      m_ui(ui),
      m_playback(new AudioPlayback(this)),
      m_playButton(new QPushButton(this)),
      m_waveform(new WaveformView(this)),
      m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("auditionPanel"));
    allPanels().push_back(this);
    m_playButton->setObjectName(QStringLiteral("playButton"));
    m_playButton->setAutoDefault(false);
    m_note->setObjectName(QStringLiteral("auditionNote"));
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    paintText(m_note, systemWindowColour());
    m_note->hide();
    m_waveform->followPlayback(m_playback);

    auto* row = new QHBoxLayout;
    row->addWidget(m_playButton, 0, Qt::AlignTop);
    row->addWidget(m_waveform, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row, 1);
    layout->addWidget(m_note);

    connect(m_playButton, &QPushButton::clicked, this, &AuditionPanel::togglePlayback);
    connect(m_playback, &AudioPlayback::playingChanged, this, &AuditionPanel::drawButton);
    connect(m_playback, &AudioPlayback::availabilityChanged, this, &AuditionPanel::drawButton);
    connect(m_playback, &AudioPlayback::failed, this, [this](const QString& reason) {
        m_ui.message(reason.toStdString(), MessageButtons::Ok, MessageIcon::Critical);
    });
    connect(&m_waveform->peaks(), &PeakLoader::failed, this, &AuditionPanel::setNote);
    clear({});
}

AuditionPanel::~AuditionPanel() {
    if (qApp && m_spaceWindow) qApp->removeEventFilter(this);
    std::erase(allPanels(), this);
    m_playback->disconnect(this);  // the output stops as the panel goes: the panel draws no more
}

void AuditionPanel::show(const audition::Preparation& prepared,
                         const std::optional<audition::WaveformSource>& waveform) {
    std::string shown = describe(prepared, waveform);
    if (shown == m_shown) return;
    m_shown = std::move(shown);
    m_source = prepared.source;
    m_refusal = QString::fromStdString(prepared.cause.empty() ? prepared.reason : prepared.reason + '\n' + prepared.cause);
    setNote(m_refusal);
    if (waveform)
        m_waveform->show(*waveform);
    else
        m_waveform->clear();
    if (!m_playback->isPlaying()) {
        drawButton();
    } else if (m_source) {
        start();  // what plays follows what is shown
    } else {
        m_playback->stop();
    }
}

void AuditionPanel::clear(const std::string& why) {
    m_playback->stop();
    m_shown.clear();
    m_source.reset();
    m_refusal = QString::fromStdString(why);
    setNote({});
    m_waveform->clear();
    drawButton();
}

void AuditionPanel::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

bool AuditionPanel::isPlaying() const {
    return m_playback->isPlaying();
}

void AuditionPanel::togglePlayback() {
    if (m_playback->isPlaying())
        m_playback->stop();
    else if (m_source)
        start();
}

void AuditionPanel::start() {
    for (AuditionPanel* other : allPanels())
        if (other != this) other->m_playback->stop();
    if (!m_playback->play(*m_source))
        m_ui.message(m_playback->lastError().toStdString(), MessageButtons::Ok,
                     MessageIcon::Critical);
}

// The button says what a click does, or, disabled, why nothing can be played.
void AuditionPanel::drawButton() {
    const bool playing = m_playback->isPlaying();
    const QString unavailable = m_playback->unavailableReason();
    m_playButton->setText(
        QString::fromLatin1(playing ? message::kStopCaption : message::kPlayCaption));
    m_playButton->setIcon(
        style()->standardIcon(playing ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    m_playButton->setEnabled(playing || (unavailable.isEmpty() && m_source));
    if (playing)
        m_playButton->setToolTip(QString::fromLatin1(message::kStopTip));
    else if (!unavailable.isEmpty())
        m_playButton->setToolTip(unavailable);
    else
        m_playButton->setToolTip(m_source ? QString::fromLatin1(message::kPlayTip) : m_refusal);
}

void AuditionPanel::takeSpaceIn(QWidget* window) {
    if (!m_spaceWindow) qApp->installEventFilter(this);
    m_spaceWindow = window;
}

// Seen once, as the key reaches the focused widget, before that widget sees it. A held key
// repeats nothing.
bool AuditionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget != QApplication::focusWidget() || takesSpace(widget) ||
        !m_playButton->isEnabled())
        return false;
    if (widget != m_spaceWindow && !m_spaceWindow->isAncestorOf(widget)) return false;
    if (!key->isAutoRepeat()) togglePlayback();
    return true;
}

}  // namespace brenvik
