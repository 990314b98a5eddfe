#include "Arrangement.h"

#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <set>

#include "ArrangementHistory.h"
#include "BackupCheck.h"
#include "BackupStore.h"
#include "CardFolder.h"
#include "CardRoom.h"
#include "CardTransaction.h"
#include "ByteSource.h"
#include "FolderLock.h"
#include "HashedCopy.h"
#include "LoopContents.h"
#include "LoopCheck.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

using Action = ArrangeStep::Action;

// A file a placement copies: where it is read and its name in the new loop folder; the digest
// it must have, when a manifest says so.
struct SourceFile {
    std::string path;
    std::string name;
    std::string digest;
    int64_t size = 0;
};

// A placement with what the checks found out about it.
struct Move {
    Placement placement;
    bool rename = false;  // a loop of a card to another number of the same card
    std::string at;       // where the source is read from when the changes run
    std::vector<SourceFile> files;
    int64_t bytes = 0;
};

class Arranger {
public:
    Arranger(const ArrangeRequest& request, backup::BackupStore& store, Files& files, const Progress& progress)
        : m_request(request), m_store(store), m_files(files), m_progress(progress) {}

    ArrangeResult run() {
        // The cards are held, and a change an earlier program left half-done finished or taken
        // back, before anything is read from them.
        std::vector<FolderLock> held;
        if (!m_request.dryRun && (!holdCards(held) || !recoverCards())) return m_result;
        try {
            if (!check()) return m_result;
        } catch (const std::exception&) {
            return refuse(message::notArranged(m_firstCard), caughtReason());
        }
        makePlan();
        m_result.done = true;
        if (m_request.dryRun) return m_result;
        m_result.done = false;
        if (!backUp()) return m_result;
        try {
            change();
        } catch (const std::exception&) {
            const std::string reason = caughtReason();
            const bool changed = std::any_of(m_changes.begin(), m_changes.end(),
                                             [](const auto& change) { return change.second->committed(); });
            m_changes.clear();  // what was not committed is taken back
            if (changed) {
                m_result.message = message::arrangeFailed(m_firstCard);
                m_result.reason = reason;
            } else {
                refuse(message::notArranged(m_firstCard), reason);
            }
            return m_result;
        }
        m_result.done = true;
        finish();
        return m_result;
    }

private:
    ArrangeResult refuse(std::string text, std::string reason = {}) {
        m_result.message = std::move(text);
        m_result.reason = std::move(reason);
        m_result.plan.clear();
        return m_result;
    }

    // Everything that can refuse, before the plan is told or anything is written.
    bool check() {
        std::set<std::string> sources, targets;
        for (Placement placement : m_request.placements) {
            placement.from.card = absoluteCard(m_files, placement.from.card);
            if (placement.to) placement.to->card = absoluteCard(m_files, placement.to->card);
            if (m_firstCard.empty()) m_firstCard = placement.from.card;
            std::string from = placement.from.folder();
            if (placement.backup.empty()) {
                // The card may name the folder in another case (loop3).
                const std::optional<std::string> holding =
                    loopFolderHolding(m_files, placement.from.card, placement.from.number);
                if (!holding || !m_files.folderExists(*holding)) {
                    refuse(message::noLoopAt(from));
                    return false;
                }
                from = *holding;
            }
            if (placement.to == placement.from && !placement.copy && placement.backup.empty()) continue;
            if ((placement.backup.empty() && !placement.copy && !sources.insert(from).second) ||
                (placement.to && !targets.insert(placement.to->folder()).second)) {
                refuse(message::loopNamedTwice(placement.to ? placement.to->folder() : from));
                return false;
            }
            Move move{placement, false, from, {}, 0};
            if (!placement.backup.empty() ? !readBackup(move) : !readLoop(move)) return false;
            if (placement.to && !m_files.folderExists(placement.to->card)) {
                refuse(message::destinationMissing(placement.to->card));
                return false;
            }
            move.rename = placement.backup.empty() && !placement.copy && placement.to &&
                          placement.to->card == placement.from.card;
            m_moves.push_back(std::move(move));
        }
        for (const Move& move : m_moves) {
            if (!move.placement.to) continue;
            const std::optional<std::string> held =
                loopFolderHolding(m_files, move.placement.to->card, move.placement.to->number);
            if (!held || leaves(*held)) continue;
            const std::string& target = *held;
            if (!m_request.overwrite) {
                refuse(message::arrangeLoopExists(target));
                return false;
            }
            m_replaced.push_back(target);
        }
        return roomOnCards();
    }

