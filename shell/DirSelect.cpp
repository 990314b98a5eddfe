#include "DirSelect.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include "AppGlobals.h"
#include "FolderHierarchy.h"
#include "Platform.h"
#include "QtFormLook.h"

namespace brenvik {

DirSelect::DirSelect(AppGlobals& globals, Platform& platform, VolumeAccess volumes, QWidget* parent)
    : QDialog(parent),
      Drive1(new QComboBox(this)),
      Dir1(new QTreeWidget(this)),
      Text1(new QLineEdit(this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)),
      Command2(new QPushButton(QStringLiteral("Cancel"), this)),
      m_globals(globals),
      m_platform(platform),
      m_access(std::move(volumes)) {
    setObjectName(QStringLiteral("DirSelect"));
    setWindowTitle(QStringLiteral("Choose folder"));
    setFixedSize(twipsSize(5700, 2805));
    paintBackground(this, bgrColor(0x00404000));
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    placeTwips(Drive1, 120, 240, 3615, 315);
    placeTwips(Dir1, 120, 600, 3615, 990);
    placeTwips(Text1, 120, 2040, 3615, 375);
    placeTwips(Command1, 4440, 1800, 1215, 375);
    placeTwips(Command2, 4440, 2280, 1215, 375);
    // Neither button answers Enter by itself: the design names no default button.
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);

    m_volumes = m_access.list ? m_access.list() : QList<DriveVolume>();
    for (const DriveVolume& volume : m_volumes) Drive1->addItem(volume.displayText());

    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    // The folder list shows the folders above the current one and its sub-folders, indented
    // like a tree; opening an entry (double click or Enter) makes it the current folder.
    Dir1->setHeaderHidden(true);
    Dir1->setRootIsDecorated(false);
    Dir1->setItemsExpandable(false);
    Dir1->setExpandsOnDoubleClick(false);
    Dir1->setIndentation(10);
    connect(Dir1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        Dir1_Open(item->data(0, Qt::UserRole).toString());
    });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void DirSelect::Form_Load() { presetFolder(QString::fromStdString(m_globals.initLoopDir)); }

void DirSelect::presetFolder(const QString& folder) {
    const qsizetype index = volumeIndexOf(m_volumes, folder);
    if (index >= 0 && m_access.ready(m_volumes[index].rootPath)) {
        selectDriveQuietly(index);
        if (openFolder(folder)) return;
    }
    const QString root = QString::fromStdString(Platform::defaultRoot());
    selectDriveQuietly(volumeIndexOf(m_volumes, root));
    openFolder(root);
}

void DirSelect::selectDriveQuietly(qsizetype index) {
    const QSignalBlocker blocker(Drive1);
    Drive1->setCurrentIndex(static_cast<int>(index));
}

bool DirSelect::openFolder(const QString& folder) {
    const auto entries = folderEntries(folder);
    if (!entries) return false;
    Dir1->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* current = nullptr;
    for (const FolderEntry& entry : *entries) {
        // Each open folder holds the next one; the sub-folders hang below the current folder.
        auto* item = current ? new QTreeWidgetItem(current) : new QTreeWidgetItem(Dir1);
        if (entry.open) current = item;
        item->setIcon(0, entry.open ? openIcon : closedIcon);
        item->setText(0, entry.name);
        item->setData(0, Qt::UserRole, entry.path);
    }
    Dir1->expandAll();
    Dir1->setCurrentItem(current);
    Dir1->scrollToItem(current);
    m_currentFolder = cleanFolderPath(folder);
    const qsizetype drive = volumeIndexOf(m_volumes, m_currentFolder);
    if (drive >= 0) m_driveFolders.insert(m_volumes[drive].rootPath, m_currentFolder);
    Dir1_Change();
    return true;
}

void DirSelect::deviceNotReady() {
    m_platform.message("Device Not Ready", MessageButtons::Ok, MessageIcon::Critical);
    hide();
}

void DirSelect::Drive1_Change() {
    const int index = Drive1->currentIndex();
    if (index < 0 || index >= m_volumes.size()) return;
    const QString root = m_volumes[index].rootPath;
    if (!m_access.ready(root)) {
        deviceNotReady();
        return;
    }
    if (!openFolder(m_driveFolders.value(root, root)) && !openFolder(root)) deviceNotReady();
}

void DirSelect::Dir1_Change() { Text1->setText(m_currentFolder); }

void DirSelect::Dir1_Open(const QString& folder) {
    if (!openFolder(folder)) deviceNotReady();
}

void DirSelect::Command1_Click() {
    m_globals.chosenFolder = Text1->text().toStdString();
    hide();
}

void DirSelect::Command2_Click() { hide(); }

void DirSelect::reject() { Command2_Click(); }

void DirSelect::showModal() { exec(); }

void DirSelect::closeEvent(QCloseEvent* event) {
    // The close box discards the dialog: the next use starts afresh with Form_Load.
    event->accept();
    deleteLater();
}

}  // namespace brenvik
