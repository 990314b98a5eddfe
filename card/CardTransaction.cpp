#include "CardTransaction.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <span>

#include "ByteSource.h"
#include "DeviceReadBack.h"
#include "FolderLock.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

constexpr const char* kStagingName = ".brenvik-staging";
// The three records of a change, each in the staging folder: its intent (written first), its
// committed plan while loop folders leave their numbers, and the same plan once they have left and
// the new ones take their places. The one present tells how far the change came.
constexpr const char* kIntent = "intent";
constexpr const char* kCommitted = "committed";
constexpr const char* kPlacing = "placing";
constexpr const char* kFirstLine = "brenvik card change 1";
constexpr size_t kLargestRecord = 1 << 20;

struct Plan {
    std::string what;
    std::vector<std::pair<std::string, std::string>> out;  // card name -> staged name
    std::vector<std::pair<std::string, std::string>> in;   // staged name -> card name
};

std::string textOf(const Plan& plan) {
    std::string text = std::string(kFirstLine) + "\nwhat\t" + plan.what + "\n";
    for (const auto& [from, to] : plan.out) text += "out\t" + from + "\t" + to + "\n";
    for (const auto& [from, to] : plan.in) text += "in\t" + from + "\t" + to + "\n";
    return text + "end\n";
}

std::optional<Plan> planOf(const std::string& text) {
    Plan plan;
    size_t at = 0;
    bool first = true, ended = false;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos || ended) return std::nullopt;
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        if (line == "end") {
            ended = true;
            continue;
        }
        const size_t tab = line.find('\t');
        const std::string kind = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (kind == "what") {
            plan.what = rest;
            continue;
        }
        const size_t split = rest.find('\t');
        if (split == std::string::npos || (kind != "out" && kind != "in")) return std::nullopt;
        auto& steps = kind == "out" ? plan.out : plan.in;
        steps.emplace_back(rest.substr(0, split), rest.substr(split + 1));
    }
    if (!ended) return std::nullopt;
    return plan;
}

// A record's bytes are synced when they must be on the card before the step that follows (the
// plan, before the rename that commits it); its name reaches the card with that rename's sync.
void writeRecord(const std::string& path, const std::string& text, bool synced) {
    FileSink sink(path, FileSink::Opening::CreateNew);
    sink.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    if (synced) sink.sync();
    sink.close();
}

// A name a journal can hold on one line of its own.
void checkName(const std::string& name) {
    if (name.empty() || name.find_first_of("\t\n/") != std::string::npos)
        throw RoutineError("the name '" + name + "' cannot be journaled");
}

// Everything in the staging folder but the records, then the records (the intent before the plan,
// so that a change cut short here is still known as finished), then the folder itself. Not synced:
// should the card lose power before the removals reach it, the next program to open it finishes
// the change once more, which leaves it as it is.
void clearStaging(Files& files, const std::string& staging) {
    for (const FolderEntry& entry : files.listFolder(staging)) {
        if (entry.name == kIntent || entry.name == kCommitted || entry.name == kPlacing) continue;
        if (entry.kind == FolderEntry::Kind::Folder && !entry.isLink)
            files.deleteFolder(entry.path);
        else
            files.deleteFile(entry.path);
    }
    for (const char* record : {kIntent, kCommitted, kPlacing}) {
        const std::string path = Files::joinPath(staging, record);
        if (files.entryExists(path)) files.deleteFile(path);
    }
    files.deleteFolder(staging);
}

// Puts every loop folder that had left its number for the staging folder back, then forgets the
// commitment: until every one has left, no loop has taken a new number, so the card is as it was
// before the change. Throws RoutineError when a folder cannot go back (the commitment stays).
void takeBackLeaving(Files& files, const std::string& card, const std::string& staging, const Plan& plan) {
    for (auto step = plan.out.rbegin(); step != plan.out.rend(); ++step) {
        const std::string inStaging = Files::joinPath(staging, step->second);
        if (files.entryExists(inStaging)) files.renameEntry(inStaging, Files::joinPath(card, step->first));
    }
    files.syncFolder(card);
    files.deleteFile(Files::joinPath(staging, kCommitted));
    files.syncFolder(staging);
}

