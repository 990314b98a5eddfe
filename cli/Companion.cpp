#include "Companion.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Arguments.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Messages.h"

namespace fs = std::filesystem;

namespace brenvik::cli {

namespace {

// The folder of the running program, through the link the kernel keeps to it (so a link to
// brenvik-cli elsewhere still finds the companion); empty when it cannot be read.
std::string ownFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace

std::vector<std::string> companionPlaces(const std::string& ownFolder) {
    if (ownFolder.empty()) return {};
    const fs::path folder(ownFolder);
    return {(folder / kCompanionName).string(),
            (folder / BRENVIK_COMPANION_FROM_BIN / kCompanionName).lexically_normal().string()};
}

std::optional<std::string> findCompanion() {
    for (const std::string& place : companionPlaces(ownFolder()))
        if (::access(place.c_str(), X_OK) == 0) return place;
    return std::nullopt;
}

int runInCompanion(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const std::string command = args.commandLine().front();
    const std::vector<std::string> places = companionPlaces(ownFolder());
    for (const std::string& place : places) {
        if (::access(place.c_str(), X_OK) != 0) continue;
        std::vector<std::string> line = args.commandLine();
        line.insert(line.begin(), place);
        std::vector<char*> argv;
        for (std::string& word : line) argv.push_back(word.data());
        argv.push_back(nullptr);
        out.flush();
        err.flush();
        ::execv(place.c_str(), argv.data());
        const int error = errno;  // only reached when the companion could not be started
        err << message::commandSays(command, message::companionUnstartable(place)) << '\n'
            << reasonLine(std::strerror(error));
        return kFailed;
    }
    err << message::commandSays(command, message::companionMissing(kCompanionName)) << '\n'
        << reasonLine(message::companionLookedIn(places));
    return kFailed;
}

}  // namespace brenvik::cli
