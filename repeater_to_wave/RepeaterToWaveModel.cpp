#include "RepeaterToWaveModel.h"

#include <exception>

#include "ByteSource.h"
#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "TrackFile.h"
#include "WaveSaving.h"

namespace brenvik {

RepeaterToWaveModel::RepeaterToWaveModel(const Preferences& preferences, Files& files,
                                         Interaction& ui)
    : m_preferences(preferences), m_files(files), m_ui(ui) {}

const std::optional<OpenedTrack>& RepeaterToWaveModel::track(Channel channel) const {
    return channel == Channel::Left ? m_left : m_right;
}

void RepeaterToWaveModel::setMode(ChannelMode mode) {
    m_mode = mode;
    if (mode == ChannelMode::Mono) {
        m_nextChannel = Channel::Left;
        m_right.reset();
    }
}

void RepeaterToWaveModel::open() {
    FileDialogRequest dialog;
    dialog.initialFolder = m_preferences.loopFolder;
    dialog.fileName = m_dialogName;
    const std::optional<std::string> chosen = m_ui.chooseFileToOpen(dialog);
    Channel channel = m_nextChannel;
    // Only the channel dialog's OK changes the channel; its close box keeps the one before.
    if (m_mode == ChannelMode::Stereo) channel = m_ui.chooseChannel().value_or(channel);
    openTrackInto(chosen.value_or(m_dialogName), channel);
}

void RepeaterToWaveModel::openTrackInto(const std::string& path, Channel channel) {
    m_dialogName = path;
    m_nextChannel = channel;
    TrackOpenResult result = openTrack(path, m_files);
    switch (result.outcome) {
    case TrackOpenResult::Outcome::Opened:
        slot(channel) = std::move(result.track);
        break;
    case TrackOpenResult::Outcome::Untrimmed:
        m_ui.tell(result);
        m_left.reset();
        m_right.reset();
        break;
    case TrackOpenResult::Outcome::DescriptionMissing:
    case TrackOpenResult::Outcome::TrackMissing:
        m_ui.tell(result);
        break;
    case TrackOpenResult::Outcome::Failed:
        m_ui.logFailure("Open", result.reason);  // ends without a message; the channels stay
        break;
    }
}

void RepeaterToWaveModel::openDroppedTrack(const std::string& path) {
    Channel channel = Channel::Left;
    if (m_mode == ChannelMode::Stereo) channel = m_ui.chooseChannel().value_or(m_nextChannel);
    openTrackInto(path, channel);
}

void RepeaterToWaveModel::openStereoTracks(const std::string& leftPath, const std::string& rightPath) {
    setMode(ChannelMode::Stereo);
    openTrackInto(leftPath, Channel::Left);
    openTrackInto(rightPath, Channel::Right);
}

void RepeaterToWaveModel::openLoop(const std::string& folder) {
    std::vector<int> tracks;
    try {
        loop::Description d{};
        FileSource(loop::foundDescriptionPath(folder)).readZeroFilled(0, d);
        tracks = loop::chosenTracks(d);
    } catch (const std::exception&) {
        // track1.wav is opened below, where the open's own message tells what is missing
    }
    const auto trackPath = [&](int k) { return loop::pathOnCard(folder, loop::trackFileName(k)); };
    if (tracks.size() == 2) {
        openStereoTracks(trackPath(tracks[0]), trackPath(tracks[1]));
        return;
    }
    setMode(ChannelMode::Mono);
    openTrackInto(trackPath(tracks.empty() ? 1 : tracks[0]), Channel::Left);
}

void RepeaterToWaveModel::save() {
    const bool stereo = m_mode == ChannelMode::Stereo;
    m_dialogName.clear();  // the save dialog starts without a name, even when nothing is loaded
    if (!m_left) {
        m_ui.message(stereo ? message::kNoLeftTrack : message::kNothingLoaded);
        return;
    }
    if (stereo && !m_right) {
        m_ui.message(message::kNoRightTrack);
        return;
    }
    FileDialogRequest dialog;
    dialog.initialFolder = m_preferences.waveFolder;
    // The wave of LOOP3 is offered the name LOOP3.wav; a track from another folder, none.
    if (loop::loopNumberOf(m_left->loopName)) dialog.fileName = m_left->loopName + ".wav";
    WaveSaveRequest request;
    request.outputPath = m_ui.chooseFileToSave(dialog).value_or("");
    request.mode = m_mode;
    request.left = audioOf(*m_left);
    if (stereo) request.right = audioOf(*m_right);

    enableInput(false);
    const OverwritePolicy mayReplace =
        askBeforeReplacing(m_ui, [](const std::string&) { return message::kFileExists; });
    float total = 0;
    WaveSaveResult result;
    for (;;) {
        // The busy pointer shows from the copy's start, after the question, to its end.
        std::optional<BusyPointer> busy;
        const Progress progress = [this, &total, &busy](float done, float all) {
            if (!busy) busy.emplace(m_ui);
            total = all;
            m_ui.showProgress(done, all);
        };
        result = saveWave(request, m_files, mayReplace, progress);
        if (result.outcome != WaveSaveResult::Outcome::Kept) break;
        // A cancelled dialog keeps the name it was shown with.
        dialog.fileName = request.outputPath;
        if (std::optional<std::string> chosen = m_ui.chooseFileToSave(dialog))
            request.outputPath = *chosen;
    }
    m_dialogName = request.outputPath;
    if (result.outcome == WaveSaveResult::Outcome::Written) {
        m_ui.message(message::kWriteSucceeded);
        m_ui.showProgress(0, total);
    } else if (const std::string failure = failureMessage(result); !failure.empty()) {
        // The progress bar keeps the figure the copy reached.
        m_ui.message(failure, MessageButtons::Ok, MessageIcon::Critical, result.reason);
    }
    enableInput(true);
}

std::vector<std::string> RepeaterToWaveModel::shortTrackWarnings() const {
    std::vector<std::string> warnings;
    for (const std::optional<OpenedTrack>* track : {&m_left, &m_right})
        if (*track && !(*track)->holdsAllAudio()) warnings.push_back(shortTrackWarning(**track));
    return warnings;
}

void RepeaterToWaveModel::enableInput(bool enabled) {
    if (setInputEnabled) setInputEnabled(enabled);
}

}  // namespace brenvik
