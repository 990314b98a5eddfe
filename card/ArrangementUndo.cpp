#include "ArrangementUndo.h"

#include <algorithm>
#include <exception>
#include <map>

#include "ArrangementHistory.h"
#include "BackupCheck.h"
#include "BackupNames.h"
#include "BackupStore.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

using Manifests = std::map<std::string, backup::Manifest>;

// Which way a record is taken: back to what its places held before, or forth to what it left.
enum class Way { Back, Forth };

// What the place holds when the record is on the card (`Back`) or undone (`Forth`), and what it
// is to hold after the step.
const std::string& heldNow(const RecordedPlace& place, Way way) {
    return way == Way::Back ? place.after : place.before;
}
const std::string& heldAfter(const RecordedPlace& place, Way way) {
    return way == Way::Back ? place.before : place.after;
}

// Why the place no longer holds the backup `expected`; nothing when it does.
std::optional<std::string> changedSince(const LoopPlace& place, const std::string& expected, const Manifests& manifests,
                                        const Files& files) {
    const std::string folder = place.folder();
    if (expected.empty()) {
        if (files.entryExists(folder)) return folder + " holds a loop again";
        return std::nullopt;
    }
    std::map<std::string, std::string> digests;  // file name -> digest
    for (const backup::ManifestEntry& entry : manifests.at(expected))
        digests[entry.name.substr(entry.name.find('/') + 1)] = entry.digest;
    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolder(folder);
    } catch (const std::exception&) {
        return caughtReason();
    }
    for (const FolderEntry& entry : entries) {
        const auto found = digests.find(entry.name);
        if (found == digests.end() || entry.isLink || entry.kind != FolderEntry::Kind::File)
            return entry.path + " is new";
        std::string digest;
        try {
            digest = backup::digestOf(entry.path);
        } catch (const std::exception&) {
            return caughtReason();
        }
        if (digest != found->second) return entry.path + " was changed";
        digests.erase(found);
    }
    if (!digests.empty()) return Files::joinPath(folder, digests.begin()->first) + " is gone";
    return std::nullopt;
}

// The arrangement that takes every place the record's way: a loop that is on the card now goes
// there by name, any other comes from its backup, and what the places hold that is not to stay
// goes.
ArrangeRequest stepOf(const ArrangementRecord& record, Way way, const Manifests& manifests) {
    ArrangeRequest request{(way == Way::Back ? "undo " : "redo ") + record.what, {}};
    request.overwrite = request.force = request.alreadyInStore = true;
    request.undoable = false;
    std::vector<bool> taken(record.places.size(), false);
    for (const RecordedPlace& place : record.places) {
        const std::string& wanted = heldAfter(place, way);
        if (wanted.empty()) continue;
        const auto holder = std::find_if(record.places.begin(), record.places.end(),
                                         [&](const RecordedPlace& p) { return heldNow(p, way) == wanted; });
        if (holder != record.places.end()) {
            taken[static_cast<size_t>(holder - record.places.begin())] = true;
            request.placements.push_back({holder->place, place.place, false, {}});
        } else {
            const int number = backup::restorableEntry(manifests.at(wanted).front().name).value_or(0);
            request.placements.push_back({{place.place.card, number}, place.place, false, wanted});
        }
    }
    for (size_t i = 0; i < record.places.size(); ++i)
        if (!taken[i] && !heldNow(record.places[i], way).empty())
            request.placements.push_back({record.places[i].place, std::nullopt, false, {}});
    return request;
}

