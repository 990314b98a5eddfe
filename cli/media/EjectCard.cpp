// brenvik-cli eject, run in the companion: udisks2 is reached through Qt D-Bus.
#include <QCoreApplication>
#include <optional>

#include "Arguments.h"
#include "CardOpening.h"
#include "CardEject.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "MediaCommands.h"
#include "UdisksEject.h"

namespace brenvik::cli::media {

int runEject(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    // Qt D-Bus wants an application before its first connection.
    static int argc = 1;
    static char name[] = "brenvik-cli";
    static char* argv[] = {name, nullptr};
    std::optional<QCoreApplication> application;
    if (!QCoreApplication::instance()) application.emplace(argc, argv);

    Files files;
    const card::CardEjection ejection = card::ejectCard(files, args.positionals()[0], ejectVolumeHolding);
    sayRecovered(ejection.recovered, err);
    (ejection.ejected ? out : err) << ejection.line << '\n' << reasonLine(ejection.reason);
    return ejection.ejected ? kOk : kFailed;
}

}  // namespace brenvik::cli::media
