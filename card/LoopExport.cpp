#include "LoopExport.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "ByteOrder.h"
#include "LoopCheck.h"
#include "Messages.h"
#include "Numbers.h"
#include "TrackFile.h"
#include "WaveSaving.h"

namespace fs = std::filesystem;

namespace brenvik::card {

namespace {

int endSectorOf(const loop::Description& d, int track) {
    const size_t at = static_cast<size_t>(loop::ldf::recordBase(track) + loop::ldf::kEndSector);
    return readLeS16(&d[at]);
}

}  // namespace

std::vector<WavePlan> wavesOfLoop(const LoopContents& contents) {
    std::vector<int> tracks;
    if (contents.hasDescription()) {
        tracks = loop::chosenTracks(contents.description);
    } else {
        for (int k = 1; k <= loop::kTrackFiles; ++k)
            if (contents.tracks[static_cast<size_t>(k - 1)]) tracks.push_back(k);
    }
    if (tracks.size() == 2 && contents.hasDescription() &&
        endSectorOf(contents.description, tracks[0]) == endSectorOf(contents.description, tracks[1]))
        return {WavePlan{contents.name + ".wav", tracks}};
    std::vector<WavePlan> plans;
    for (int k : tracks) plans.push_back({contents.name + "-track" + intToText(k) + ".wav", {k}});
    return plans;
}

std::optional<std::string> makeExportFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return ec.message();
    return std::nullopt;
}

std::vector<ExportOutcome> exportLoop(const std::string& loopFolder, const std::string& toFolder,
                                      Platform& platform, const ReplaceQuestion& mayReplace) {
    using Result = ExportOutcome::Result;
    const std::string folder = platform.absolutePath(loopFolder);
    const LoopContents contents = readLoopContents(folder);
    std::vector<ExportOutcome> outcomes;
    for (const WavePlan& plan : wavesOfLoop(contents)) {
        ExportOutcome outcome;
        outcome.outputPath = platform.absolutePath((fs::path(toFolder) / plan.fileName).string());
        WaveSaveRequest request;
        request.outputPath = outcome.outputPath;
        request.mode = plan.tracks.size() == 2 ? ChannelMode::Stereo : ChannelMode::Mono;
        for (size_t i = 0; i < plan.tracks.size() && outcome.message.empty(); ++i) {
            // The same open as the window's Open command, with its messages.
            const std::string track = folder + Platform::separator() + loop::trackFileName(plan.tracks[i]);
            const TrackOpenResult opened = openTrack(track, platform);
            if (opened.outcome != TrackOpenResult::Outcome::Opened) {
                outcome.result = Result::Refused;
                outcome.message = opened.outcome == TrackOpenResult::Outcome::Failed
                                      ? track + ": cannot be read as a Repeater track"
                                      : opened.message;
                outcome.icon = opened.icon;
            } else if (i == 0) {
                request.left = audioOf(opened.track);
            } else {
                request.right = audioOf(opened.track);
            }
        }
        if (outcome.result == Result::Refused) {
            outcomes.push_back(outcome);
            continue;
        }
        if (platform.fileExists(outcome.outputPath)) {
            if (!mayReplace(outcome.outputPath)) {
                outcome.result = Result::Kept;
                outcomes.push_back(outcome);
                continue;
            }
            // The save's own Yes: the old file goes first, so no tail of it stays.
            try {
                platform.deleteFile(outcome.outputPath);
            } catch (const std::exception&) {
            }
        }
        float total = 0;
        const Progress progress = [&platform, &total](float done, float all) {
            total = all;
            platform.showProgress(done, all);
        };
        const WaveSaveResult saved = saveWave(request, platform, progress);
        platform.showProgress(0, total);
        outcome.result = saved.outcome == WaveSaveResult::Outcome::Written ? Result::Written : Result::Failed;
        if (outcome.result == Result::Failed) {
            outcome.message = message::kSaveFailed;
            outcome.icon = MessageIcon::Critical;
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

}  // namespace brenvik::card