    // Whether a loop of a card leaves its place: moved elsewhere or deleted.
    bool leaves(const std::string& folder) const {
        return std::any_of(m_moves.begin(), m_moves.end(), [&folder](const Move& m) {
            return m.placement.backup.empty() && !m.placement.copy && m.at == folder;
        });
    }

    bool readLoop(Move& move) {
        const std::string folder = move.at;
        for (const FolderEntry& entry : m_files.listFolder(folder)) {
            // A loop folder is taken whole: what is not a plain file could not go with it.
            if (entry.isLink || entry.kind != FolderEntry::Kind::File) {
                refuse(message::notArranged(m_firstCard), entry.path + " is not a plain file");
                return false;
            }
            move.files.push_back({entry.path, entry.name, {}, entry.size});
            move.bytes += entry.size;
        }
        if (!move.placement.to || m_request.force) return true;
        const std::vector<LoopProblem> problems = checkLoop(readLoopContents(m_files, folder));
        if (problems.empty()) return true;
        std::string lines;
        for (const LoopProblem& problem : problems) lines += (lines.empty() ? "" : "; ") + problem.text();
        refuse(message::loopNotIntact(folder), lines);
        return false;
    }

    bool readBackup(Move& move) {
        const backup::BackupCheck check = backup::checkBackup(m_files, move.placement.backup);
        if (!check.manifest) {
            refuse(check.refusal);
            return false;
        }
        const std::string prefix = loop::loopFolderName(move.placement.from.number) + "/";
        for (const backup::ManifestEntry& entry : *check.manifest) {
            if (!entry.name.starts_with(prefix)) continue;
            const std::string path = Files::joinPath(move.placement.backup, entry.name);
            const int64_t size = m_files.fileSize(path);
            move.files.push_back({path, entry.name.substr(prefix.size()), entry.digest, size});
            move.bytes += size;
        }
        if (move.files.empty()) {
            refuse(message::backupLacksLoop(move.placement.from.number));
            return false;
        }
        move.at = move.placement.backup;
        return true;
    }

    // Copies need room on the card they go to; renames need none. Loops replaced there leave only
    // when everything else is in place, so their room does not count. Every file takes whole
    // blocks of the card (a FAT cluster) and each new loop folder one more, so what fits by bytes
    // may still not fit on the card.
    bool roomOnCards() {
        std::map<std::string, std::vector<const Move*>> copiesTo;
        for (const Move& move : m_moves)
            if (move.placement.to && !move.rename) copiesTo[move.placement.to->card].push_back(&move);
        for (const auto& [card, moves] : copiesTo) {
            const int64_t freeBytes = m_files.freeSpace(card);
            const int64_t block = m_files.blockSize(card);
            RoomNeeded room{true, loop::kSpaceMargin, 0, 0, 0};
            for (const Move* move : moves) {
                addFolder(room, block);
                for (const SourceFile& file : move->files) addFile(room, file.size, block);
            }
            if (const std::optional<std::string> lack = lackOfRoom(room, freeBytes, block)) {
                refuse(message::kNoRoomOnCard, *lack);
                return false;
            }
        }
        return true;
    }

    std::vector<std::string> toBackUp() const {
        std::vector<std::string> folders;
        if (m_request.alreadyInStore) return folders;
        for (const Move& move : m_moves)
            if (move.placement.backup.empty() && !move.placement.copy) folders.push_back(move.at);
        folders.insert(folders.end(), m_replaced.begin(), m_replaced.end());
        return folders;
    }

