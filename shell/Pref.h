#pragma once
// The Preferences dialog: edits the four preferences. OK copies the fields into the globals,
// picks the wave-to-Repeater window's next free loop number when automatic numbering is on, and
// writes all four settings; it then only hides, keeping its fields. Cancel and the close box
// discard it, so the next Preferences command shows the globals afresh.
#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace brenvik {

struct AppGlobals;
class DirSelect;
class Platform;

class Pref : public QDialog {
    Q_OBJECT
public:
    // folderChooser gives the shared folder chooser, creating it on first use;
    // setLoopNumber puts a text into the wave-to-Repeater window's loopNumber box.
    Pref(AppGlobals& globals, Platform& platform, std::function<DirSelect*()> folderChooser,
         std::function<void(const std::string&)> setLoopNumber, QWidget* parent = nullptr);

    // ---- handlers ----
    void Form_Load();
    void initLoop_Click();
    void initWave_Click();
    void Command1_Click();
    void Command2_Click();

    QLabel* Label1;
    QLineEdit* intWav;
    QToolButton* initWave;
    QLabel* Label2;
    QLineEdit* intLoop;
    QToolButton* initLoop;
    QLabel* Label4;
    QLineEdit* fadeSecs;
    QLabel* Label3;
    QCheckBox* autoIncr;
    QPushButton* Command2;
    QPushButton* Command1;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void pickFolder(QLineEdit* field, const char* caption, const std::string& savedFolder);
    void applyAndSave();

    AppGlobals& m_globals;
    Platform& m_platform;
    std::function<DirSelect*()> m_folderChooser;
    std::function<void(const std::string&)> m_setLoopNumber;
};

}  // namespace brenvik
