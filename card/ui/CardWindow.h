#pragma once
// "Card": every loop of a card folder in one sortable table (as brenvik-cli list shows them), with
// a row for each run of free numbers, the free space (also in minutes of audio), a Refresh, another
// folder from the folder chooser, the selected loops exported as waves, the selected loop's backups
// (one of them restored), and a double click or Enter that opens a loop in the Repeater-to-wave
// window. Loops are arranged here: a row dragged onto a free number moves there (with Ctrl it is
// copied), onto another loop the two swap after a Yes; the Card menu (also the table's context menu)
// does the same from the keyboard with a loop number asked for (Move to, Copy to, Swap with), and
// the moved or copied loop stays selected at its new number. Delete deletes the selected loops
// after a Yes, Copy to Card copies them to another card, Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z or
// Ctrl+Y) walk back and forth through the card's arrangements, and waves dropped from a file
// manager fill the free loops once the drop dialog's OK is given. All Backups
// lists the whole store. Each loop shows the name the loop library holds for its content (read on
// a worker thread where the library has not kept its hash, the names appearing as they are found);
// F2 or a double click on a name edits it, and the filter box above the table (Ctrl+F) shows only
// the loops whose name, tempo or notes hold its text. A loop with problems is marked; the pane under the table tells the
// selected loop's problems (and the tooltip each row's). The window lists the card again after its
// own exports and restores, when the program tells it of a save, and when the card changes outside
// it. Before each listing the card is
// tidied of a change an earlier program left half-done (unless another program holds the card),
// and the status line says what was done. When the initial loop folder holds no loops but a
// mounted volume does, the window offers that volume with one button.
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ArrangeActions.h"
#include "CardFinder.h"
#include "CardListing.h"
#include "CardNames.h"
#include "LoopNameReader.h"
#include "LoopTable.h"
#include "LoudnessMeter.h"
#include "VolumeEjection.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace brenvik {

class AuditionPanel;
class CardWatcher;
class Files;
class Interaction;
class SettingsStore;
struct Preferences;

class CardWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { LoopColumn, NameColumn, TempoColumn, BarsColumn, BeatsPerBarColumn, BeatCountColumn, DivisionColumn,
                  LengthColumn, ChannelsColumn, ChosenColumn, FilesColumn, SizeColumn, CheckColumn,
                  ColumnCount };

    // Lists the initial loop folder at once; mountRoots are where a card is looked for when
    // that folder holds no loops.
    CardWindow(const Preferences& preferences, Files& files, Interaction& ui,
               std::vector<std::string> mountRoots = card::defaultMountRoots(),
               QWidget* parent = nullptr);
    ~CardWindow() override;

    // Opens a loop folder in the Repeater-to-wave window (set by the program).
    std::function<void(const std::string& folder)> openLoopHook;
    // The folder chooser, opened at startFolder (set by the program); without it the interaction's.
    std::function<std::optional<std::string>(const std::string& caption, const std::string& startFolder)>
        chooseFolderHook;
    // Unmounts the card's volume and switches it off; without it udisks2 on the system bus.
    std::function<VolumeEjection(const std::string& folder)> ejectVolumeHook;

    // What finds the tempo of waves dropped on the window (set by the program).
    void setTempoFinder(tempo::TempoFinder finder) { m_actions.setTempoFinder(finder); }

    // The drop dialog for these files over the card shown, left open and writing nothing.
    QWidget* previewDrop(const std::vector<std::string>& paths);

    // The size kept in `store` taken (when there is one), and this window's size kept there as it
    // closes.
    void rememberSizeIn(SettingsStore& store);
    // The size the window opens at.
    QSize sizeHint() const override { return m_openingSize; }

    // The Card menu: the arrangements with their shortcuts. The main window shows it in its menu
    // bar while this window is active; the table opens it as its context menu.
    QMenu* menu() const { return m_menu; }

    void showCard(std::string folder);
    LoopTable* table() const { return m_table; }
    // Hides the loops whose name, tempo or notes do not hold its text.
    QLineEdit* filterBox() const { return m_filterBox; }
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
    // The selected loops deleted (after a Yes), or copied or moved to the same numbers of another
    // card.
    void deleteSelected();
    void copySelected();
    void moveSelectedToCard();
    void selectedToCard(bool copy);
    // The selected loop moved, copied or swapped with the loop number asked for; onto a loop a
    // move swaps after a Yes and a copy replaces after a Yes, onto a free number a swap moves.
    void moveSelected();
    void copySelectedWithin();
    void swapSelected();
    // The card's newest arrangement undone (Ctrl+Z), or the latest one undone made again
    // (Ctrl+Shift+Z, Ctrl+Y).
    void undo();
    void redo();
    // Every backup of the store, each of which may be restored into any loop number.
    void showStore();
    // The card made safe to pull out (unless a change to it is under way), then shown gone.
    void ejectCard();

