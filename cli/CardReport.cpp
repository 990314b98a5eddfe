#include "CardReport.h"

#include <cmath>
#include <cstdio>

#include "Messages.h"
#include "Numbers.h"

namespace brenvik::cli {

namespace {

InfoNode integers(const std::vector<int>& values) {
    InfoNode list = InfoNode::list();
    for (int v : values) list.push(InfoNode::integer(v));
    return list;
}

std::string joined(const std::vector<int>& values) {
    std::string text;
    for (int v : values) {
        if (!text.empty()) text += ',';
        text += intToText(v);
    }
    return text.empty() ? "-" : text;
}

// "1 problem", "2 warnings".
std::string counted(size_t count, const char* what) {
    return intToText(static_cast<long long>(count)) + what + (count == 1 ? "" : "s");
}

std::string lengthText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

// A row without its trailing spaces, which a loop without a name would leave.
std::string trimmedRow(const char* row) {
    std::string text(row);
    const size_t end = text.find_last_not_of(' ', text.size() - 2);
    return text.substr(0, end + 1) + '\n';
}

std::string nameOf(const LoopNames& names, const std::string& folder) {
    const auto named = names.find(folder);
    return named == names.end() ? std::string() : named->second.name();
}

}  // namespace

InfoNode loopNode(const card::LoopSummary& loop, const library::NamedLoop* named) {
    const auto ifDescribed = [&loop](InfoNode value) { return loop.described ? std::move(value) : InfoNode(); };
    InfoNode problems = InfoNode::list();
    for (const std::string& line : loop.problemLines()) problems.push(InfoNode::text(line));
    InfoNode warnings = InfoNode::list();
    for (const card::LoopProblem& warning : loop.warnings) warnings.push(InfoNode::text(loop.name + ": " + warning.text()));
    InfoNode node = InfoNode::object();
    node.set("number", InfoNode::integer(loop.number))
        .set("name", InfoNode::text(loop.name))
        .set("path", InfoNode::text(loop.folder))
        .set("tempo", ifDescribed(InfoNode::real(std::round(loop.tempo * 10) / 10)))
        .set("beatCount", ifDescribed(InfoNode::integer(loop.beatCount)))
        .set("beatsPerBar", ifDescribed(InfoNode::integer(loop.beatsPerBar)))
        .set("division", ifDescribed(InfoNode::integer(loop.division)))
        .set("seconds", ifDescribed(InfoNode::real(loop.seconds)))
        .set("channels", ifDescribed(InfoNode::text(loop.channels())))
        .set("chosenTracks", integers(loop.chosenTracks))
        .set("trackFiles", integers(loop.trackFiles))
        .set("sizeOnDisk", InfoNode::integer(loop.sizeOnDisk))
        .set("check", InfoNode::text(loop.intact() ? "ok" : "problems"))
        .set("problems", std::move(problems))
        .set("warnings", std::move(warnings));
    if (named) node.set("loopName", InfoNode::text(named->name())).set("notes", InfoNode::text(named->notes()));
    return node;
}

InfoNode listingNode(const card::CardListing& listing, const LoopNames& names) {
    InfoNode loops = InfoNode::list();
    const library::NamedLoop none;
    for (const card::LoopSummary& loop : listing.loops) {
        const auto named = names.find(loop.folder);
        loops.push(loopNode(loop, named == names.end() ? &none : &named->second));
    }
    InfoNode node = InfoNode::object();
    node.set("card", InfoNode::text(listing.card))
        .set("loops", std::move(loops))
        .set("loopCount", InfoNode::integer(static_cast<long long>(listing.loops.size())))
        .set("freeLoopNumbers", InfoNode::integer(listing.freeLoopNumbers))
        .set("lowestFreeLoop", listing.lowestFreeLoop ? InfoNode::integer(*listing.lowestFreeLoop) : InfoNode())
        .set("freeSpace", listing.freeSpace ? InfoNode::integer(*listing.freeSpace) : InfoNode());
    return node;
}

void writeListingTable(std::ostream& out, const card::CardListing& listing, const LoopNames& names) {
    char row[1200];
    std::snprintf(row, sizeof row, "%-8s %6s %6s %9s %5s %3s %9s %-8s %-7s %-7s %11s  %-10s  %s\n", "loop", "tempo",
                  "bars", "beats/bar", "beats", "div", "length", "channels", "chosen", "files", "bytes", "check", "name");
    out << row;
    for (const card::LoopSummary& loop : listing.loops) {
        const std::string check = !loop.intact() ? counted(loop.problems.size(), " problem")
                                  : loop.warnings.empty() ? "ok" : counted(loop.warnings.size(), " warning");
        const std::string name = nameOf(names, loop.folder);
        if (loop.described)
            std::snprintf(row, sizeof row, "%-8s %6s %6s %9d %5d %3d %9s %-8s %-7s %-7s %11lld  %-10s  %s\n",
                          loop.name.c_str(), card::tempoText(loop.tempo).c_str(),
                          message::barsText(loop.beatCount, loop.beatsPerBar).c_str(), loop.beatsPerBar,
                          loop.beatCount, loop.division, lengthText(loop.seconds).c_str(), loop.channels().c_str(),
                          joined(loop.chosenTracks).c_str(), joined(loop.trackFiles).c_str(),
                          static_cast<long long>(loop.sizeOnDisk), check.c_str(), name.c_str());
        else
            std::snprintf(row, sizeof row, "%-8s %6s %6s %9s %5s %3s %9s %-8s %-7s %-7s %11lld  %-10s  %s\n",
                          loop.name.c_str(), "-", "-", "-", "-", "-", "-", "-", "-", joined(loop.trackFiles).c_str(),
                          static_cast<long long>(loop.sizeOnDisk), check.c_str(), name.c_str());
        out << trimmedRow(row);
        for (const std::string& line : loop.problemLines()) out << "  " << line << '\n';
        for (const std::string& line : loop.warningLines()) out << "  " << line << '\n';
    }
    out << "loops: " << listing.loops.size() << '\n'
        << "free loop numbers: " << listing.freeLoopNumbers;
    if (listing.lowestFreeLoop) out << " (lowest " << *listing.lowestFreeLoop << ')';
    out << "\nfree space: "
        << (listing.freeSpace ? intToText(*listing.freeSpace) + " bytes" : std::string("unknown")) << '\n';
}

}  // namespace brenvik::cli
