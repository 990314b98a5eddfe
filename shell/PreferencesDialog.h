#pragma once
// The Preferences dialog: edits the preferences. OK (or Enter) copies the fields into the
// preferences, lets the open windows show what the change makes of them, and writes all the
// settings; it then only hides, keeping its fields. Cancel and the close box discard it, so the
// next Preferences command shows the preferences afresh.
#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace brenvik {

class FolderChooser;
class Interaction;
class SettingsStore;
struct Preferences;

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    // folderChooser gives the shared folder chooser, creating it on first use; applied is told,
    // after OK changed the preferences, what they were before.
    PreferencesDialog(Preferences& preferences, SettingsStore& store, Interaction& ui,
                      std::function<FolderChooser*()> folderChooser,
                      std::function<void(const Preferences& before)> applied,
                      QWidget* parent = nullptr);

public slots:
    void reject() override;

private slots:
    void onWaveFolderClicked();
    void onLoopFolderClicked();
    void onOkClicked();
    void onCancelClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseFolderFor(QLineEdit* field, const char* caption, const std::string& savedFolder);
    void applyAndSave();

    Preferences& m_preferences;
    Interaction& m_ui;
    SettingsStore& m_store;
    std::function<FolderChooser*()> m_folderChooser;
    std::function<void(const Preferences& before)> m_applied;
    QLabel* m_waveFolderLabel;
    QLineEdit* m_waveFolderEdit;
    QToolButton* m_waveFolderButton;
    QLabel* m_loopFolderLabel;
    QLineEdit* m_loopFolderEdit;
    QToolButton* m_loopFolderButton;
    QLabel* m_crossfadeLabel;
    QLineEdit* m_crossfadeEdit;
    QLabel* m_autoIncrementLabel;
    QCheckBox* m_autoIncrementCheck;
    QLabel* m_tempoAsShownLabel;
    QCheckBox* m_tempoAsShownCheck;
    QLabel* m_readBackLabel;
    QCheckBox* m_readBackCheck;
    QLabel* m_guessBeatsLabel;
    QCheckBox* m_guessBeatsCheck;
    QLabel* m_namesOnCardLabel;
    QCheckBox* m_namesOnCardCheck;
    QPushButton* m_cancelButton;
    QPushButton* m_okButton;
};

}  // namespace brenvik
