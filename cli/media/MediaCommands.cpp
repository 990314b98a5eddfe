#include "MediaCommands.h"

#include <array>

#include "Cli.h"
#include "Commands.h"

namespace brenvik::cli::media {

namespace {

struct RunHere {
    const Command* command;
    CommandRun run;
};
constexpr RunHere kRunHere[] = {
    {&kInfoCommand, runInfo}, {&kConvertCommand, runConvert}, {&kPlayCommand, runPlay}, {&kToLoopCommand, runToLoop},
    {&kEjectCommand, runEject}};

// brenvik-cli's tables, in its order; those above run here, every other as in brenvik-cli.
struct MediaTables {
    std::array<Command, kCommands.size()> commands;
    std::array<const Command*, kCommands.size()> table;
    MediaTables() {
        for (size_t i = 0; i < kCommands.size(); ++i) {
            commands[i] = *kCommands[i];
            for (const RunHere& here : kRunHere)
                if (here.command == kCommands[i]) commands[i].run = here.run;
            table[i] = &commands[i];
        }
    }
};

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    static const MediaTables tables;
    return cli::run(tables.table, args, out, err, errIsTerminal);
}

}  // namespace brenvik::cli::media