signals:
    // A short note for the program's status line.
    void statusMessage(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Arrangement { Move, Copy, Swap };
    void arrangeSelected(Arrangement arrangement);
    void arrange(const std::string& fromCard, int from, int to, bool copy);
    void buildMenu();
    QSize fittingSize() const;
    // Loops by their index in the listing, which the cells keep whatever the sort order.
    const card::LoopSummary* loopOfRow(int row) const;
    std::set<size_t> selectedLoops() const;
    void fillTable(const std::set<std::string>& keptFolders, const std::string& currentFolder);
    void showNamesProgress();
    // The names the library knows of the listed loops at once, the others read in the background.
    void findNames();
    void takeHashes(const std::vector<library::HashedFolder>& hashed);
    void showName(QTableWidgetItem* cell, const library::NamedLoop& named);
    void nameEdited(QTableWidgetItem* cell);
    void applyFilter();
    // A library that cannot be used, told once on the status line.
    void reportLibrary();
    void addFreeRows();
    void showDetails();
    void writeDetails();
    void listenToSelection();
    const card::LoopSummary* loopUnderCursor() const;
    void offerMountedCard();
    void openRow(int row);
    void dropLoop(const QString& fromCard, int from, int row, bool copy);
    void writeDroppedWaves(const QStringList& paths);
    std::vector<int> selectedNumbers() const;
    std::optional<std::string> chooseFolder(const std::string& caption, const std::string& startFolder);
    void recoverCard(const std::string& folder);
    void keepNamesOnCard(const std::string& folder);
    void note(const std::string& text);

    const Preferences& m_preferences;
    Files& m_files;
    Interaction& m_ui;
    std::vector<std::string> m_mountRoots;
    card::CardListing m_listing;
    std::string m_offered;
    QLabel* m_folderLabel;
    QLabel* m_totalsLabel;
    QLabel* m_namesProgress;  // beside the totals, never widening the window
    QLabel* m_offerLabel;
    QPushButton* m_offerButton;
    LoopTable* m_table;
    QLineEdit* m_filterBox;  // after the table: the window's focus goes to the loops first
    QLabel* m_detailsLabel;
    QPushButton* m_undoButton;
    QPushButton* m_redoButton;
    AuditionPanel* m_audition;
    CardWatcher* m_watcher;
    ArrangeActions m_actions;
    LoudnessMeter* m_loudness;
    LoopNameReader* m_nameReader;
    std::unique_ptr<library::CardNames> m_names;  // none while the library cannot be used
    std::map<std::string, library::NamedLoop> m_loopNames;  // by loop folder
    QMenu* m_menu;
    SettingsStore* m_sizeStore = nullptr;
    QSize m_openingSize;
    int m_selectAfterListing = 0;  // a loop number to select once the card is listed again  // of the loop whose details are shown
    bool m_listenPending = false;  // listenToSelection() is due once the selection has settled
    std::string m_failureShown;    // the recovery failure last told in a message box
    std::string m_namesCard;       // the card whose names file was read when it was opened
};

}  // namespace brenvik
