#pragma once
// The program's folder chooser: a drive list, a folder list and an editable text box holding the
// chosen folder. Callers set its caption, may preset its drive and folder, and show it modally;
// OK gives them the text box's text. OK and Cancel only hide it, so it keeps its drive, folder
// and text between uses; its close box discards it.
#include <QDialog>
#include <QHash>
#include <optional>
#include <string>

#include "DriveVolumes.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace brenvik {

class Interaction;

class FolderChooser : public QDialog {
    Q_OBJECT
public:
    // Opens on startFolder (the loop folder preference), or on the root when it cannot.
    FolderChooser(const std::string& startFolder, Interaction& ui, VolumeAccess volumes,
                  QWidget* parent = nullptr);

    // Selects the drive and folder of a path; when either cannot be selected both lists show the
    // root instead, without a message.
    void presetFolder(const QString& folder);
    // Shows the dialog modally with this caption: the text confirmed with OK, or nothing when it
    // was cancelled, closed or found its drive not ready.
    std::optional<std::string> choose(const QString& caption);

    // The folder list's current folder.
    QString currentFolder() const { return m_currentFolder; }

public slots:
    // Makes a folder of the list the current one, as a double click on it does.
    void openFolder(const QString& folder);
    void reject() override;

private slots:
    void onDriveChanged(int index);
    void onOkClicked();
    void onCancelClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showTenRows();
    bool showFolder(const QString& folder);
    void selectDriveQuietly(qsizetype index);
    void deviceNotReady();

    Interaction& m_ui;
    VolumeAccess m_access;
    QList<DriveVolume> m_volumes;
    QComboBox* m_driveList;
    QTreeWidget* m_folderList;
    QLineEdit* m_folderEdit;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    QString m_currentFolder;
    // Each drive keeps its own current folder, shown again when the drive is picked.
    QHash<QString, QString> m_driveFolders;
    std::optional<std::string> m_chosen;
};

}  // namespace brenvik
