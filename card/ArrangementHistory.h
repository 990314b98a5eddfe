#pragma once
// The arrangements of a card, kept in the user's data folder (Brenvik/arrangements) so that they
// can be undone and redone later, by the window or the command line, one after another: for every
// place an arrangement changed, the backup of the loop that was there before and the backup of
// the loop it left there (empty for none). With the backups' manifests that tells whether the
// places are still as it left them (to undo it) or as they were before it (to redo it).
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Arrangement.h"

namespace brenvik::card {

struct RecordedPlace {
    LoopPlace place;
    std::string before;  // a store backup, or empty when the place held no loop
    std::string after;
    bool operator==(const RecordedPlace&) const = default;
};

struct ArrangementRecord {
    std::string what;
    std::vector<RecordedPlace> places;
    bool operator==(const ArrangementRecord&) const = default;
};

// Oldest first; the first `done` are on the card, the rest were undone and can be redone.
struct ArrangementHistory {
    std::vector<ArrangementRecord> records;
    size_t done = 0;

    const ArrangementRecord* toUndo() const { return done > 0 ? &records[done - 1] : nullptr; }
    const ArrangementRecord* toRedo() const { return done < records.size() ? &records[done] : nullptr; }
};

// The newest arrangement of every card it names: what was undone there can no longer be redone.
// Throws RoutineError.
void saveRecord(const ArrangementRecord& record, Files& files);
// The history kept for the card; an empty one when there is none, or none that can be read.
ArrangementHistory loadHistory(const std::string& card, const Files& files);
// The record was undone (`undone`) or redone: each card it names whose history has it next in that
// direction steps past it. Throws RoutineError.
void stepPast(const ArrangementRecord& record, bool undone, Files& files);

}  // namespace brenvik::card