// Makes a committed change from wherever it stands, up to every loop folder in its place (what is
// left in the staging folder then only waits to go): each step is done only when it is not yet, so
// this may be cut short and run again any number of times. When a loop folder cannot leave its
// number (a write-protected folder), the change is taken back instead, and the failure thrown. A
// change with no loop folder leaving (a new loop, a copy into a free number) places at once.
void finishPlan(Files& files, const std::string& card, const std::string& staging, const Plan& plan) {
    const std::string committed = Files::joinPath(staging, kCommitted);
    const std::string placing = Files::joinPath(staging, kPlacing);
    if (!plan.out.empty() && files.entryExists(committed)) {
        try {
            for (const auto& [name, staged] : plan.out) {
                const std::string inStaging = Files::joinPath(staging, staged);
                if (!files.entryExists(inStaging)) files.renameEntry(Files::joinPath(card, name), inStaging);
            }
            files.syncFolder(card);
            files.syncFolder(staging);
        } catch (const std::exception&) {
            takeBackLeaving(files, card, staging, plan);
            throw;
        }
        files.renameEntry(committed, placing);
        files.syncFolder(staging);
    }
    if (!files.entryExists(placing) && !(plan.out.empty() && files.entryExists(committed))) return;
    for (const auto& [staged, name] : plan.in) {
        const std::string inStaging = Files::joinPath(staging, staged);
        if (files.entryExists(inStaging)) files.renameEntry(inStaging, Files::joinPath(card, name));
    }
    files.syncFolder(card);
}

// Whether the staging folder holds a committed change, before or after its loops left.
bool holdsCommitment(const Files& files, const std::string& staging) {
    return files.entryExists(Files::joinPath(staging, kCommitted)) ||
           files.entryExists(Files::joinPath(staging, kPlacing));
}

// Every name the change takes a loop folder from must be the card's one entry of that name on a
// FAT card, and every name it gives must be free once the loop folders leaving have left: a FAT
// card compares names without case, and a rename would otherwise fail half-way or leave two
// folders the Repeater cannot tell apart.
void checkNames(const Files& files, const std::string& card, const Plan& plan) {
    std::map<std::string, std::vector<std::string>> byFatName;
    const auto fatName = [](std::string name) {
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name;
    };
    for (const FolderEntry& entry : files.listFolder(card)) byFatName[fatName(entry.name)].push_back(entry.name);
    for (const auto& [name, staged] : plan.out) {
        const std::vector<std::string>& held = byFatName[fatName(name)];
        if (held.size() > 1)
            throw RoutineError(Files::joinPath(card, name) + ": " + message::oneNameOnCard({held.back() == name ? held.front() : held.back()}) +
                               ": " + message::kOneNameAdvice);
    }
    for (const auto& [staged, name] : plan.in) {
        for (const std::string& held : byFatName[fatName(name)]) {
            const bool leaving = std::any_of(plan.out.begin(), plan.out.end(),
                                             [&held](const auto& step) { return step.first == held; });
            if (!leaving) throw RoutineError(Files::joinPath(card, held) + " holds loop " + name + " already");
        }
    }
}

std::optional<std::string> readRecord(const std::string& path) {
    return backup::readSmallText(path, kLargestRecord);
}

