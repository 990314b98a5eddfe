#pragma once
// The last arrangement of a card, kept in the user's data folder (Brenvik/arrangements) so that it
// can be undone later, by the window or the command line: for every place it changed, the backup
// of the loop that was there before and the backup of the loop it left there (empty for none).
// With the backups' manifests that tells whether the places are still as it left them.
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

// Kept for every card it names, replacing what was kept for them. Throws RoutineError.
void saveRecord(const ArrangementRecord& record, Files& files);
// The record kept for the card; nothing when there is none, or none that can be read.
std::optional<ArrangementRecord> loadRecord(const std::string& card, const Files& files);
// Forgets the record for every card it names.
void forgetRecord(const ArrangementRecord& record, Files& files);

}  // namespace brenvik::card
