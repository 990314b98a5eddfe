#include "PreferencesDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <exception>
#include <iterator>

#include "FolderChooser.h"
#include "Interaction.h"
#include "Messages.h"
#include "Numbers.h"
#include "Preferences.h"
#include "QtFocusRing.h"
#include "QtFormLook.h"
#include "QtTypingLimit.h"
#include "RoutineError.h"
#include "SettingsStore.h"

namespace brenvik {
namespace {

QLabel* makeLabel(QWidget* owner, const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromLatin1(caption), owner);
    label->setObjectName(QString::fromLatin1(name));
    // Label text starts at the label's top-left corner, level with the field beside it.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintText(label, systemWindowColour());
    return label;
}

QLineEdit* makeField(QWidget* owner, const char* name, int maxChars) {
    auto* field = new QLineEdit(owner);
    field->setObjectName(QString::fromLatin1(name));
    limitTyping(field, maxChars);
    return field;
}

QToolButton* makeFolderButton(QWidget* owner, const char* name) {
    auto* button = new QToolButton(owner);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(owner->style()->standardIcon(QStyle::SP_DirIcon));
    return button;
}

// The distance from one row of the dialog to the next.
constexpr int kRowTwips = 360;

QPushButton* makeButton(QWidget* owner, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), owner);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the button that has the focus, and OK from anywhere else.
    button->setAutoDefault(true);
    return button;
}

}  // namespace

PreferencesDialog::PreferencesDialog(Preferences& preferences, SettingsStore& store,
                                     Interaction& ui, std::function<FolderChooser*()> folderChooser,
                                     std::function<void(const Preferences& before)> applied,
                                     QWidget* parent)
    : QDialog(parent),
      m_preferences(preferences),
      m_ui(ui),
      m_store(store),
      m_folderChooser(std::move(folderChooser)),
      m_applied(std::move(applied)),
      m_waveFolderLabel(makeLabel(this, "waveFolderLabel", "Initial .wav file directory:")),
      m_waveFolderEdit(makeField(this, "waveFolderEdit", 50)),
      m_waveFolderButton(makeFolderButton(this, "waveFolderButton")),
      m_loopFolderLabel(makeLabel(this, "loopFolderLabel", "Initial loop directory:")),
      m_loopFolderEdit(makeField(this, "loopFolderEdit", 50)),
      m_loopFolderButton(makeFolderButton(this, "loopFolderButton")),
      m_crossfadeLabel(makeLabel(this, "crossfadeLabel", "Milliseconds in crossfade:")),
      m_crossfadeEdit(makeField(this, "crossfadeEdit", 10)),
      m_autoIncrementLabel(
          makeLabel(this, "autoIncrementLabel", "Automatically find next available loop:")),
      m_autoIncrementCheck(new QCheckBox(this)),
      m_tempoAsShownLabel(
          makeLabel(this, "tempoAsShownLabel", "Write the tempo the window shows:")),
      m_tempoAsShownCheck(new QCheckBox(this)),
      m_readBackLabel(makeLabel(this, "readBackLabel", "Read back what is written to the card:")),
      m_readBackCheck(new QCheckBox(this)),
      m_guessBeatsLabel(makeLabel(this, "guessBeatsLabel", "Guess the beat count from the audio:")),
      m_guessBeatsCheck(new QCheckBox(this)),
      m_namesOnCardLabel(makeLabel(this, "namesOnCardLabel", "Keep loop names on the card:")),
      m_namesOnCardCheck(new QCheckBox(this)),
      m_cancelButton(makeButton(this, "cancelButton", "Cancel")),
      m_okButton(makeButton(this, "okButton", "OK")) {
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(QStringLiteral("Preferences"));
    // Three rows taller than the design, for the read-back, guessed-beats and names rows under
    // the design's own rows.
    setFixedSize(twipsSize(8985, 2685 + 3 * kRowTwips));
    paintBackground(this, bgrColor(0x00404000));
    m_autoIncrementCheck->setObjectName(QStringLiteral("autoIncrementCheck"));
    m_tempoAsShownCheck->setObjectName(QStringLiteral("tempoAsShownCheck"));
    m_readBackCheck->setObjectName(QStringLiteral("readBackCheck"));
    m_guessBeatsCheck->setObjectName(QStringLiteral("guessBeatsCheck"));
    m_namesOnCardCheck->setObjectName(QStringLiteral("namesOnCardCheck"));

    placeTwips(m_waveFolderLabel, 120, 480, 4815, 375);
    placeTwips(m_waveFolderEdit, 3600, 480, 4935, 285);
    placeTwips(m_waveFolderButton, 8520, 480, 360, 255);
    placeTwips(m_loopFolderLabel, 120, 840, 4815, 375);
    placeTwips(m_loopFolderEdit, 3600, 840, 4935, 285);
    placeTwips(m_loopFolderButton, 8520, 840, 360, 255);
    placeTwips(m_crossfadeLabel, 120, 1200, 4815, 375);
    placeTwips(m_crossfadeEdit, 3600, 1200, 4935, 285);
    placeTwips(m_autoIncrementLabel, 120, 1560, 4815, 375);
    placeTwips(m_autoIncrementCheck, 3600, 1560, 495, 255);
    // An addition to the design: it takes the row the hidden crossfade field leaves empty.
    placeTwips(m_tempoAsShownLabel, 120, 1200, 4815, 375);
    placeTwips(m_tempoAsShownCheck, 3600, 1200, 495, 255);
    // Additions too: rows of their own below the design's, the buttons as many rows lower.
    placeTwips(m_readBackLabel, 120, 1560 + kRowTwips, 4815, 375);
    placeTwips(m_readBackCheck, 3600, 1560 + kRowTwips, 495, 255);
    placeTwips(m_guessBeatsLabel, 120, 1560 + 2 * kRowTwips, 4815, 375);
    placeTwips(m_guessBeatsCheck, 3600, 1560 + 2 * kRowTwips, 495, 255);
    placeTwips(m_namesOnCardLabel, 120, 1560 + 3 * kRowTwips, 4815, 375);
    placeTwips(m_namesOnCardCheck, 3600, 1560 + 3 * kRowTwips, 495, 255);
    placeTwips(m_cancelButton, 1440, 2040 + 3 * kRowTwips, 1815, 495);
    placeTwips(m_okButton, 5640, 2040 + 3 * kRowTwips, 1815, 495);
    // The crossfade length is carried through unchanged: the user cannot see or edit it here.
    m_crossfadeLabel->setEnabled(false);
    m_crossfadeLabel->hide();
    m_crossfadeEdit->hide();

    // Labels lie above the fields in the design; keep the fields clickable.
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_waveFolderEdit, m_waveFolderButton, m_loopFolderEdit,
                                         m_loopFolderButton, m_autoIncrementCheck, m_tempoAsShownCheck,
                                         m_readBackCheck, m_guessBeatsCheck, m_namesOnCardCheck})
        field->raise();
    // Tab goes as the eye reads: the rows top to bottom, then the buttons left to right.
    QWidget* const inTabOrder[] = {m_waveFolderEdit,   m_waveFolderButton,  m_loopFolderEdit,
                                   m_loopFolderButton, m_tempoAsShownCheck, m_autoIncrementCheck,
                                   m_readBackCheck,    m_guessBeatsCheck,   m_namesOnCardCheck,
                                   m_cancelButton,     m_okButton};
    for (size_t i = 1; i < std::size(inTabOrder); ++i)
        setTabOrder(inTabOrder[i - 1], inTabOrder[i]);
    m_okButton->setDefault(true);

    connect(m_waveFolderButton, &QToolButton::clicked, this,
            &PreferencesDialog::onWaveFolderClicked);
    connect(m_loopFolderButton, &QToolButton::clicked, this,
            &PreferencesDialog::onLoopFolderClicked);
    connect(m_okButton, &QPushButton::clicked, this, &PreferencesDialog::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &PreferencesDialog::onCancelClicked);
    showFocusRing(this);

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_loopFolderEdit->setText(QString::fromStdString(preferences.loopFolder));
    m_waveFolderEdit->setText(QString::fromStdString(preferences.waveFolder));
    m_crossfadeEdit->setText(QString::fromStdString(intToText(preferences.crossfadeMs)));
    m_autoIncrementCheck->setChecked(preferences.autoIncrement);
    m_tempoAsShownCheck->setChecked(preferences.tempoAsShown);
    m_readBackCheck->setChecked(preferences.readBack);
    m_guessBeatsCheck->setChecked(preferences.guessBeats);
    m_namesOnCardCheck->setChecked(preferences.namesOnCard);
}

