#include "BackupsDialog.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <map>

#include "ArrangeActions.h"
#include "AuditionPanel.h"
#include "BackupCheck.h"
#include "BackupLoopNames.h"
#include "CardFolder.h"
#include "CardListing.h"
#include "CardLook.h"
#include "Interaction.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "QtFormLook.h"
#include "UserLibrary.h"

namespace brenvik {

namespace {

// The loop a store backup holds (LOOPn-<time>/LOOPn), summarized as the card's table lists it.
std::optional<card::LoopSummary> loopOfBackup(const Files& files,
                                              const backup::StoredBackup& stored) {
    try {
        for (const card::LoopFolder& folder : card::loopFoldersIn(files, stored.folder))
            if (folder.number == stored.loopNumber && !folder.isLink)
                return card::summarizeLoopFolder(files, folder);
    } catch (const std::exception&) {
        // a backup that cannot be read shows no loop; its check says why
    }
    return std::nullopt;
}

}  // namespace

BackupsDialog::BackupsDialog(std::string card, std::optional<int> loopNumber, Files& files,
                             Interaction& ui, ArrangeActions& actions, QWidget* parent)
    : QDialog(parent),
      m_card(std::move(card)),
      m_loopNumber(loopNumber),
      m_files(files),
      m_ui(ui),
      m_actions(actions),
      m_store(files),
      m_cardOrigin(backup::originOf(m_card, std::nullopt, {})),
      m_table(rowTable(QStringLiteral("backupTable"),
                       {"Loop", "Name", "Tempo", "Length", "Channels", "Made", "Size", "Check", "Card"},
                       this)),
      m_overLimit(whiteLabel(QStringLiteral("overLimitLabel"), this)),
      m_target(new QSpinBox(this)),
      m_audition(new AuditionPanel(ui, this)) {
    setObjectName(QStringLiteral("backupsDialog"));
    const QString root = QString::fromStdString(m_store.root());
    QLabel* title = whiteLabel(QStringLiteral("titleLabel"), this);
    if (m_loopNumber) {
        const QString loopName = QString::fromStdString(loop::loopFolderName(*m_loopNumber));
        setWindowTitle(QStringLiteral("Backups of %1").arg(loopName));
        title->setText(QStringLiteral("Backups of %1 in %2, this card's first, newest first").arg(loopName, root));
    } else {
        setWindowTitle(QStringLiteral("All Backups"));
        title->setText(QStringLiteral("Every backup in %1, this card's first, newest first").arg(root));
    }
    title->setWordWrap(true);
    paintBackground(this, kCardBackground);
    resize(twipsSize(9600, 7200));  // room for every column and the waveform

    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_overLimit->setWordWrap(true);
    m_target->setObjectName(QStringLiteral("targetBox"));
    m_target->setRange(loop::kLowestLoop, loop::kHighestLoop);
    m_target->setPrefix(QStringLiteral("into LOOP"));
    m_target->setValue(m_loopNumber.value_or(loop::kLowestLoop));
    // The chosen backup's own number is offered first.
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(m_backups.size()))
            m_target->setValue(m_backups[static_cast<size_t>(row)].backup.loopNumber);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BackupsDialog::listenToChosen);
    m_audition->takeSpaceIn(this);

    auto* restoreButton = greenButton(QStringLiteral("restoreButton"), QStringLiteral("Restore"), this);
    auto* closeButton = greenButton(QStringLiteral("closeButton"), QStringLiteral("Close"), this);
    connect(restoreButton, &QPushButton::clicked, this, &BackupsDialog::restoreChosen);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(restoreButton);
    buttons->addWidget(m_target);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_overLimit);
    layout->addWidget(m_audition);
    layout->addLayout(buttons);

    fillTable();
}

QString BackupsDialog::cardText(const backup::StoredBackup& stored) const {
    if (backup::isFromCard(stored, m_cardOrigin)) return QString::fromUtf8(message::kThisCard);
    if (!stored.origin || stored.origin->card.empty()) return QString::fromUtf8(message::kCardNotRecorded);
    return QString::fromStdString(message::fromAnotherCard(stored.origin->card, stored.origin->label));
}

