#pragma once
// The backups in the backup store, of one loop ("Backups of LOOPn", from the Backups button) or of
// every loop of every card ("All Backups"): this card's first, then the others, newest first within
// each, with the loop, its name where the library knows it, its tempo, length and channels, when each was made, its size, whether its
// files still match its manifest and the card it was made on. The newest is chosen when the dialog
// opens; the chosen one plays with Play (or Space) and shows its waveform. Restore puts the chosen
// one into the loop number given beside the button (its own number, or any other) of the card the
// window shows, as brenvik-cli restore does: checked again first, a loop there replaced only after
// a Yes and kept in the store itself; Undo takes it back. When the store is over its limit (it
// never removes the newest backup of a loop), a line says by how much.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "BackupStore.h"
#include "LoopSummary.h"

class QLabel;
class QSpinBox;
class QTableWidget;

namespace brenvik {

class ArrangeActions;
class AuditionPanel;
class Interaction;

class BackupsDialog : public QDialog {
    Q_OBJECT
public:
    enum Column {
        LoopColumn,
        NameColumn,
        TempoColumn,
        LengthColumn,
        ChannelsColumn,
        MadeColumn,
        SizeColumn,
        CheckColumn,
        CardColumn,
        ColumnCount
    };

    // The backups of `loopNumber`, or of the whole store without one.
    BackupsDialog(std::string card, std::optional<int> loopNumber, Files& files, Interaction& ui,
                  ArrangeActions& actions, QWidget* parent = nullptr);

public slots:
    void restoreChosen();

private:
    struct Listed {
        backup::StoredBackup backup;
        std::string refusal;  // why it may not be restored; empty when it matches its manifest
        std::optional<card::LoopSummary> loop;  // nothing when the backup holds no loop folder
        std::string name;  // the loop's, empty when it has none
    };

    // The backup `chosen` (a folder) stays chosen; without it, the newest is.
    void fillTable(const std::string& chosen = {});
    void listenToChosen();
    QString cardText(const backup::StoredBackup& stored) const;

    std::string m_card;
    std::optional<int> m_loopNumber;
    Files& m_files;
    Interaction& m_ui;
    ArrangeActions& m_actions;
    backup::BackupStore m_store;
    backup::BackupOrigin m_cardOrigin;  // this card, to tell its backups from others'

    std::vector<Listed> m_backups;
    QTableWidget* m_table;
    QLabel* m_overLimit;
    QSpinBox* m_target;
    AuditionPanel* m_audition;
};

}  // namespace brenvik
