#pragma once
// The folder chooser: a drive list, a folder list and an editable text box holding the chosen
// folder. Callers set its caption, may preset its drive and folder, put the value to keep on
// Cancel into chosenFolder, show it and read chosenFolder back. OK and Cancel only hide it, so
// it keeps its drive, folder and text between uses; its close box discards it.
#include <QDialog>
#include <QHash>

#include "DriveVolumes.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QPushButton;

namespace brenvik {

struct AppGlobals;
class Platform;

class DirSelect : public QDialog {
    Q_OBJECT
public:
    DirSelect(AppGlobals& globals, Platform& platform, VolumeAccess volumes,
              QWidget* parent = nullptr);

    // Caller's preset (step 2 of its calling sequence): the drive and folder of a path; when
    // either cannot be selected both lists show the root instead, without a message.
    void presetFolder(const QString& folder);
    // Shows the dialog modally; returns when it is hidden (OK, Cancel, Device Not Ready) or
    // discarded (close box).
    void showModal();

    // The folder list's current folder.
    QString currentFolder() const { return m_currentFolder; }
    const QList<DriveVolume>& volumes() const { return m_volumes; }

    // ---- handlers ----
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click();
    void Command2_Click();
    // Opens a folder of the folder list, as a double click does.
    void Dir1_Open(const QString& folder);

    QComboBox* Drive1;
    QTreeWidget* Dir1;
    QLineEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool openFolder(const QString& folder);
    void selectDriveQuietly(qsizetype index);
    void deviceNotReady();

    AppGlobals& m_globals;
    Platform& m_platform;
    VolumeAccess m_access;
    QList<DriveVolume> m_volumes;
    QString m_currentFolder;
    // Each drive keeps its own current folder, shown again when the drive is picked.
    QHash<QString, QString> m_driveFolders;
};

}  // namespace brenvik
