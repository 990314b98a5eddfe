// brenvik-cli backups [CARD] [--loop N] [--json]: the backup store's backups, newest first, with
// the card each came from and the loop's name where the library knows it; given a card, its own
// backups first and the others marked.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "Arguments.h"
#include "BackupLoopNames.h"
#include "BackupStore.h"
#include "Cli.h"
#include "Commands.h"
#include "Files.h"
#include "InfoReport.h"
#include "LibraryUse.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

// The characters of UTF-8 text, for the width of a column.
size_t charactersOf(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

InfoNode backupNode(const backup::StoredBackup& stored, const std::string& name,
                    const std::optional<backup::BackupOrigin>& card) {
    const auto textOrNone = [](const std::string& text) { return text.empty() ? InfoNode() : InfoNode::text(text); };
    const backup::BackupOrigin origin = stored.origin.value_or(backup::BackupOrigin{});
    InfoNode node = InfoNode::object();
    node.set("folder", InfoNode::text(stored.folder))
        .set("loop", InfoNode::integer(stored.loopNumber))
        .set("name", textOrNone(name))
        .set("made", InfoNode::text(stored.made))
        .set("bytes", InfoNode::integer(stored.bytes))
        .set("card", textOrNone(origin.card))
        .set("label", textOrNone(origin.label))
        .set("uuid", textOrNone(origin.uuid));
    if (card) node.set("thisCard", InfoNode::flag(backup::isFromCard(stored, *card)));
    return node;
}

int runBackups(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    Files files;
    std::optional<backup::BackupOrigin> card;
    if (!args.positionals().empty()) {
        const std::string& path = args.positionals()[0];
        if (!files.folderExists(path)) {
            err << message::commandSays("backups", message::notAFolder(path)) << '\n';
            return kFailed;
        }
        card = backup::originOf(path, std::nullopt, {});
    }
    const backup::BackupStore store(files);
    std::vector<backup::StoredBackup> backups = store.listBackups(args.number("--loop"));
    if (card) backup::putCardFirst(backups, *card);
    std::map<std::string, std::string> names = library::namesOfBackups(library::userLibrary(files), store.root(), backups);
    sayLibraryTrouble(files, err);
    const int64_t over = store.overLimit();
    if (args.given("--json")) {
        InfoNode list = InfoNode::list();
        for (const backup::StoredBackup& stored : backups) list.push(backupNode(stored, names[stored.folder], card));
        InfoNode report = InfoNode::object();
        report.set("store", InfoNode::text(store.root()))
            .set("limit", InfoNode::integer(store.limit()))
            .set("overLimit", InfoNode::integer(over))
            .set("backups", std::move(list));
        report.writeJson(out);
        return kOk;
    }
    // A name column only when a backup has a name, as wide as the longest.
    size_t nameWidth = names.empty() ? 0 : charactersOf("name") + 1;
    for (const auto& [folder, name] : names) nameWidth = std::max(nameWidth, charactersOf(name) + 1);
    const auto nameCell = [nameWidth](const std::string& name) {
        return nameWidth == 0 ? std::string() : name + std::string(nameWidth - charactersOf(name), ' ');
    };
    char row[80];
    std::snprintf(row, sizeof row, "%-8s ", "loop");
    out << row << nameCell("name");
    std::snprintf(row, sizeof row, "%-18s %11s  ", "made", "bytes");
    out << row << "card\n";
    for (const backup::StoredBackup& stored : backups) {
        std::snprintf(row, sizeof row, "%-8s ", loop::loopFolderName(stored.loopNumber).c_str());
        out << row << nameCell(names[stored.folder]);
        std::snprintf(row, sizeof row, "%-18s %11lld  ", stored.made.c_str(), static_cast<long long>(stored.bytes));
        const backup::BackupOrigin origin = stored.origin.value_or(backup::BackupOrigin{});
        const std::string from = origin.card.empty() ? "-" : origin.card;
        out << row << (card && !backup::isFromCard(stored, *card) ? message::fromAnotherCard(from, origin.label) : from)
            << '\n'
            << "  " << stored.folder << '\n';
    }
    if (over > 0) out << message::storeOverLimit(over, store.limit()) << '\n';
    return kOk;
}

constexpr Positional kPositionals[] = {{"CARD", Count::Optional, "a card folder: its own backups come first"}};
constexpr Option kOptions[] = {
    Option::number("--loop", "N", loop::kLowestLoop, loop::kHighestLoop, "lists only backups of loop N"),
    Option::flag("--json", "prints the list as JSON")};

}  // namespace

constinit const Command kBackupsCommand{
    "backups",
    "Lists the backup store, newest first: each backup's loop, its name where the library knows it, the UTC time it "
    "was made, its bytes, the card it came from and its folder (which restore takes as BACKUP); then by how much the store is over its limit, if it is.",
    kPositionals, kOptions, runBackups};

}  // namespace brenvik::cli