// The next record of the card's history taken its way, each backup it names checked first and
// every place it changes found as the record says it should be.
ArrangeResult step(const std::string& card, Way way, bool dryRun, backup::BackupStore& store, Files& files,
                   const Progress& progress) {
    ArrangeResult result;
    std::optional<ArrangementRecord> record;
    try {
        const ArrangementHistory history = loadHistory(absoluteCard(files, card), files);
        if (const ArrangementRecord* next = way == Way::Back ? history.toUndo() : history.toRedo()) record = *next;
    } catch (const std::exception&) {
    }
    if (!record) {
        result.message = way == Way::Back ? message::nothingToUndo(card) : message::nothingToRedo(card);
        return result;
    }
    Manifests manifests;
    for (const RecordedPlace& place : record->places) {
        for (const std::string* backup : {&place.before, &place.after}) {
            if (backup->empty() || manifests.count(*backup)) continue;
            backup::BackupCheck check = backup::checkStoredLoop(files, *backup);
            if (!check.manifest || check.manifest->empty()) {
                result.message = way == Way::Back ? message::undoLacksBackup(place.place.folder())
                                                  : message::redoLacksBackup(place.place.folder());
                result.reason = check.refusal;
                return result;
            }
            manifests[*backup] = std::move(*check.manifest);
        }
    }
    for (const RecordedPlace& place : record->places) {
        const std::optional<std::string> change = changedSince(place.place, heldNow(place, way), manifests, files);
        if (change) {
            result.message = way == Way::Back ? message::cardChangedSince(card) : message::cardChangedSinceUndo(card);
            result.reason = *change;
            return result;
        }
    }
    ArrangeRequest request = stepOf(*record, way, manifests);
    request.dryRun = dryRun;
    result = arrange(request, store, files, progress);
    if (result.done && !dryRun) {
        try {
            stepPast(*record, way == Way::Back, files);
        } catch (const std::exception&) {
            // a history that stays cannot take the step twice: its places no longer hold what it says
        }
    }
    return result;
}

// A backup of the store is its own record of the loop it restored; any other is not kept as long,
// so the loops restored from it are backed up into the store as they now stand on the card.
void recordRestore(const backup::RestoreRequest& request, const backup::RestoreResult& restored,
                   backup::BackupStore& store, Files& files) {
    const std::string card = absoluteCard(files, request.card);
    const std::string from = files.absolutePath(request.backup);
    const bool fromStore = files.folderExists(store.root()) && files.sameEntry(Files::parentOf(from), store.root()) &&
                           backup::checkStoredLoop(files, from).manifest.has_value();
    ArrangementRecord record{"restore", {}};
    bool backedUp = false;
    for (size_t i = 0; i < restored.loopFolders.size(); ++i) {
        const int number = loop::loopNumberOf(loop::lastFolderName(restored.loopFolders[i])).value_or(0);
        record.what += " " + loop::loopFolderName(number);
        const std::string after = fromStore ? from : store.backUpLoop(restored.loopFolders[i]);
        backedUp = backedUp || !fromStore;
        record.places.push_back({{card, number}, restored.replaced[i], after});
    }
    saveRecord(record, files);
    if (backedUp) store.prune();
}

std::optional<std::string> nextWhat(const std::string& card, Way way, const Files& files) {
    try {
        const ArrangementHistory history = loadHistory(absoluteCard(files, card), files);
        if (const ArrangementRecord* next = way == Way::Back ? history.toUndo() : history.toRedo()) return next->what;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> arrangementToUndo(const std::string& card, const Files& files) {
    return nextWhat(card, Way::Back, files);
}

std::optional<std::string> arrangementToRedo(const std::string& card, const Files& files) {
    return nextWhat(card, Way::Forth, files);
}

backup::RestoreResult restoreUndoably(const backup::RestoreRequest& request, backup::BackupStore& store,
                                      Files& files) {
    backup::RestoreResult result;
    try {
        result = backup::restoreBackup(request, store, files);
    } catch (const std::exception&) {
        // Where the one loop asked for went, else the card.
        std::string target = request.card;
        if (request.loops.size() == 1)
            target = Files::joinPath(request.card, loop::loopFolderName(request.as.value_or(request.loops.front())));
        result = {};
        result.message = message::restoreFailed(target);
        result.reason = caughtReason();
        return result;
    }
    if (!result.restored) return result;
    try {
        recordRestore(request, result, store, files);
    } catch (const std::exception&) {
        result.notUndoable = caughtReason();
    }
    return result;
}

ArrangeResult undoArrangement(const std::string& card, bool dryRun, backup::BackupStore& store, Files& files,
                              const Progress& progress) {
    return step(card, Way::Back, dryRun, store, files, progress);
}

ArrangeResult redoArrangement(const std::string& card, bool dryRun, backup::BackupStore& store, Files& files,
                              const Progress& progress) {
    return step(card, Way::Forth, dryRun, store, files, progress);
}

}  // namespace brenvik::card
