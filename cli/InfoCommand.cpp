// brenvik-cli info PATH [--json]: what a normal wave file, a Repeater loop folder or one of its
// track files holds, and what the program's openers would say about it. It only reads.
#include <cctype>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "Arguments.h"
#include "ByteSource.h"
#include "Cli.h"
#include "Commands.h"
#include "InfoLoop.h"
#include "InfoReport.h"
#include "InfoWave.h"
#include "LoopFolderName.h"

namespace brenvik::cli {

namespace {

namespace fs = std::filesystem;

// A path that cannot be described: the one line on the error stream and status 1.
struct InfoRefusal {
    std::string reason;
};

std::string asText(const fs::path& path) { return path.string(); }

bool isDescriptionIn(const fs::path& folder) {
    std::error_code ignored;
    return fs::is_regular_file(folder / loop::kDescriptionFileName, ignored);
}

// Opens a file for reading or refuses with a reason that names it.
std::unique_ptr<FileSource> openForReading(const fs::path& path) {
    try {
        return std::make_unique<FileSource>(asText(path));
    } catch (const std::exception&) {
        throw InfoRefusal{asText(path) + ": cannot be read"};
    }
}

InfoNode describeFolder(const std::string& shown, const fs::path& folder) {
    if (!isDescriptionIn(folder))
        throw InfoRefusal{shown + ": not a loop folder (no " + loop::kDescriptionFileName + " in it)"};
    auto description = openForReading(folder / loop::kDescriptionFileName);
    InfoNode report = InfoNode::object();
    report.set("kind", InfoNode::text("loop folder")).set("path", InfoNode::text(shown));
    describeLoopFolder(report, asText(folder), *description);
    return report;
}

bool hasWaveExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".wav";
}

InfoNode describeFile(const std::string& shown, const fs::path& path) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (path.filename() == loop::kDescriptionFileName) return describeFolder(asText(folder), folder);
    auto file = openForReading(path);
    InfoNode report = InfoNode::object();
    const bool track = hasWaveExtension(path) && isDescriptionIn(folder);
    report.set("kind", InfoNode::text(track ? "track" : "wave")).set("path", InfoNode::text(shown));
    if (track) {
        // A track: the loop name is the folder's last component, the track name the file
        // name up to its first ".", as the Repeater-to-wave window shows them.
        auto description = openForReading(folder / loop::kDescriptionFileName);
        const std::string fileName = asText(path.filename());
        const std::string loopName = asText(fs::absolute(path).parent_path().filename());
        report.set("trackSizes", describeTrack(loopName, fileName.substr(0, fileName.find('.')),
                                               *description, *file));
    }
    report.set("wave", describeWave(*file));
    return report;
}

InfoNode describePath(const std::string& shown) {
    const fs::path path(shown);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) throw InfoRefusal{shown + ": no such file or folder"};
    if (error) throw InfoRefusal{shown + ": cannot be read"};
    if (fs::is_directory(status)) return describeFolder(shown, path);
    if (fs::is_regular_file(status)) return describeFile(shown, path);
    throw InfoRefusal{shown + ": not a file or folder that can be read"};
}

int runInfo(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const std::string& path = args.positionals()[0];
    try {
        const InfoNode report = describePath(path);
        if (args.given("--json"))
            report.writeJson(out);
        else
            report.writeText(out);
        return kOk;
    } catch (const InfoRefusal& refusal) {
        err << "brenvik-cli info: " << refusal.reason << '\n';
    } catch (const std::exception&) {
        err << "brenvik-cli info: " << path << ": cannot be read\n";
    }
    return kFailed;
}

constexpr Positional kPositionals[] = {
    {"PATH", Count::One, "a wave file, a loop folder (or its loopinfo.ldf) or one of a loop's track files"}};
constexpr Option kOptions[] = {Option::flag("--json", "prints the description as JSON instead of text")};

}  // namespace

constinit const Command kInfoCommand{
    "info",
    "Describes what a wave file, a loop folder or a track file holds, and what opening it would say. It only "
    "reads.",
    kPositionals, kOptions, runInfo};

}  // namespace brenvik::cli
