#include "CardOpening.h"

#include <exception>

#include "CardFolder.h"
#include "Cli.h"
#include "ConsoleInteraction.h"

namespace brenvik::cli {

card::Recovery openCard(Files& files, const std::string& path, std::ostream& err) {
    std::string card;
    try {
        card = files.absolutePath(card::isOneLoop(path) ? Files::parentOf(files.absolutePath(path)) : path);
    } catch (const std::exception&) {
        return {};
    }
    card::Recovery recovery = card::recoverCardIfFree(files, card);
    sayRecovered(recovery.line, err);
    if (recovery.failed()) err << reasonLine(recovery.reason);
    return recovery;
}

void sayRecovered(const std::string& line, std::ostream& err) {
    if (!line.empty()) err << line << '\n';
}

}  // namespace brenvik::cli
