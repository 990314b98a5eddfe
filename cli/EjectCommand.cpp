// brenvik-cli eject CARD: its table, read and checked here like every command's; the companion
// program runs it, where Qt D-Bus is linked (Companion.h).
#include "Cli.h"
#include "Commands.h"
#include "Companion.h"

namespace brenvik::cli {

namespace {

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder, or any folder on the card"}};

}  // namespace

constinit const Command kEjectCommand{
    "eject",
    "Makes the card safe to pull out, as the desktop's file managers do (through udisks2, no root needed): writes "
    "out what is still to be written, unmounts it and switches its device off where it can. It refuses while "
    "another program is changing the card, and finishes or takes back a change left interrupted first.",
    kPositionals, {}, runInCompanion};

}  // namespace brenvik::cli