// What an earlier version of the program could leave on a card when interrupted: restore's
// ".brenvik-new-LOOPn" (a copy not yet in place) and ".brenvik-old-LOOPn" (a loop moved aside),
// and arranging's ".brenvik-arranging" (loops that had left their numbers, and "new-" copies).
// A copy goes; a loop goes back to its number when that is free. Returns what is left.
std::vector<std::string> tidyEarlierVersions(Files& files, const std::string& card, bool dryRun) {
    std::vector<std::string> left;
    const auto putBack = [&](const FolderEntry& entry, const std::string& loopName) {
        if (dryRun) return;
        if (!files.entryExists(loop::pathOnCard(card, loopName))) {
            files.renameEntry(entry.path, Files::joinPath(card, loopName));
            files.syncFolder(card);
        }
        else if (entry.name.starts_with(".brenvik-old-"))  // its replacement is in place
            files.deleteFolder(entry.path);
        else
            left.push_back(entry.path);
    };
    for (const FolderEntry& entry : files.listFolder(card)) {
        if (entry.isLink || entry.kind != FolderEntry::Kind::Folder) continue;
        if (entry.name.starts_with(".brenvik-new-")) {
            if (!dryRun) files.deleteFolder(entry.path);
        } else if (entry.name.starts_with(".brenvik-old-")) {
            putBack(entry, entry.name.substr(13));
        } else if (entry.name.starts_with(".brenvik-arranging")) {
            for (const FolderEntry& inner : files.listFolder(entry.path)) {
                if (inner.name.starts_with("new-")) {
                    if (!dryRun) files.deleteFolder(inner.path);
                } else if (loop::loopNumberOf(inner.name)) {
                    putBack(inner, inner.name);
                } else {
                    left.push_back(inner.path);
                }
            }
            if (!dryRun && files.listFolder(entry.path).empty()) files.deleteFolder(entry.path);
        }
    }
    return left;
}

}  // namespace

std::string stagingFolderOf(const std::string& card) { return Files::joinPath(card, kStagingName); }

CardTransaction::CardTransaction(Files& files, std::string card, std::string what)
    : m_files(files), m_card(std::move(card)), m_staging(stagingFolderOf(m_card)), m_what(std::move(what)) {
    if (m_what.find('\n') != std::string::npos) throw RoutineError("a change's name cannot hold a line break");
    if (m_files.entryExists(m_staging))
        throw RoutineError(m_staging + " holds a change that was not finished");
    m_files.createFolder(m_staging);
    try {
        // Only for what recovery says: without it, a staging folder is taken back all the same.
        writeRecord(Files::joinPath(m_staging, kIntent), std::string(kFirstLine) + "\nwhat\t" + m_what + "\nend\n",
                    false);
    } catch (const std::exception&) {
        abandon();
        throw;
    }
}

CardTransaction::~CardTransaction() {
    if (!m_committed) abandon();
}

void CardTransaction::abandon() noexcept {
    try {
        if (m_files.entryExists(m_staging)) clearStaging(m_files, m_staging);
    } catch (const std::exception&) {
        // the intent stays: the next program to open the card takes the change back
    }
}

std::string CardTransaction::stagedName() { return "new-" + std::to_string(++m_names); }

std::string CardTransaction::stageFolder() {
    const std::string folder = Files::joinPath(m_staging, stagedName());
    m_files.createFolder(folder);
    m_staged.push_back(folder);
    return folder;
}

void CardTransaction::remove(const std::string& name) {
    checkName(name);
    m_out.push_back({name, "out-" + std::to_string(m_out.size() + 1)});
}

void CardTransaction::rename(const std::string& name, const std::string& newName) {
    checkName(newName);
    remove(name);
    m_in.push_back({m_out.back().second, newName});
}

void CardTransaction::place(const std::string& staged, const std::string& name) {
    checkName(name);
    m_in.push_back({loop::lastFolderName(staged), name});
}

void CardTransaction::placeFile(const std::string& name, const std::string& text) {
    checkName(name);
    if (loop::loopNumberOf(name)) throw RoutineError("the file " + name + " would be taken for a loop");
    const std::string staged = Files::joinPath(m_staging, stagedName());
    writeRecord(staged, text, true);
    // The file it replaces waits in the staging folder as a loop folder leaving its number does.
    for (const FolderEntry& entry : m_files.listFolder(m_card))
        if (loop::sameNameOnCard(entry.name, name)) remove(entry.name);
    place(staged, name);
}

void CardTransaction::readBackStaged() {
    for (const std::string& folder : m_staged)
        for (const FolderEntry& entry : m_files.listFolder(folder))
            if (entry.kind == FolderEntry::Kind::File) readBackFromDevice(entry.path);
}

