#pragma once
// The rows both backups dialogs list: each backup with whether its files still match its
// manifest, checked when the dialog fills its table.
#include <string>
#include <vector>

#include "BackupStore.h"

class QTableWidget;

namespace brenvik {

class Files;
class Interaction;

struct ListedBackup {
    backup::StoredBackup backup;
    std::string refusal;  // why it may not be restored; empty when it matches its manifest
};

// Checks every backup given (which reads every byte of each, under the busy pointer).
std::vector<ListedBackup> checkedBackups(std::vector<backup::StoredBackup> found, Files& files,
                                         Interaction& ui);

// Fills a table of as many rows with when each backup was made, its size and its check.
void showBackupRows(QTableWidget* table, const std::vector<ListedBackup>& backups, int madeColumn,
                    int sizeColumn, int checkColumn);

// The backup chosen in the table when one is chosen and it matches its manifest; otherwise the user
// is told why (none chosen, or what the check found) and nothing is returned.
const ListedBackup* chosenBackup(const QTableWidget* table, const std::vector<ListedBackup>& backups,
                                 Interaction& ui);

}  // namespace brenvik
