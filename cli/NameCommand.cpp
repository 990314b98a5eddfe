// brenvik-cli name CARD N [NAME] [--clear] [--notes TEXT]: the name and notes the loop library
// keeps for a loop's content, so that they follow the loop wherever it is moved or copied.
#include <optional>
#include <string>

#include "ArgumentReader.h"
#include "Arguments.h"
#include "CardFolder.h"
#include "CardNames.h"
#include "Cli.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LibraryUse.h"
#include "LoopFolderName.h"
#include "LoopNames.h"
#include "Messages.h"
#include "NumberText.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

int runName(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const auto& p = args.positionals();
    const std::string& cardPath = p[0];
    const std::optional<int64_t> number = readNumber(p[1], 0);
    if (!number || !loop::isLoopNumber(*number))
        return badUsage(err, kNameCommand,
                        message::optionSays("N", message::notALoopNumber(quoted(p[1]))));
    const std::optional<std::string> name = p.size() > 2 ? std::optional(p[2]) : std::nullopt;
    const std::optional<std::string> notes = args.text("--notes");
    const bool clear = args.given("--clear");
    if (name && clear) return badUsage(err, kNameCommand, message::kNameOrClear);
    if (!name && !clear && !notes) return badUsage(err, kNameCommand, message::kNameClearOrNotes);
    if (name)
        if (const auto refusal = library::nameRefusal(*name)) return badUsage(err, kNameCommand, *refusal);

    Files files;
    std::vector<std::string> folders;
    try {
        folders = card::loopFoldersNamed(files, cardPath, static_cast<int>(*number));
    } catch (const std::exception&) {
        folders.clear();  // a card that cannot be read holds no loop to name
    }
    const std::string folder = loop::pathOnCard(cardPath, loop::loopFolderName(static_cast<int>(*number)));
    if (folders.size() != 1) {
        err << message::commandSays("name", folders.empty() ? message::noLoopAt(folder)
                                                            : message::loopNamedTwice(folder))
            << '\n';
        return kFailed;
    }
    library::LoopLibrary& library = library::userLibrary(files);
    const library::NamedLoop loop = library::CardNames(library, cardPath).of(folders.front());
    if (!loop.hash) {
        err << message::commandSays("name", message::loopNotNamed(folders.front())) << '\n'
            << reasonLine(loop.failure);
        sayLibraryTrouble(files, err);
        return kFailed;
    }
    // Clearing takes the name away only: where the loop came from and its notes stay.
    bool kept = true;
    if (name || clear) kept = library.rename(*loop.hash, name.value_or(""));
    if (kept && notes) kept = library.setNotes(*loop.hash, *notes);
    if (!kept) {
        err << message::commandSays("name", message::loopNotNamed(folders.front())) << '\n';
        sayLibraryTrouble(files, err);
        return kFailed;
    }
    out << folders.front() << '\n';
    return kOk;
}

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder"},
                                       {"N", Count::One, "the loop"},
                                       {"NAME", Count::Optional, "its name, at most 200 characters"}};
constexpr Option kOptions[] = {Option::flag("--clear", "takes the loop's name away (its notes stay)"),
                               Option::text("--notes", "TEXT", 0, "sets the loop's notes (empty: none)")};

}  // namespace

constinit const Command kNameCommand{
    "name",
    "Gives loop N of a card a name, or notes, kept in the loop library for what the loop holds: the name follows "
    "the loop through moves, swaps, copies, backups and undo, and is lost when its audio is changed elsewhere.",
    kPositionals, kOptions, runName};

}  // namespace brenvik::cli