void CardTransaction::commit() {
    const Plan plan{m_what, m_out, m_in};
    checkNames(m_files, m_card, plan);
    for (const std::string& folder : m_staged) m_files.syncFolder(folder);
    const std::string written = Files::joinPath(m_staging, "plan");
    writeRecord(written, textOf(plan), true);
    m_files.renameEntry(written, Files::joinPath(m_staging, kCommitted));
    m_files.syncFolder(m_staging);
    m_committed = true;
    try {
        finishPlan(m_files, m_card, m_staging, plan);
    } catch (const std::exception&) {
        // Taken back: the card is as it was, and what was staged goes.
        if (!holdsCommitment(m_files, m_staging)) {
            m_committed = false;
            throw;
        }
        // Once more, as the next program to open the card would; what still fails is left to it.
        finishPlan(m_files, m_card, m_staging, plan);
    }
    // The change is made: what the staging folder still holds goes, or else waits for the next
    // program to open the card.
    try {
        clearStaging(m_files, m_staging);
    } catch (const std::exception&) {
    }
}

Recovery recoverCard(Files& files, const std::string& card, bool dryRun) {
    Recovery recovery;
    const std::string staging = stagingFolderOf(card);
    try {
        const std::vector<std::string> left = tidyEarlierVersions(files, card, dryRun);
        if (!left.empty()) {
            recovery.outcome = Recovery::Outcome::Failed;
            recovery.what = "a change by an earlier version";
            recovery.line = message::interruptedChangeLeft(card, recovery.what);
            recovery.reason = left.front() + " holds a loop whose number is taken again";
            return recovery;
        }
        if (!files.entryExists(staging)) return recovery;
        const std::string committed = Files::joinPath(staging, kCommitted);
        const std::string placing = Files::joinPath(staging, kPlacing);
        const bool finishing = holdsCommitment(files, staging);
        const std::optional<std::string> text =
            readRecord(finishing ? (files.entryExists(placing) ? placing : committed) : Files::joinPath(staging, kIntent));
        const std::optional<Plan> plan = text ? planOf(*text) : std::nullopt;
        if (finishing && !plan) throw RoutineError("the journal of the change in " + staging + " cannot be read");
        recovery.what = plan ? plan->what : "change";
        if (finishing) {
            try {
                if (!dryRun) {
                    finishPlan(files, card, staging, *plan);
                    clearStaging(files, staging);
                }
            } catch (const std::exception&) {
                if (holdsCommitment(files, staging)) throw;
                clearStaging(files, staging);
                recovery.outcome = Recovery::Outcome::TakenBack;
                recovery.line = message::interruptedChangeTakenBack(card, recovery.what, dryRun);
                return recovery;
            }
            recovery.outcome = Recovery::Outcome::Finished;
            recovery.line = message::interruptedChangeFinished(card, recovery.what, dryRun);
        } else {
            if (!dryRun) {
                clearStaging(files, staging);
                files.syncFolder(card);
            }
            // A staging folder without any record is what a finished change had not yet removed.
            if (!plan) return recovery;
            recovery.outcome = Recovery::Outcome::TakenBack;
            recovery.line = message::interruptedChangeTakenBack(card, recovery.what, dryRun);
        }
    } catch (const std::exception&) {
        recovery.outcome = Recovery::Outcome::Failed;
        recovery.line = message::interruptedChangeLeft(card, recovery.what.empty() ? "change" : recovery.what);
        recovery.reason = caughtReason();
    }
    return recovery;
}

Recovery recoverCardIfFree(Files& files, const std::string& card) {
    if (!files.entryExists(stagingFolderOf(card))) {
        // The common case costs one look: nothing to do unless something of a change is there.
        bool earlier = false;
        try {
            for (const FolderEntry& entry : files.listFolder(card))
                earlier = earlier || entry.name.starts_with(".brenvik-");
        } catch (const std::exception&) {
        }
        if (!earlier) return {};
    }
    std::optional<FolderLock> lock;
    try {
        lock = FolderLock::take(card, FolderLock::Mode::Exclusive, std::chrono::milliseconds(0));
    } catch (const std::exception&) {
        return {};
    }
    if (!lock) return {};
    return recoverCard(files, card);
}

}  // namespace brenvik::card