void BackupsDialog::fillTable(const std::string& chosen) {
    std::vector<backup::StoredBackup> found = m_store.listBackups(m_loopNumber);
    backup::putCardFirst(found, m_cardOrigin);
    m_backups.clear();
    std::optional<std::string> libraryReport;
    {
        // Checking reads every byte of every backup; their names are read once and then cached.
        const BusyPointer busy(m_ui);
        library::LoopLibrary& library = library::userLibrary(m_files);
        std::map<std::string, std::string> names = library::namesOfBackups(library, m_store.root(), found);
        libraryReport = library.takeReport();
        for (backup::StoredBackup& stored : found) {
            backup::BackupCheck check = backup::checkBackup(m_files, stored.folder);
            std::optional<card::LoopSummary> loop = loopOfBackup(m_files, stored);
            std::string name = names[stored.folder];
            m_backups.push_back({std::move(stored),
                                 check.manifest ? std::string() : std::move(check.refusal),
                                 std::move(loop), std::move(name)});
        }
    }
    m_table->clearSelection();
    m_table->setRowCount(static_cast<int>(m_backups.size()));
    int chosenRow = -1;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const Listed& listed = m_backups[static_cast<size_t>(row)];
        const bool described = listed.loop && listed.loop->described;
        const QString dash = QStringLiteral("-");
        m_table->setItem(
            row, TempoColumn,
            new QTableWidgetItem(
                described ? QString::fromStdString(card::tempoText(listed.loop->tempo)) : dash));
        m_table->setItem(
            row, LengthColumn,
            new QTableWidgetItem(described ? QString::number(listed.loop->seconds, 'f', 1) + " s"
                                           : dash));
        m_table->setItem(row, ChannelsColumn,
                         new QTableWidgetItem(
                             described ? QString::fromStdString(listed.loop->channels()) : dash));
        // The made times are UTC "20261206T015000Z", which sort as text.
        const bool newer =
            chosenRow < 0 ||
            listed.backup.made > m_backups[static_cast<size_t>(chosenRow)].backup.made;
        if (chosen.empty() ? newer : listed.backup.folder == chosen) chosenRow = row;
        auto* check = new QTableWidgetItem(listed.refusal.empty() ? QStringLiteral("matches its manifest")
                                                                  : QStringLiteral("does not match"));
        check->setToolTip(QString::fromStdString(listed.refusal));
        const QString loopName = QString::fromStdString(loop::loopFolderName(listed.backup.loopNumber));
        m_table->setItem(row, LoopColumn, new QTableWidgetItem(loopName));
        m_table->setItem(row, NameColumn, new QTableWidgetItem(QString::fromStdString(listed.name)));
        m_table->setItem(row, MadeColumn, new QTableWidgetItem(backupTimeText(listed.backup.made)));
        m_table->setItem(row, SizeColumn, new QTableWidgetItem(megabytes(listed.backup.bytes)));
        m_table->setItem(row, CheckColumn, check);
        m_table->setItem(row, CardColumn, new QTableWidgetItem(cardText(listed.backup)));
    }
    m_table->resizeColumnsToContents();
    if (chosenRow >= 0) m_table->selectRow(chosenRow);
    listenToChosen();
    // The line under the list tells how far the store is over its limit, and once a library
    // that cannot be used.
    const int64_t over = m_store.overLimit();
    QStringList notes;
    if (over > 0) notes << QString::fromStdString(message::storeOverLimit(over, m_store.limit()));
    if (libraryReport) notes << QString::fromStdString(*libraryReport);
    m_overLimit->setText(notes.join(QLatin1Char('\n')));
    m_overLimit->setVisible(!notes.isEmpty());
}

void BackupsDialog::restoreChosen() {
    const QModelIndexList chosen = m_table->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        m_ui.message(message::kNoBackupSelected);
        return;
    }
    const Listed& listed = m_backups[static_cast<size_t>(chosen.front().row())];
    // A backup just found damaged is not offered for the question; the restore checks it again anyway.
    if (!listed.refusal.empty()) {
        m_ui.message(listed.refusal, MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    const std::string folder = listed.backup.folder;  // fillTable() lists the backups anew
    m_actions.restoreInto(m_card, folder, listed.backup.loopNumber, m_target->value());
    fillTable(folder);  // the store may hold the card's loop now
}

void BackupsDialog::listenToChosen() {
    const QModelIndexList chosen = m_table->selectionModel()->selectedRows();
    const Listed* listed =
        chosen.isEmpty() ? nullptr : &m_backups[static_cast<size_t>(chosen.front().row())];
    if (!listed) {
        m_audition->clear(message::kNoBackupSelected);
        return;
    }
    // A backup without its loop folder is refused as a missing loop is, with why.
    const std::string folder = listed->loop ? listed->loop->folder
                                            : listed->backup.folder + "/" +
                                                  loop::loopFolderName(listed->backup.loopNumber);
    const audition::Preparation prepared = audition::sourceOfLoop(folder);
    m_audition->show(prepared, prepared.source
                                   ? std::optional(audition::waveformOfLoop(*prepared.source))
                                   : std::nullopt);
}

}  // namespace brenvik
