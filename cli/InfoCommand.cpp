// brenvik-cli info PATH [--json]: what a normal wave file, a Repeater loop folder or one of its
// track files holds, and what the program's openers would say about it. It only reads.
#include <cctype>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Cli.h"
#include "Files.h"
#include "InfoLoop.h"
#include "InfoReport.h"
#include "InfoWave.h"
#include "ConsoleInteraction.h"
#include "LoopFolderName.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

constexpr const char* kInfoUsage = "usage: brenvik-cli info PATH [--json]\n";

struct InfoArgs {
    std::string path;
    bool json = false;
};

std::optional<InfoArgs> parseInfoArgs(const std::vector<std::string>& args) {
    InfoArgs parsed;
    bool havePath = false;
    for (const std::string& arg : args) {
        if (arg == "--json" && !parsed.json) {
            parsed.json = true;
        } else if (arg.empty() || arg.rfind("--", 0) == 0 || havePath) {
            return std::nullopt;
        } else {
            parsed.path = arg;
            havePath = true;
        }
    }
    if (!havePath) return std::nullopt;
    return parsed;
}

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
        throw InfoRefusal{path + ": cannot be read", caughtReason()};
    }
}

InfoNode describeFolder(const Files& files, const std::string& shown, const std::string& folder) {
    if (!loop::holdsDescription(folder))
        throw InfoRefusal{shown + ": not a loop folder (no " + loop::kDescriptionFileName + " in it)", {}};
    auto description = openForReading(loop::descriptionPath(folder));
    InfoNode report = InfoNode::object();
    report.set("kind", InfoNode::text("loop folder")).set("path", InfoNode::text(shown));
    describeLoopFolder(report, files, folder, *description);
    return report;
}

bool hasWaveExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".wav";
}

InfoNode describeFile(const Files& files, const std::string& shown, const std::string& path) {
    const std::string parent = Files::parentOf(path);
    const std::string folder = parent.empty() ? std::string(".") : parent;
    const std::string fileName = loop::lastFolderName(path);
    if (fileName == loop::kDescriptionFileName) return describeFolder(files, folder, folder);
    auto file = openForReading(path);
    InfoNode report = InfoNode::object();
    const bool track = hasWaveExtension(fileName) && loop::holdsDescription(folder);
    report.set("kind", InfoNode::text(track ? "track" : "wave")).set("path", InfoNode::text(shown));
    if (track) {
        // A track: the loop name is the folder's last component, the track name the file
        // name up to its first ".", as the Repeater-to-wave window shows them.
        auto description = openForReading(loop::descriptionPath(folder));
        const std::string loopName = loop::lastFolderName(Files::parentOf(files.absolutePath(path)));
        report.set("trackSizes", describeTrack(loopName, fileName.substr(0, fileName.find('.')),
                                               *description, *file));
    }
    report.set("wave", describeWave(*file));
    return report;
}

InfoNode describePath(const std::string& shown) {
    const Files files;
    std::optional<FolderEntry::Kind> kind;
    try {
        kind = files.kindOf(shown);
    } catch (const std::exception&) {
        throw InfoRefusal{shown + ": cannot be read", caughtReason()};
    }
    if (!kind) throw InfoRefusal{shown + ": no such file or folder", {}};
    if (*kind == FolderEntry::Kind::Folder) return describeFolder(files, shown, shown);
    if (*kind == FolderEntry::Kind::File) return describeFile(files, shown, shown);
    throw InfoRefusal{shown + ": not a file or folder that can be read", {}};
}

}  // namespace

int runInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (asksForHelp(args)) {
        out << kInfoUsage;
        return kOk;
    }
    const std::optional<InfoArgs> parsed = parseInfoArgs(args);
    if (!parsed) {
        err << kInfoUsage;
        return kUsage;
    }
    try {
        const InfoNode report = describePath(parsed->path);
        if (parsed->json)
            report.writeJson(out);
        else
            report.writeText(out);
        return kOk;
    } catch (const InfoRefusal& refusal) {
        err << "brenvik-cli info: " << refusal.reason << '\n' << reasonLine(refusal.cause);
    } catch (const std::exception&) {
        err << "brenvik-cli info: " << parsed->path << ": cannot be read\n" << reasonLine(caughtReason());
    }
    return kFailed;
}

}  // namespace brenvik::cli
