#pragma once
// "Backups of LOOPn": one loop's backups in the backup store, newest first, with the time each was
// made, its size and whether its files still match its manifest. Restore puts the chosen one back
// on the card through restoreBackup, which checks it again before writing; a loop the card holds
// is replaced only after a Yes, and goes into the store itself first.
#include <QDialog>
#include <string>
#include <vector>

#include "BackupStore.h"

class QTableWidget;

namespace brenvik {

class Interaction;

class LoopBackupsDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { MadeColumn, SizeColumn, CheckColumn, ColumnCount };

    LoopBackupsDialog(std::string card, int loopNumber, Files& files, Interaction& ui, QWidget* parent = nullptr);

public slots:
    void restoreChosen();

private:
    struct Listed {
        backup::StoredBackup backup;
        std::string refusal;  // why it may not be restored; empty when it matches its manifest
    };

    void fillTable();

    std::string m_card;
    int m_loopNumber;
    Files& m_files;
    Interaction& m_ui;
    backup::BackupStore m_store;
    std::vector<Listed> m_backups;
    QTableWidget* m_table;
};

}  // namespace brenvik
