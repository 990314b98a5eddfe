#include "FolderChooser.h"

#include <QDir>

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <initializer_list>

#include "FolderHierarchy.h"
#include "Messages.h"
#include "Interaction.h"
#include "QtFocusRing.h"
#include "QtFormLook.h"

namespace brenvik {

FolderChooser::FolderChooser(const std::string& startFolder, Interaction& ui,
                             VolumeAccess volumes, QWidget* parent)
    : QDialog(parent),
      m_ui(ui),
      m_access(std::move(volumes)),
      m_driveList(new QComboBox(this)),
      m_folderList(new QTreeWidget(this)),
      m_folderEdit(new QLineEdit(this)),
      m_okButton(new QPushButton(QStringLiteral("OK"), this)),
      m_cancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("folderChooser"));
    setWindowTitle(QStringLiteral("Choose folder"));
    setFixedSize(twipsSize(5700, 2805));
    paintBackground(this, bgrColor(0x00404000));
    m_driveList->setObjectName(QStringLiteral("driveList"));
    m_folderList->setObjectName(QStringLiteral("folderList"));
    m_folderEdit->setObjectName(QStringLiteral("folderEdit"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    placeTwips(m_driveList, 120, 240, 3615, 315);
    placeTwips(m_folderList, 120, 600, 3615, 990);
    placeTwips(m_folderEdit, 120, 2040, 3615, 375);
    placeTwips(m_okButton, 4440, 1800, 1215, 375);
    placeTwips(m_cancelButton, 4440, 2280, 1215, 375);
    showTenRows();
    // Neither button answers Enter by itself: the design names no default button.
    for (QPushButton* button : {m_okButton, m_cancelButton}) button->setAutoDefault(false);
    setTabOrder(m_folderList, m_driveList);
    setTabOrder(m_driveList, m_folderEdit);
    setTabOrder(m_folderEdit, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);

    m_volumes = m_access.list ? m_access.list() : QList<DriveVolume>();
    for (const DriveVolume& volume : m_volumes) m_driveList->addItem(volume.displayText());

    // The folder list shows the folders above the current one and its sub-folders, indented
    // like a tree; opening an entry (double click or Enter) makes it the current folder.
    m_folderList->setHeaderHidden(true);
    m_folderList->setRootIsDecorated(false);
    m_folderList->setItemsExpandable(false);
    m_folderList->setExpandsOnDoubleClick(false);
    m_folderList->setIndentation(10);
    connect(m_folderList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { openFolder(item->data(0, Qt::UserRole).toString()); });
    connect(m_driveList, &QComboBox::activated, this, &FolderChooser::onDriveChanged);
    connect(m_okButton, &QPushButton::clicked, this, &FolderChooser::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &FolderChooser::onCancelClicked);
    showFocusRing(this);

    presetFolder(QString::fromStdString(startFolder));
}

// The design's list shows three rows and a half, too few to find a card's folder in: it is
// made tall enough for ten, and the dialog and what lies below the list move down with it.
void FolderChooser::showTenRows() {
    constexpr int kRows = 10;
    m_folderList->ensurePolished();
    auto* probe = new QTreeWidgetItem(m_folderList, {QStringLiteral("Folder")});
    probe->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    const int rowHeight = m_folderList->sizeHintForRow(0);
    delete probe;
    const int grow =
        std::max(0, kRows * rowHeight + 2 * m_folderList->frameWidth() - m_folderList->height());
    m_folderList->resize(m_folderList->width(), m_folderList->height() + grow);
    for (QWidget* below : std::initializer_list<QWidget*>{m_folderEdit, m_okButton, m_cancelButton})
        below->move(below->x(), below->y() + grow);
    setFixedSize(width(), height() + grow);
}

void FolderChooser::presetFolder(const QString& folder) {
    const qsizetype index = volumeIndexOf(m_volumes, folder);
    if (index >= 0 && m_access.ready(m_volumes[index].rootPath)) {
        selectDriveQuietly(index);
        if (showFolder(folder)) return;
    }
    // The system volume's root, as the chooser shows a drive it cannot open at its root.
    const QString root = QDir::rootPath();
    selectDriveQuietly(volumeIndexOf(m_volumes, root));
    showFolder(root);
}

std::optional<std::string> FolderChooser::choose(const QString& caption) {
    setWindowTitle(caption);
    m_chosen.reset();
    const QPointer<FolderChooser> self(this);
    exec();
    // The close box discards the dialog; it chose nothing.
    return self ? m_chosen : std::nullopt;
}

void FolderChooser::selectDriveQuietly(qsizetype index) {
    const QSignalBlocker blocker(m_driveList);
    m_driveList->setCurrentIndex(static_cast<int>(index));
}

// The text box follows the folder list's current folder.
bool FolderChooser::showFolder(const QString& folder) {
    const auto entries = folderEntries(folder);
    if (!entries) return false;
    m_folderList->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* current = nullptr;
    for (const FolderListRow& entry : *entries) {
        // Each open folder holds the next one; the sub-folders hang below the current folder.
        auto* item = current ? new QTreeWidgetItem(current) : new QTreeWidgetItem(m_folderList);
        if (entry.open) current = item;
        item->setIcon(0, entry.open ? openIcon : closedIcon);
        item->setText(0, entry.name);
        item->setData(0, Qt::UserRole, entry.path);
    }
    m_folderList->expandAll();
    m_folderList->setCurrentItem(current);
    m_folderList->scrollToItem(current);
    m_currentFolder = cleanFolderPath(folder);
    const qsizetype drive = volumeIndexOf(m_volumes, m_currentFolder);
    if (drive >= 0) m_driveFolders.insert(m_volumes[drive].rootPath, m_currentFolder);
    m_folderEdit->setText(m_currentFolder);
    return true;
}

// For the caller this ends the dialog as Cancel does.
void FolderChooser::deviceNotReady() {
    m_ui.message(message::kDeviceNotReady, MessageButtons::Ok, MessageIcon::Critical);
    hide();
}

void FolderChooser::onDriveChanged(int index) {
    if (index < 0 || index >= m_volumes.size()) return;
    const QString root = m_volumes[index].rootPath;
    if (!m_access.ready(root) ||
        (!showFolder(m_driveFolders.value(root, root)) && !showFolder(root)))
        deviceNotReady();
}

void FolderChooser::openFolder(const QString& folder) {
    if (!showFolder(folder)) deviceNotReady();
}

// Whatever the box holds, chosen in the list or typed: nothing checks that the folder exists.
void FolderChooser::onOkClicked() {
    m_chosen = m_folderEdit->text().toStdString();
    hide();
}

void FolderChooser::onCancelClicked() {
    hide();
}

void FolderChooser::reject() {
    onCancelClicked();
}

// The close box discards the dialog: the next use starts afresh on the loop folder.
void FolderChooser::closeEvent(QCloseEvent*) {
    deleteLater();
}

}  // namespace brenvik
