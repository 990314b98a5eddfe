#include "Pref.h"

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

#include "AppGlobals.h"
#include "DirSelect.h"
#include "FreeLoopSearch.h"
#include "Numbers.h"
#include "Platform.h"
#include "QtFormLook.h"
#include "QtTypingLimit.h"
#include "StartupPreferences.h"

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

QPushButton* makeButton(QWidget* owner, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), owner);
    button->setObjectName(QString::fromLatin1(name));
    // The design names no default button: Enter in a field does not press OK.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Pref::Pref(AppGlobals& globals, Platform& platform, std::function<DirSelect*()> folderChooser,
           std::function<void(const std::string&)> setLoopNumber, QWidget* parent)
    : QDialog(parent),
      Label1(makeLabel(this, "Label1", "Initial .wav file directory:")),
      intWav(makeField(this, "intWav", 50)),
      initWave(makeFolderButton(this, "initWave")),
      Label2(makeLabel(this, "Label2", "Initial loop directory:")),
      intLoop(makeField(this, "intLoop", 50)),
      initLoop(makeFolderButton(this, "initLoop")),
      Label4(makeLabel(this, "Label4", "Milliseconds in crossfade:")),
      fadeSecs(makeField(this, "fadeSecs", 10)),
      Label3(makeLabel(this, "Label3", "Automatically find next available loop:")),
      autoIncr(new QCheckBox(this)),
      Command2(makeButton(this, "Command2", "Cancel")),
      Command1(makeButton(this, "Command1", "OK")),
      m_globals(globals),
      m_platform(platform),
      m_folderChooser(std::move(folderChooser)),
      m_setLoopNumber(std::move(setLoopNumber)) {
    setObjectName(QStringLiteral("Pref"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFixedSize(twipsSize(8985, 2685));
    paintBackground(this, bgrColor(0x00404000));
    autoIncr->setObjectName(QStringLiteral("autoIncr"));

    placeTwips(Label1, 120, 480, 4815, 375);
    placeTwips(intWav, 3600, 480, 4935, 285);
    placeTwips(initWave, 8520, 480, 360, 255);
    placeTwips(Label2, 120, 840, 4815, 375);
    placeTwips(intLoop, 3600, 840, 4935, 285);
    placeTwips(initLoop, 8520, 840, 360, 255);
    placeTwips(Label4, 120, 1200, 4815, 375);
    placeTwips(fadeSecs, 3600, 1200, 4935, 285);
    placeTwips(Label3, 120, 1560, 4815, 375);
    placeTwips(autoIncr, 3600, 1560, 495, 255);
    placeTwips(Command2, 1440, 2040, 1815, 495);
    placeTwips(Command1, 5640, 2040, 1815, 495);
    // The crossfade length is carried through unchanged: the user cannot edit it here.
    Label4->setEnabled(false);
    Label4->hide();
    fadeSecs->hide();

    // Labels lie above the fields in the design; keep the fields clickable.
    for (QWidget* field : std::initializer_list<QWidget*>{intWav, initWave, intLoop, initLoop, autoIncr})
        field->raise();
    setTabOrder(intWav, initWave);
    setTabOrder(initWave, intLoop);
    setTabOrder(intLoop, initLoop);
    setTabOrder(initLoop, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, autoIncr);

    connect(initLoop, &QToolButton::clicked, this, [this] { initLoop_Click(); });
    connect(initWave, &QToolButton::clicked, this, [this] { initWave_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void Pref::Form_Load() {
    intLoop->setText(QString::fromStdString(m_globals.initLoopDir));
    intWav->setText(QString::fromStdString(m_globals.initWaveDir));
    fadeSecs->setText(QString::fromStdString(intToText(m_globals.crossfadeMs)));
    // Values other than 0 and 1 come only from a hand-edited store; they mean "on".
    autoIncr->setChecked(m_globals.autoIncrement != 0);
}

void Pref::initLoop_Click() { pickFolder(intLoop, "Initial loop file directory", m_globals.initLoopDir); }

void Pref::initWave_Click() {
    pickFolder(intWav, "Initial .wav file directory", m_globals.initWaveDir);
}

// The chooser opens on the last saved folder, not on a text typed but not yet saved; Cancel
// gives the field its own text back.
void Pref::pickFolder(QLineEdit* field, const char* caption, const std::string& savedFolder) {
    QPointer<DirSelect> chooser = m_folderChooser ? m_folderChooser() : nullptr;
    if (!chooser) return;
    chooser->setWindowTitle(QString::fromLatin1(caption));
    chooser->presetFolder(QString::fromStdString(savedFolder));
    m_globals.chosenFolder = field->text().toStdString();
    chooser->showModal();
    field->setText(QString::fromStdString(m_globals.chosenFolder));
}

void Pref::Command1_Click() {
    applyAndSave();
    hide();
}

// Steps run in order; a failure ends them where it happens, keeping what was already done.
void Pref::applyAndSave() {
    try {
        m_globals.initLoopDir = intLoop->text().toStdString();
        m_globals.initWaveDir = intWav->text().toStdString();
        m_globals.autoIncrement = autoIncr->isChecked() ? 1 : 0;
        m_globals.crossfadeMs = textToInt16(fadeSecs->text().toStdString());
        if (m_globals.autoIncrement != 0) {
            const auto free = firstFreeLoop(m_platform, m_globals.initLoopDir);
            if (free && m_setLoopNumber) m_setLoopNumber(std::to_string(*free));
        }
        m_platform.writeSetting(kSettingsSection, kKeyLoopDir, m_globals.initLoopDir);
        m_platform.writeSetting(kSettingsSection, kKeyWaveDir, m_globals.initWaveDir);
        m_platform.writeSetting(kSettingsSection, kKeyAutoIncrement, intToText(m_globals.autoIncrement));
        m_platform.writeSetting(kSettingsSection, kKeyCrossfade, intToText(m_globals.crossfadeMs));
    } catch (const std::exception&) {
        m_platform.message("Error in Preferences", MessageButtons::Ok, MessageIcon::Critical);
    }
}

void Pref::Command2_Click() { close(); }

void Pref::reject() { close(); }

void Pref::closeEvent(QCloseEvent* event) {
    event->accept();
    deleteLater();
}

}  // namespace brenvik
