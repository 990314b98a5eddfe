#include "LoopExport.h"

#include <exception>

#include "ExportFileName.h"
#include "FolderLock.h"
#include "LoopCheck.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "TrackFile.h"
#include "WaveSaving.h"

namespace brenvik::card {

std::vector<WavePlan> wavesOfLoop(const LoopContents& contents, const std::string& loopName) {
    std::vector<int> tracks;
    if (contents.hasDescription()) {
        tracks = loop::chosenTracks(contents.description);
    } else {
        for (int k = 1; k <= loop::kTrackFiles; ++k)
            if (contents.tracks[static_cast<size_t>(k - 1)]) tracks.push_back(k);
    }
    if (tracks.size() == 2 && contents.hasDescription() &&
        loop::writtenEndSector(contents.description, tracks[0]) ==
            loop::writtenEndSector(contents.description, tracks[1]))
        return {WavePlan{library::exportFileName(contents.name, loopName), tracks}};
    std::vector<WavePlan> plans;
    for (int k : tracks)
        plans.push_back({library::exportFileName(contents.name + "-track" + intToText(k), loopName), {k}});
    return plans;
}

std::optional<std::string> makeExportFolder(Files& files, const std::string& folder) {
    try {
        files.createFolders(folder);
    } catch (const std::exception&) {
        return caughtReason();
    }
    return std::nullopt;
}

namespace {

// The export proper; it may throw, leaving in `outcomes` what was done by then.
void exportWaves(const std::string& folder, const std::string& toFolder, Files& files,
                 const OverwritePolicy& mayReplace, const Progress& progress,
                 const DamagedLoopPolicy& exportDamaged, const std::string& loopName,
                 std::vector<ExportOutcome>& outcomes) {
    using Result = ExportOutcome::Result;
    const LoopContents contents = readLoopContents(files, folder);
    // Its waves would become files of the loop they are made from.
    if (files.sameEntry(toFolder, folder)) {
        outcomes.push_back({Result::Refused, folder, message::exportIntoItself(folder), MessageIcon::Critical, {}});
        return;
    }
    // A damaged track would come out as a wave of silence, passed off as the loop.
    if (const std::vector<LoopProblem> damaged = trackProblems(checkLoop(contents)); !damaged.empty()) {
        std::string problems;
        for (const LoopProblem& problem : damaged) problems += (problems.empty() ? "" : "\n") + problem.text();
        if (!exportDamaged || !exportDamaged(contents.name, problems)) {
            outcomes.push_back({Result::Damaged, folder, message::damagedNotExported(contents.name),
                                MessageIcon::Critical, problems});
            return;
        }
    }
    // The waves may go onto a card: no save or restore writes there meanwhile. A folder that
    // cannot be opened is told by the save.
    std::optional<FolderLock> lock;
    try {
        lock = FolderLock::take(toFolder, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
        if (!lock) {
            outcomes.push_back({ExportOutcome::Result::Refused, files.absolutePath(toFolder),
                                message::cardBusy(toFolder), MessageIcon::Critical, {}});
            return;
        }
    } catch (const std::exception&) {
    }
    for (const WavePlan& plan : wavesOfLoop(contents, loopName)) {
        ExportOutcome& outcome = outcomes.emplace_back();
        outcome.outputPath = files.absolutePath(Files::joinPath(toFolder, plan.fileName));
        WaveSaveRequest request;
        request.outputPath = outcome.outputPath;
        request.mode = plan.tracks.size() == 2 ? ChannelMode::Stereo : ChannelMode::Mono;
        for (size_t i = 0; i < plan.tracks.size() && outcome.message.empty(); ++i) {
            // The same open as the window's Open command, with its messages.
            const auto& head = contents.tracks[static_cast<size_t>(plan.tracks[i] - 1)];
            const std::string track =
                head ? head->path : folder + Files::separator() + loop::trackFileName(plan.tracks[i]);
            const TrackOpenResult opened = openTrack(track, files);
            if (opened.outcome != TrackOpenResult::Outcome::Opened) {
                outcome.result = Result::Refused;
                outcome.message = opened.outcome == TrackOpenResult::Outcome::Failed
                                      ? message::trackUnreadable(track)
                                      : opened.message;
                outcome.icon = opened.icon;
                outcome.reason = opened.reason;
            } else if (i == 0) {
                request.left = audioOf(opened.track);
            } else {
                request.right = audioOf(opened.track);
            }
        }
        if (outcome.result == Result::Refused) continue;
        // The window's question before a wave is replaced has Yes and No: a cancel keeps it too.
        const auto keepOnCancel = [&mayReplace](const std::string& path) {
            const ReplaceChoice choice = mayReplace(path);
            return choice == ReplaceChoice::Cancel ? ReplaceChoice::Keep : choice;
        };
        float total = 0;
        const WaveSaveResult saved =
            saveWave(request, files, keepOnCancel, [&progress, &total](float done, float all) {
                total = all;
                if (progress) progress(done, all);
            });
        if (progress) progress(0, total);
        switch (saved.outcome) {
            case WaveSaveResult::Outcome::Written:
                outcome.result = Result::Written;
                break;
            case WaveSaveResult::Outcome::Kept:
            case WaveSaveResult::Outcome::Cancelled:
                outcome.result = Result::Kept;
                break;
            case WaveSaveResult::Outcome::Failed:
            case WaveSaveResult::Outcome::NotBackedUp:
            case WaveSaveResult::Outcome::IsInput:
                outcome.result = Result::Failed;
                // The wave that could not be written is named; a refusal keeps its own words.
                outcome.message = saved.outcome == WaveSaveResult::Outcome::Failed
                                      ? message::waveNotWritten(outcome.outputPath)
                                      : failureMessage(saved);
                outcome.icon = MessageIcon::Critical;
                outcome.reason = saved.reason;
                break;
        }
    }
}

}  // namespace

std::vector<ExportOutcome> exportLoop(const std::string& loopFolder, const std::string& toFolder,
                                      Files& files, const OverwritePolicy& mayReplace,
                                      const Progress& progress,
                                      const DamagedLoopPolicy& exportDamaged,
                                      const std::string& loopName) {
    std::vector<ExportOutcome> outcomes;
    std::string folder = loopFolder;
    try {
        folder = files.absolutePath(loopFolder);
        exportWaves(folder, toFolder, files, mayReplace, progress, exportDamaged, loopName,
                    outcomes);
    } catch (const std::exception&) {
        // A wave under way names itself; a failure before any wave names the loop.
        const auto underway = [&outcomes] {
            return !outcomes.empty() && outcomes.back().message.empty() &&
                   outcomes.back().result == ExportOutcome::Result::Failed;
        };
        if (underway() && outcomes.back().outputPath.empty()) outcomes.pop_back();
        if (underway()) {
            outcomes.back().message = message::waveNotWritten(outcomes.back().outputPath);
            outcomes.back().icon = MessageIcon::Critical;
            outcomes.back().reason = caughtReason();
        } else {
            outcomes.push_back({ExportOutcome::Result::Failed, folder,
                                message::loopNotExported(folder), MessageIcon::Critical,
                                caughtReason()});
        }
    }
    return outcomes;
}

}  // namespace brenvik::card
