// brenvik-cli names: the names of a card's loops written to the card, or read from it into this
// computer's loop library, so that they travel with the card.
#include <optional>

#include "Arguments.h"
#include "CardNamesFile.h"
#include "CardOpening.h"
#include "Cli.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "Messages.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

int runNames(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const bool writing = args.given("--write-card");
    if (writing == args.given("--read-card"))
        return badUsage(err, kNamesCommand, message::kWriteOrReadCard);
    const std::string& card = args.positionals()[0];
    Files files;
    library::LoopLibrary& library = library::userLibrary(files);
    const card::NamesFileOutcome outcome =
        writing ? card::writeNamesToCard(card, library, files) : card::readNamesFromCard(card, library, files);
    if (!outcome.recovered.empty()) sayRecovered(outcome.recovered, err);
    if (const std::optional<std::string> report = library.takeReport()) err << *report << '\n';
    if (!outcome.message.empty()) {
        ConsoleInteraction(err).message(outcome.message, MessageButtons::Ok, MessageIcon::Critical, outcome.reason);
        return kFailed;
    }
    out << outcome.line << '\n';
    return kOk;
}

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder"}};
constexpr Option kOptions[] = {
    Option::flag("--write-card", "writes the names this computer knows of the card's loops to the card"),
    Option::flag("--read-card", "reads the names on the card into this computer's loop library; a loop "
                                "named here keeps its name"),
};

}  // namespace

constinit const Command kNamesCommand{
    "names",
    "Keeps the names and notes of the card's loops in BRENVIK.TXT at the card's root, so that they travel with "
    "the card to another computer.",
    kPositionals, kOptions, runNames};

}  // namespace brenvik::cli
