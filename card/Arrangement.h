#pragma once
// Arranging loops: moving, copying, swapping, deleting and renumbering loop folders on one card or
// between two, as one all-or-nothing change. Every loop it reads is checked first (a broken loop
// is taken only when forced), the free space on each card that receives copies, and every loop it
// deletes, replaces or moves away goes into the backup store before anything on a card changes.
//
// How it changes a card: through one card transaction per card. A loop that leaves its number on
// the same card is renamed (the folder and its files stay byte for byte what they were); a loop for
// another card, a copy and a loop from the store are copied file by file into the card's staging
// folder first. A failure before the change is committed leaves every card as it was; a kill at
// any moment leaves it to the next program that opens the card to finish or take back.
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Files.h"

namespace brenvik::backup {
class BackupStore;
}

namespace brenvik::card {

struct LoopPlace {
    std::string card;
    int number = 0;

    std::string folder() const;  // card/LOOPn
    bool operator==(const LoopPlace&) const = default;
};

// One loop going somewhere: a loop of a card (or LOOPn of a backup in the store, when `backup`
// is set) to a place, or nowhere (deleted). A copy leaves its source as it is.
struct Placement {
    LoopPlace from;
    std::optional<LoopPlace> to;
    bool copy = false;
    std::string backup;
};

struct ArrangeRequest {
    std::string what;  // "swap LOOP3 and LOOP5": what an undo takes back
    std::vector<Placement> placements;
    bool overwrite = false;  // a loop already at a target is replaced (backed up first)
    bool force = false;      // a loop the check finds broken is taken all the same
    bool dryRun = false;     // only the plan
    bool undoable = true;    // recorded as the last arrangement of the cards it changes
    // The loops replaced are in the store already (an undo, which checked them): no new backup.
    bool alreadyInStore = false;
    bool readBack = true;  // copies are read back from the card before they take their numbers
};

struct ArrangeStep {
    enum class Action { BackUp, Move, Copy, Restore, Delete };
    Action action;
    std::string from;  // a loop folder, or a backup for Restore
    std::string to;    // the loop folder it becomes, or the backup made; empty for Delete

    // "move /card/LOOP3 to /card/LOOP5"
    std::string text() const;
};

struct ArrangeResult {
    bool done = false;
    std::string message;  // why not, or what went wrong after
    std::string reason;   // the cause behind the message
    std::vector<ArrangeStep> plan;
    std::vector<std::string> backups;  // the store backups made
    std::vector<std::string> recovered;  // what was done about changes earlier programs left half-done
};

// A card's path as places name it: absolute, without a separator at its end. Throws RoutineError.
std::string absoluteCard(const Files& files, const std::string& card);

// `progress` sees the steps done out of the plan's.
ArrangeResult arrange(const ArrangeRequest& request, backup::BackupStore& store, Files& files,
                      const Progress& progress = {});

}  // namespace brenvik::card
