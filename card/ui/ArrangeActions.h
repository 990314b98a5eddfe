#pragma once
// The Card window's arrangements as the user asks for them: the question before a swap, a
// replacement or a delete, then the change itself (through the card core's arrange, or for a
// restore the backup store's, with the busy pointer on and the window taking no input), and its
// message when it is refused or fails. What a change found of one an earlier program left
// half-done goes to the status line. The window lists the card again afterwards, whatever came
// of it.
#include <functional>
#include <string>
#include <vector>

#include "TempoEstimate.h"

class QWidget;

namespace brenvik {

class Files;
class DropDialog;
class Interaction;
struct Preferences;

namespace backup {
class BackupStore;
}
namespace card {
struct ArrangeRequest;
struct ArrangeResult;
}

class ArrangeActions {
public:
    // The preferences are read at each change (whether copies are read back); `showStatus` puts a
    // note in the status line.
    ArrangeActions(Files& files, Interaction& ui, const Preferences& preferences, QWidget* window,
                   std::function<void(const std::string& note)> showStatus);

    // A loop dropped on a row of `card`: on a free number it moves there (or is copied there),
    // on another loop the two swap after a Yes (or the copy replaces it after a Yes). Whether the
    // loop now lies at `to`.
    bool dropLoop(const std::string& card, const std::string& fromCard, int from, int to, bool toFree, bool copy);
    void deleteLoops(const std::string& card, const std::vector<int>& numbers);
    // Each loop to the same number of `toCard`, a loop there replaced only after a Yes; moved
    // loops leave `card` (and Undo takes the move back), copies stay.
    void toCard(const std::string& card, const std::vector<int>& numbers, const std::string& toCard, bool copy);
    // A loop of a store backup into loop `to` of the card, a loop there replaced after a Yes (and
    // kept in the store first); Undo takes it back as it does an arrangement.
    void restoreInto(const std::string& card, const std::string& backup, int loopInBackup, int to);
    // The card's newest arrangement taken back, or the latest one taken back made again.
    void undo(const std::string& card);
    void redo(const std::string& card);
    // Waves into the free loops: examined and converted as needed under one progress bar, then
    // the drop dialog, and after its OK the writing and one summary.
    void writeDroppedWaves(const std::string& card, const std::vector<std::string>& paths);
    // The drop dialog of `paths`, shown and left open without writing (the screenshot tour).
    DropDialog* previewDroppedWaves(const std::string& card, const std::vector<std::string>& paths);
    // What finds the tempo of a dropped wave (the program's links the onset detector); none at first.
    void setTempoFinder(tempo::TempoFinder finder) { m_tempoFinder = finder; }

private:
    // Whether the change was made.
    bool run(card::ArrangeRequest request);
    // Runs the change while the window waits, and tells its message.
    bool report(const std::function<card::ArrangeResult(backup::BackupStore&)>& change);
    bool mayReplace(const std::string& question);
    // The lines that say what was done about changes left half-done, as one note.
    void noteRecovered(const std::vector<std::string>& lines);

    Files& m_files;
    Interaction& m_ui;
    const Preferences& m_preferences;
    QWidget* m_window;
    std::function<void(const std::string& note)> m_showStatus;
    tempo::TempoFinder m_tempoFinder = nullptr;
};

}  // namespace brenvik