void PreferencesDialog::onWaveFolderClicked() {
    chooseFolderFor(m_waveFolderEdit, "Initial .wav file directory", m_preferences.waveFolder);
}

void PreferencesDialog::onLoopFolderClicked() {
    chooseFolderFor(m_loopFolderEdit, "Initial loop file directory", m_preferences.loopFolder);
}

// The chooser opens on the last saved folder, not on a text typed but not yet saved; Cancel
// leaves the field's own text.
void PreferencesDialog::chooseFolderFor(QLineEdit* field, const char* caption,
                                        const std::string& savedFolder) {
    FolderChooser* chooser = m_folderChooser ? m_folderChooser() : nullptr;
    if (!chooser) return;
    chooser->presetFolder(QString::fromStdString(savedFolder));
    if (const auto chosen = chooser->choose(QString::fromLatin1(caption)))
        field->setText(QString::fromStdString(*chosen));
}

void PreferencesDialog::onOkClicked() {
    applyAndSave();
    hide();
}

// The steps run in this order; a failure ends them where it happens, keeping what was done,
// which the windows then show.
void PreferencesDialog::applyAndSave() {
    const Preferences before = m_preferences;
    try {
        m_preferences.loopFolder = m_loopFolderEdit->text().toStdString();
        m_preferences.waveFolder = m_waveFolderEdit->text().toStdString();
        m_preferences.autoIncrement = m_autoIncrementCheck->isChecked();
        m_preferences.crossfadeMs = textToInt16(m_crossfadeEdit->text().toStdString());
        m_preferences.tempoAsShown = m_tempoAsShownCheck->isChecked();
        m_preferences.readBack = m_readBackCheck->isChecked();
        m_preferences.guessBeats = m_guessBeatsCheck->isChecked();
        m_preferences.namesOnCard = m_namesOnCardCheck->isChecked();
        writePreferences(m_store, m_preferences);
    } catch (const std::exception&) {
        m_ui.message(message::kPreferencesFailed, MessageButtons::Ok, MessageIcon::Critical, caughtReason());
    }
    if (m_applied) m_applied(before);
}

void PreferencesDialog::onCancelClicked() {
    close();
}

void PreferencesDialog::reject() {
    close();
}

void PreferencesDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    deleteLater();
}

}  // namespace brenvik
