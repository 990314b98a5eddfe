#include "ArrangementUndo.h"

#include <algorithm>
#include <exception>
#include <map>

#include "ArrangementRecord.h"
#include "BackupCheck.h"
#include "BackupNames.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

using Manifests = std::map<std::string, backup::Manifest>;

// Why the place no longer holds what the arrangement left there; nothing when it does.
std::optional<std::string> changedSince(const RecordedPlace& recorded, const Manifests& manifests,
                                        const Files& files) {
    const std::string folder = recorded.place.folder();
    if (recorded.after.empty()) {
        if (files.entryExists(folder)) return folder + " holds a loop again";
        return std::nullopt;
    }
    std::map<std::string, std::string> expected;  // file name -> digest
    for (const backup::ManifestEntry& entry : manifests.at(recorded.after))
        expected[entry.name.substr(entry.name.find('/') + 1)] = entry.digest;
    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolder(folder);
    } catch (const std::exception&) {
        return caughtReason();
    }
    for (const FolderEntry& entry : entries) {
        const auto found = expected.find(entry.name);
        if (found == expected.end() || entry.isLink || entry.kind != FolderEntry::Kind::File)
            return entry.path + " is new";
        std::string digest;
        try {
            digest = backup::digestOf(entry.path);
        } catch (const std::exception&) {
            return caughtReason();
        }
        if (digest != found->second) return entry.path + " was changed";
        expected.erase(found);
    }
    if (!expected.empty()) return Files::joinPath(folder, expected.begin()->first) + " is gone";
    return std::nullopt;
}

// The arrangement that puts every place back: a loop that is on the card now goes back by name,
// any other comes from its backup, and what the places hold that was not there before goes.
ArrangeRequest inverseOf(const ArrangementRecord& record, const Manifests& manifests) {
    ArrangeRequest request{"undo " + record.what, {}};
    request.overwrite = request.force = request.alreadyInStore = true;
    request.undoable = false;
    std::vector<bool> taken(record.places.size(), false);
    for (const RecordedPlace& place : record.places) {
        if (place.before.empty()) continue;
        const auto holder = std::find_if(record.places.begin(), record.places.end(),
                                         [&place](const RecordedPlace& p) { return p.after == place.before; });
        if (holder != record.places.end()) {
            taken[static_cast<size_t>(holder - record.places.begin())] = true;
            request.placements.push_back({holder->place, place.place, false, {}});
        } else {
            const int number = backup::restorableEntry(manifests.at(place.before).front().name).value_or(0);
            request.placements.push_back({{place.place.card, number}, place.place, false, place.before});
        }
    }
    for (size_t i = 0; i < record.places.size(); ++i)
        if (!taken[i] && !record.places[i].after.empty())
            request.placements.push_back({record.places[i].place, std::nullopt, false, {}});
    return request;
}

}  // namespace

std::optional<std::string> lastArrangement(const std::string& card, const Files& files) {
    try {
        if (const std::optional<ArrangementRecord> record = loadRecord(absoluteCard(files, card), files))
            return record->what;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

void recordRestore(const std::string& card, int number, const std::string& replaced,
                   const std::string& restoredFrom, Files& files) {
    const LoopPlace place{absoluteCard(files, card), number};
    saveRecord({"restore " + loop::loopFolderName(number), {{place, replaced, restoredFrom}}}, files);
}

ArrangeResult undoLastArrangement(const std::string& card, bool dryRun, backup::BackupStore& store,
                                  Files& files, const Progress& progress) {
    ArrangeResult result;
    std::optional<ArrangementRecord> record;
    try {
        record = loadRecord(absoluteCard(files, card), files);
    } catch (const std::exception&) {
    }
    if (!record) {
        result.message = message::nothingToUndo(card);
        return result;
    }
    Manifests manifests;
    for (const RecordedPlace& place : record->places) {
        for (const std::string* backup : {&place.before, &place.after}) {
            if (backup->empty() || manifests.count(*backup)) continue;
            backup::BackupCheck check = backup::checkStoredLoop(files, *backup);
            if (!check.manifest || check.manifest->empty()) {
                result.message = message::undoLacksBackup(place.place.folder());
                result.reason = check.refusal;
                return result;
            }
            manifests[*backup] = std::move(*check.manifest);
        }
    }
    for (const RecordedPlace& place : record->places) {
        if (const std::optional<std::string> change = changedSince(place, manifests, files)) {
            result.message = message::cardChangedSince(card);
            result.reason = *change;
            return result;
        }
    }
    ArrangeRequest request = inverseOf(*record, manifests);
    request.dryRun = dryRun;
    result = arrange(request, store, files, progress);
    if (result.done && !dryRun) {
        try {
            forgetRecord(*record, files);
        } catch (const std::exception&) {
            // a record that stays cannot undo twice: its places no longer hold what it says
        }
    }
    return result;
}

}  // namespace brenvik::card