    void makePlan() {
        auto& plan = m_result.plan;
        for (const std::string& folder : toBackUp()) plan.push_back({Action::BackUp, folder, {}});
        for (const std::string& folder : m_replaced) plan.push_back({Action::Delete, folder, {}});
        for (const Move& move : m_moves) {
            const Placement& p = move.placement;
            const Action action = !p.to               ? Action::Delete
                                  : !p.backup.empty() ? Action::Restore
                                  : p.copy            ? Action::Copy
                                                      : Action::Move;
            plan.push_back({action, action == Action::Restore ? p.backup : move.at, p.to ? p.to->folder() : ""});
        }
    }

    void step() {
        ++m_steps;
        if (m_progress) m_progress(static_cast<float>(m_steps), static_cast<float>(m_result.plan.size()));
    }

    // One writer per card: every card the change reads from or writes into is held for its length,
    // taken in the order of their names so that two arrangements cannot hold one each.
    // A card that is not there is refused by the checks, naming it.
    bool holdCards(std::vector<FolderLock>& held) {
        try {
            for (const Placement& placement : m_request.placements) {
                if (placement.backup.empty()) m_cards.insert(absoluteCard(m_files, placement.from.card));
                if (placement.to) m_cards.insert(absoluteCard(m_files, placement.to->card));
                if (m_firstCard.empty()) m_firstCard = absoluteCard(m_files, placement.from.card);
            }
        } catch (const std::exception&) {
            refuse(message::notArranged(m_firstCard), caughtReason());
            return false;
        }
        std::erase_if(m_cards, [this](const std::string& card) { return !m_files.folderExists(card); });
        for (const std::string& card : m_cards) {
            std::optional<FolderLock> lock;
            try {
                lock = FolderLock::take(card, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
            } catch (const std::exception&) {
                refuse(message::notArranged(m_firstCard), caughtReason());
                return false;
            }
            if (!lock) {
                refuse(message::cardBusy(card));
                return false;
            }
            held.push_back(std::move(*lock));
        }
        return true;
    }

    // A change an earlier program left half-done on any of the cards is finished or taken back
    // before this one starts.
    bool recoverCards() {
        for (const std::string& card : m_cards) {
            const Recovery recovery = recoverCard(m_files, card);
            if (recovery.failed()) {
                refuse(recovery.line, recovery.reason);
                return false;
            }
            if (!recovery.line.empty()) m_result.recovered.push_back(recovery.line);
        }
        return true;
    }

    bool backUp() {
        for (const std::string& folder : toBackUp()) {
            try {
                m_backups[folder] = m_store.backUpLoop(folder);
                m_result.backups.push_back(m_backups[folder]);
                m_result.plan[m_steps].to = m_backups[folder];  // the backups lead the plan
            } catch (const std::exception&) {
                refuse(message::loopNotBackedUp(folder), caughtReason());
                return false;
            }
            step();
        }
        return true;
    }

    // The change of a card, opened when first needed.
    CardTransaction& changeOf(const std::string& card) {
        std::unique_ptr<CardTransaction>& change = m_changes[card];
        if (!change) change = std::make_unique<CardTransaction>(m_files, card, m_request.what);
        return *change;
    }

    // A copy is made in the staging folder of the card it goes to and takes its loop number only
    // when its card's change is committed: neither a failure nor a kill half-way leaves a
    // half-written loop under a number, where the Repeater would find it.
    void copyLoop(const Move& move) {
        CardTransaction& change = changeOf(move.placement.to->card);
        const std::string fresh = change.stageFolder();
        for (const SourceFile& file : move.files) {
            const std::string from = move.placement.backup.empty() ? Files::joinPath(move.at, file.name) : file.path;
            FileSource source(from, FileSource::Links::Refuse);
            const std::string digest = backup::copyWithDigest(source, Files::joinPath(fresh, file.name));
            if (!file.digest.empty() && digest != file.digest)
                throw RoutineError("the backup file " + file.path + " changed during the copy");
        }
        change.place(fresh, loop::loopFolderName(move.placement.to->number));
    }

    // Every card's change is planned and its copies staged; then the changes are committed, those
    // of cards that receive loops before those of cards that only give them up, so that a kill
    // between two cards leaves a moved loop on both rather than on neither.
    void change() {
        for (const std::string& folder : m_replaced) changeOf(cardOf(folder)).remove(loop::lastFolderName(folder));
        for (const Move& move : m_moves) {
            const Placement& p = move.placement;
            if (move.rename)
                changeOf(p.from.card).rename(loop::lastFolderName(move.at), loop::loopFolderName(p.to->number));
            else if (p.to)
                copyLoop(move);
            if (p.backup.empty() && !p.copy && !move.rename) changeOf(p.from.card).remove(loop::lastFolderName(move.at));
            step();
        }
        std::vector<CardTransaction*> order;
        for (auto& [card, change] : m_changes) order.push_back(change.get());
        std::stable_partition(order.begin(), order.end(), [this](const CardTransaction* change) {
            return std::any_of(m_moves.begin(), m_moves.end(), [change](const Move& move) {
                return move.placement.to && move.placement.to->card == change->card();
            });
        });
        if (m_request.readBack)
            for (CardTransaction* change : order) change->readBackStaged();
        for (CardTransaction* change : order) change->commit();
    }

    static std::string cardOf(const std::string& loopFolder) { return Files::parentOf(loopFolder); }

    void finish() {
        const bool undoable = std::all_of(m_moves.begin(), m_moves.end(), [](const Move& move) {
            return move.placement.backup.empty() && !move.placement.copy;
        });
        if (m_request.undoable && undoable) record();
    }

    // What each place holds before and after, as the backups of the loops: enough to tell later
    // that the places are still as this left them, and to put them back.
    void record() {
        ArrangementRecord record{m_request.what, {}};
        const auto add = [&record](const LoopPlace& place) -> RecordedPlace& {
            for (RecordedPlace& known : record.places)
                if (known.place == place) return known;
            return record.places.emplace_back(RecordedPlace{place, {}, {}});
        };
        for (const Move& move : m_moves) add(move.placement.from).before = m_backups[move.at];
        for (const std::string& folder : m_replaced) {
            const LoopPlace place{cardOf(folder), *loop::loopNumberOf(loop::lastFolderName(folder))};
            add(place).before = m_backups[folder];
        }
        for (const Move& move : m_moves)
            if (move.placement.to) add(*move.placement.to).after = m_backups[move.at];
        try {
            saveRecord(record, m_files);
        } catch (const std::exception&) {
            m_result.message = message::arrangementNotRecorded(m_firstCard);
            m_result.reason = caughtReason();
        }
    }

    const ArrangeRequest& m_request;
    backup::BackupStore& m_store;
    Files& m_files;
    const Progress& m_progress;
    ArrangeResult m_result;
    std::string m_firstCard;  // named by the messages
    std::vector<Move> m_moves;
    std::vector<std::string> m_replaced;             // loops at a target, replaced
    std::map<std::string, std::string> m_backups;    // loop folder -> its backup
    std::set<std::string> m_cards;                   // every card read from or written into
    std::map<std::string, std::unique_ptr<CardTransaction>> m_changes;  // card -> its change
    size_t m_steps = 0;
};

}  // namespace

std::string absoluteCard(const Files& files, const std::string& card) {
    std::string path = files.absolutePath(card);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string LoopPlace::folder() const { return card + "/" + loop::loopFolderName(number); }

std::string ArrangeStep::text() const {
    switch (action) {
    case Action::BackUp: return "back up " + from + (to.empty() ? "" : " into " + to);
    case Action::Move: return "move " + from + " to " + to;
    case Action::Copy: return "copy " + from + " to " + to;
    case Action::Restore: return "restore " + from + " into " + to;
    case Action::Delete: return "delete " + from;
    }
    return {};
}

ArrangeResult arrange(const ArrangeRequest& request, backup::BackupStore& store, Files& files,
                      const Progress& progress) {
    return Arranger(request, store, files, progress).run();
}

}  // namespace brenvik::card
