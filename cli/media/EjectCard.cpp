// brenvik-cli eject, run in the companion: udisks2 is reached through Qt D-Bus.
#include "Arguments.h"
#include "CardOpening.h"
#include "CardEject.h"
#include "Cli.h"
#include "CommandApplication.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "MediaCommands.h"
#include "UdisksEject.h"

namespace brenvik::cli::media {

int runEject(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const CommandApplication application;  // Qt D-Bus wants one before its first connection

    Files files;
    const card::CardEjection ejection = card::ejectCard(files, args.positionals()[0], ejectVolumeHolding);
    sayRecovered(ejection.recovered, err);
    (ejection.ejected ? out : err) << ejection.line << '\n' << reasonLine(ejection.reason);
    return ejection.ejected ? kOk : kFailed;
}

}  // namespace brenvik::cli::media
