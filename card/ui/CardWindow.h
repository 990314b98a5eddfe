#pragma once
// "Card": every loop of a card folder in one sortable table (as brenvik-cli list shows them),
// the free space, a Refresh, another folder from the folder chooser, the selected loops exported
// as waves, the selected loop's backups (one of them restored), and a double click or Enter that
// opens a loop in the Repeater-to-wave window. A loop with problems is marked; the pane under the
// table tells the selected loop's problems (and the tooltip each row's). The window lists the
// card again after its own exports and restores, when the program tells it of a save, and when
// the card changes outside it. When the initial loop folder holds no loops but a mounted volume
// does, the window offers that volume with one button.
#include <QWidget>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CardFinder.h"
#include "CardListing.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace brenvik {

class AuditionPanel;
class CardWatcher;
class Files;
class Interaction;
struct Preferences;

class CardWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { LoopColumn, TempoColumn, BarsColumn, BeatsColumn, DivisionColumn, LengthColumn,
                  ChannelsColumn, ChosenColumn, FilesColumn, SizeColumn, CheckColumn, ColumnCount };

    // Lists the initial loop folder at once; mountRoots are where a card is looked for when
    // that folder holds no loops.
    CardWindow(const Preferences& preferences, Files& files, Interaction& ui,
               std::vector<std::string> mountRoots = card::defaultMountRoots(),
               QWidget* parent = nullptr);

    // Opens a loop folder in the Repeater-to-wave window (set by the program).
    std::function<void(const std::string& folder)> openLoopHook;
    // The folder chooser, opened at startFolder (set by the program); without it the interaction's.
    std::function<std::optional<std::string>(const std::string& caption, const std::string& startFolder)>
        chooseFolderHook;

    void showCard(std::string folder);
    QTableWidget* table() const { return m_table; }
    // Play/Stop and the waveform of the selected loop, as the Repeater loops it.
    AuditionPanel* audition() const { return m_audition; }
    // The volume offered by the button, empty when none is offered.
    const std::string& offeredCard() const { return m_offered; }

public slots:
    void refresh();
    void chooseOtherFolder();
    void exportSelected();
    // The selected loop's backups in the backup store, one of which may be restored.
    void showBackups();
    void useOfferedCard();

private:
    // Loops by their index in the listing, which the cells keep whatever the sort order.
    const card::LoopSummary* loopOfRow(int row) const;
    std::set<size_t> selectedLoops() const;
    void fillTable(const std::set<std::string>& keptFolders, const std::string& currentFolder);
    void showDetails();
    void listenToSelection();
    const card::LoopSummary* loopUnderCursor() const;
    void offerMountedCard();
    void openRow(int row);
    std::optional<std::string> chooseFolder(const std::string& caption, const std::string& startFolder);

    const Preferences& m_preferences;
    Files& m_files;
    Interaction& m_ui;
    std::vector<std::string> m_mountRoots;
    card::CardListing m_listing;
    std::string m_offered;
    QLabel* m_folderLabel;
    QLabel* m_totalsLabel;
    QLabel* m_offerLabel;
    QPushButton* m_offerButton;
    QTableWidget* m_table;
    QLabel* m_detailsLabel;
    AuditionPanel* m_audition;
    CardWatcher* m_watcher;
    bool m_listenPending = false;  // listenToSelection() is due once the selection has settled
};

}  // namespace brenvik
