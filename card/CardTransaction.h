#pragma once
// Every change to the loops of a card (a save, a restore, a move, copy, swap, delete, renumber or
// undo) goes through one transaction, so that a change has happened whole or not at all, even when
// the program is killed or the card pulled half-way:
//
// 1. The card's staging folder (".brenvik-staging", a name the Repeater does not read as a loop) is
//    made, and the intent ("swap LOOP4 and LOOP20") written into it and synced.
// 2. Every new loop folder is written whole into the staging folder and synced (and, when asked,
//    read back from the device and compared).
// 3. The whole plan (each loop folder's name before and after) is written and synced as a journal,
//    and marked committed by one rename.
// 4. Loop folders that leave their numbers go into the staging folder; then the moved and the new
//    ones take their numbers; the folders are synced between the two steps.
// 5. What is left in the staging folder (loops replaced or deleted, which are in the backup store)
//    goes, the journal last.
//
// The next program that opens the card reads the staging folder alone: with a committed journal it
// finishes the change, without one it takes the change back (nothing a user could see had changed
// yet). Both can be repeated when interrupted again. The caller holds the card's lock throughout.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Files.h"

namespace brenvik::card {

// The staging folder of a card, "card/.brenvik-staging".
std::string stagingFolderOf(const std::string& card);


class CardTransaction {
public:
    // Opens a change of `card` (its absolute path) described by `what`: makes the staging folder
    // and records the intent there. Throws RoutineError when it cannot (a read-only card), or when
    // the card holds a change not yet finished (recoverCard runs first).
    CardTransaction(Files& files, std::string card, std::string what);
    // A transaction not committed takes everything it staged away again.
    ~CardTransaction();
    CardTransaction(const CardTransaction&) = delete;
    CardTransaction& operator=(const CardTransaction&) = delete;

    const std::string& card() const { return m_card; }

    // A new, empty folder in the staging folder, for a loop written whole before it takes a
    // number. Throws RoutineError.
    std::string stageFolder();
    // The loop folder named `name` on the card (in its own letter case) leaves its number: it is
    // deleted at the end (the caller has it in the backup store).
    void remove(const std::string& name);
    // The loop folder `name` takes the name `newName` on the same card.
    void rename(const std::string& name, const std::string& newName);
    // The staged folder takes the loop folder name `name`.
    void place(const std::string& staged, const std::string& name);
    // The file `name` at the card's root (never a loop folder) takes the text `text`: written whole
    // in the staging folder now, it replaces the file of that name (in any letter case) with the
    // rest of the change, so the card holds the old file or the new one, never a part.
    // Throws RoutineError.
    void placeFile(const std::string& name, const std::string& text);

    // Reads every file of every staged folder back from the device, not from the system's cache,
    // and compares it with what was written. Throws RoutineError naming the file and the first
    // byte that differs.
    void readBackStaged();

    // Journals the plan, marks it committed and makes the change. Throws RoutineError; when it
    // throws and committed() is false nothing on the card has changed, when committed() is true
    // the change is journaled and the next program to open the card finishes it.
    void commit();
    bool committed() const { return m_committed; }

private:
    // A name before and after: on the card, or in the staging folder.
    using Step = std::pair<std::string, std::string>;
    std::string stagedName();
    void abandon() noexcept;

    Files& m_files;
    std::string m_card;
    std::string m_staging;
    std::string m_what;
    std::vector<Step> m_out;  // loop folders of the card into the staging folder
    std::vector<Step> m_in;   // staged folders to loop folder names
    std::vector<std::string> m_staged;
    int m_names = 0;
    bool m_committed = false;
};

// What opening a card found of an earlier change and did about it.
struct Recovery {
    enum class Outcome { Nothing, Finished, TakenBack, Failed };
    Outcome outcome = Outcome::Nothing;
    std::string what;     // the interrupted change, as its intent says
    std::string line;     // the one line said about it; empty for Nothing
    std::string reason;   // why it failed
    bool failed() const { return outcome == Outcome::Failed; }
};

// Finishes or takes back an interrupted change of the card, from its staging folder alone
// (`dryRun`: only says which it would do). Also tidies what earlier versions of the program left
// after an interruption. The caller holds the card's lock. Never throws.
Recovery recoverCard(Files& files, const std::string& card, bool dryRun = false);

// For a reader opening the card: when no other program holds it, takes the card's lock for a moment
// and recovers it; a card another program is changing is left to that program.
Recovery recoverCardIfFree(Files& files, const std::string& card);

}  // namespace brenvik::card
