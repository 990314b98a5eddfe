#pragma once
// "Backups of LOOPn": one loop's backups in the backup store, those of this card first, newest
// first, with the time each was made, its size, whether its files still match its manifest and,
// for one made on another card, which. Restore puts the chosen one back on the card, into this
// loop number or the one chosen beside the button, through restoreBackup, which checks it again
// before writing; a loop the card holds is replaced only after a Yes, and goes into the store
// itself first. When the store is over its limit (it never removes the newest backup of a loop),
// a line says by how much.
#include <QDialog>
#include <string>
#include <vector>

#include "BackupRows.h"

class QLabel;
class QSpinBox;
class QTableWidget;

namespace brenvik {

class Interaction;

class LoopBackupsDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { MadeColumn, SizeColumn, CheckColumn, CardColumn, ColumnCount };

    LoopBackupsDialog(std::string card, int loopNumber, Files& files, Interaction& ui, QWidget* parent = nullptr);

public slots:
    void restoreChosen();

private:
    void fillTable();

    std::string m_card;
    int m_loopNumber;
    Files& m_files;
    Interaction& m_ui;
    backup::BackupStore m_store;
    backup::BackupOrigin m_cardOrigin;  // this card, to tell its backups from others'

    std::vector<ListedBackup> m_backups;
    QTableWidget* m_table;
    QLabel* m_overLimit;
    QSpinBox* m_restoreAs;
};

}  // namespace brenvik
