// brenvik-cli info PATH [--json]: what a normal wave file, a Repeater loop folder or one of its
// track files holds, and what the program's openers would say about it. It only reads.
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "Arguments.h"
#include "ByteSource.h"
#include "CardNames.h"
#include "Cli.h"
#include "Commands.h"
#include "Companion.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "InfoLoop.h"
#include "InfoReport.h"
#include "InfoWave.h"
#include "LibraryUse.h"
#include "LoopFolderName.h"
#include "LoopPaths.h"
#include "Messages.h"
#include "RoutineError.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

// A path that cannot be described: the one line on the error stream (and the reason below it)
// and status 1.
struct InfoRefusal {
    std::string reason;
    std::string cause;
};

// Opens a file for reading or refuses with a reason that names it.
std::unique_ptr<FileSource> openForReading(const std::string& path) {
    try {
        return std::make_unique<FileSource>(path);
    } catch (const std::exception&) {
        throw InfoRefusal{message::cannotBeRead(path), caughtReason()};
    }
}

InfoNode describeFolder(const Files& files, const std::string& shown, const std::string& folder) {
    if (!loop::holdsDescription(folder))
        throw InfoRefusal{message::notALoopFolder(shown, loop::kDescriptionFileName), {}};
    auto description = openForReading(loop::foundDescriptionPath(folder));
    InfoNode report = InfoNode::object();
    report.set("kind", InfoNode::text("loop folder")).set("path", InfoNode::text(shown));
    // What the library knows of the loop, where it knows something.
    const std::string card = Files::parentOf(files.absolutePath(folder));
    if (const auto record = library::CardNames(library::userLibrary(files), card).of(folder).record) {
        if (!record->name.empty()) report.set("name", InfoNode::text(record->name));
        if (!record->notes.empty()) report.set("notes", InfoNode::text(record->notes));
        if (!record->sourcePath.empty()) report.set("source", InfoNode::text(record->sourcePath));
    }
    describeLoopFolder(report, files, folder, *description);
    return report;
}

InfoNode describeFile(const Files& files, const std::string& shown, const std::string& path,
                      tempo::TempoFinder findTempo) {
    const std::string parent = Files::parentOf(path);
    const std::string folder = parent.empty() ? std::string(".") : parent;
    const std::string fileName = loop::lastFolderName(path);
    if (fileName == loop::kDescriptionFileName) return describeFolder(files, folder, folder);
    auto file = openForReading(path);
    InfoNode report = InfoNode::object();
    const bool track = namesTrack(path);
    report.set("kind", InfoNode::text(track ? "track" : "wave")).set("path", InfoNode::text(shown));
    if (track) {
        // A track: the loop name is the folder's last component, the track name the file
        // name up to its first ".", as the Repeater-to-wave window shows them.
        auto description = openForReading(loop::foundDescriptionPath(folder));
        const std::string loopName = loop::lastFolderName(Files::parentOf(files.absolutePath(path)));
        report.set("trackSizes", describeTrack(loopName, fileName.substr(0, fileName.find('.')),
                                               *description, *file));
    }
    report.set("wave", describeWave(*file, path, track ? nullptr : findTempo));
    return report;
}

InfoNode describePath(const std::string& shown, tempo::TempoFinder findTempo) {
    const Files files;
    std::optional<FolderEntry::Kind> kind;
    try {
        kind = files.kindOf(shown);
    } catch (const std::exception&) {
        throw InfoRefusal{message::cannotBeRead(shown), caughtReason()};
    }
    if (!kind) throw InfoRefusal{message::noSuchFileOrFolder(shown), {}};
    if (*kind == FolderEntry::Kind::Folder) return describeFolder(files, shown, shown);
    if (*kind == FolderEntry::Kind::File) return describeFile(files, shown, shown, findTempo);
    throw InfoRefusal{message::neitherFileNorFolder(shown), {}};
}

// A wave file that is not a loop's track, whose tempo info finds.
bool isPlainWave(const std::string& path) {
    try {
        return Files().kindOf(path) == FolderEntry::Kind::File && loop::lastFolderName(path) != loop::kDescriptionFileName &&
               !namesTrack(path);
    } catch (const std::exception&) {
        return false;  // described here, with the reason it cannot be read
    }
}

// The tempo of a wave is found by the companion, which links the onset detector; without the
// companion a wave is described without it.
int runInfoOrHandOver(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (isPlainWave(args.positionals()[0]) && findCompanion()) return runInCompanion(args, out, err, errIsTerminal);
    return runInfo(args, out, err, nullptr);
}

constexpr Positional kPositionals[] = {
    {"PATH", Count::One, "a wave file, a loop folder (or its loopinfo.ldf) or one of a loop's track files"}};
constexpr Option kOptions[] = {Option::flag("--json", "prints the description as JSON instead of text")};

}  // namespace

int runInfo(const Arguments& args, std::ostream& out, std::ostream& err, tempo::TempoFinder findTempo) {
    const std::string& path = args.positionals()[0];
    try {
        const InfoNode report = describePath(path, findTempo);
        sayLibraryTrouble(Files(), err);
        if (args.given("--json"))
            report.writeJson(out);
        else
            report.writeText(out);
        return kOk;
    } catch (const InfoRefusal& refusal) {
        err << message::commandSays("info", refusal.reason) << '\n' << reasonLine(refusal.cause);
    } catch (const std::exception&) {
        err << message::commandSays("info", message::cannotBeRead(path)) << '\n'
            << reasonLine(caughtReason());
    }
    return kFailed;
}

constinit const Command kInfoCommand{
    "info",
    "Describes what a wave file, a loop folder or a track file holds, and what opening it would say. It only "
    "reads.",
    kPositionals, kOptions, runInfoOrHandOver};

}  // namespace brenvik::cli
