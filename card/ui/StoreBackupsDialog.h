#pragma once
// "All Backups": every backup in the backup store, newest first, with its loop, the time it was
// made, its size and whether its files still match its manifest. Restore puts the chosen one
// into the loop number given (any number, not only its own) of the card the window shows, through
// the arranging core: checked again first, a loop there replaced only after a Yes and kept in the
// store itself.
#include <QDialog>
#include <string>
#include <vector>

#include "BackupRows.h"

class QSpinBox;
class QTableWidget;

namespace brenvik {

class ArrangeActions;
class Interaction;

class StoreBackupsDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { LoopColumn, MadeColumn, SizeColumn, CheckColumn, ColumnCount };

    StoreBackupsDialog(std::string card, Files& files, Interaction& ui, ArrangeActions& actions,
                       QWidget* parent = nullptr);

public slots:
    void restoreChosen();

private:
    void fillTable();

    std::string m_card;
    Files& m_files;
    Interaction& m_ui;
    ArrangeActions& m_actions;
    std::vector<ListedBackup> m_backups;
    QTableWidget* m_table;
    QSpinBox* m_target;
};

}  // namespace brenvik
