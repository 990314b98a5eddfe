#include "BackupRows.h"

#include <QItemSelectionModel>
#include <QTableWidget>

#include "BackupCheck.h"
#include "Interaction.h"
#include "Messages.h"
#include "CardLook.h"

namespace brenvik {

std::vector<ListedBackup> checkedBackups(std::vector<backup::StoredBackup> found, Files& files,
                                         Interaction& ui) {
    const BusyPointer busy(ui);
    std::vector<ListedBackup> listed;
    for (backup::StoredBackup& stored : found) {
        backup::BackupCheck check = backup::checkBackup(files, stored.folder);
        listed.push_back({std::move(stored), check.manifest ? std::string() : std::move(check.refusal)});
    }
    return listed;
}

void showBackupRows(QTableWidget* table, const std::vector<ListedBackup>& backups, int madeColumn,
                    int sizeColumn, int checkColumn) {
    table->setRowCount(static_cast<int>(backups.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const ListedBackup& listed = backups[static_cast<size_t>(row)];
        auto* check = new QTableWidgetItem(listed.refusal.empty() ? QStringLiteral("matches its manifest")
                                                                  : QStringLiteral("does not match"));
        check->setToolTip(QString::fromStdString(listed.refusal));
        table->setItem(row, madeColumn, new QTableWidgetItem(backupTimeText(listed.backup.made)));
        table->setItem(row, sizeColumn, new QTableWidgetItem(megabytes(listed.backup.bytes)));
        table->setItem(row, checkColumn, check);
    }
}

const ListedBackup* chosenBackup(const QTableWidget* table, const std::vector<ListedBackup>& backups,
                                 Interaction& ui) {
    const QModelIndexList chosen = table->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        ui.message(message::kNoBackupSelected);
        return nullptr;
    }
    const ListedBackup& listed = backups[static_cast<size_t>(chosen.front().row())];
    // A backup just found damaged is not offered for the question; the restore checks it again anyway.
    if (!listed.refusal.empty()) {
        ui.message(listed.refusal, MessageButtons::Ok, MessageIcon::Critical);
        return nullptr;
    }
    return &listed;
}

}  // namespace brenvik
