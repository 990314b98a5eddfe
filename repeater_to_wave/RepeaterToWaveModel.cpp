#include "RepeaterToWaveModel.h"

#include <exception>

#include "ByteSource.h"
#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "TrackFile.h"
#include "WaveSaving.h"

namespace brenvik {

RepeaterToWaveModel::RepeaterToWaveModel(const Preferences& preferences, Platform& platform)
    : m_preferences(preferences), m_platform(platform) {}

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
    const std::optional<std::string> chosen = m_platform.chooseFileToOpen(dialog);
    Channel channel = m_nextChannel;
    // Only the channel dialog's OK changes the channel; its close box keeps the one before.
    if (m_mode == ChannelMode::Stereo) channel = m_platform.chooseChannel().value_or(channel);
    openTrackInto(chosen.value_or(m_dialogName), channel);
}

void RepeaterToWaveModel::openTrackInto(const std::string& path, Channel channel) {
    m_dialogName = path;
    m_nextChannel = channel;
    TrackOpenResult result = openTrack(path, m_platform);
    switch (result.outcome) {
    case TrackOpenResult::Outcome::Opened:
        slot(channel) = std::move(result.track);
        break;
    case TrackOpenResult::Outcome::Untrimmed:
        m_platform.message(result.message, MessageButtons::Ok, result.icon);
        m_left.reset();
        m_right.reset();
        break;
    case TrackOpenResult::Outcome::DescriptionMissing:
    case TrackOpenResult::Outcome::TrackMissing:
        m_platform.message(result.message, MessageButtons::Ok, result.icon);
        break;
    case TrackOpenResult::Outcome::Failed:
        break;  // ends silently; the channels stay as they were
    }
}

void RepeaterToWaveModel::openDroppedTrack(const std::string& path) {
    Channel channel = Channel::Left;
    if (m_mode == ChannelMode::Stereo) channel = m_platform.chooseChannel().value_or(m_nextChannel);
    openTrackInto(path, channel);
}

void RepeaterToWaveModel::openStereoTracks(const std::string& leftPath, const std::string& rightPath) {
    setMode(ChannelMode::Stereo);
    openTrackInto(leftPath, Channel::Left);
    openTrackInto(rightPath, Channel::Right);
}

void RepeaterToWaveModel::openLoop(const std::string& folder) {
    const std::string sep = Platform::separator();
    std::vector<int> tracks;
    try {
        loop::Description d{};
        FileSource(folder + sep + loop::kDescriptionFileName).readZeroFilled(0, d);
        tracks = loop::chosenTracks(d);
    } catch (const std::exception&) {
        // opened below, where the open's own message tells
    }
    const auto trackPath = [&](int k) { return folder + sep + loop::trackFileName(k); };
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
        m_platform.message(stereo ? message::kNoLeftTrack : message::kNothingLoaded);
        return;
    }
    if (stereo && !m_right) {
        m_platform.message(message::kNoRightTrack);
        return;
    }
    WaveSaveRequest request;
    request.dialog.initialFolder = m_preferences.waveFolder;
    request.outputPath = m_platform.chooseFileToSave(request.dialog).value_or("");
    request.mode = m_mode;
    request.left = audioOf(*m_left);
    if (stereo) request.right = audioOf(*m_right);

    enableInput(false);
    float total = 0;
    const Progress progress = [this, &total](float done, float all) {
        total = all;
        m_platform.showProgress(done, all);
    };
    const WaveSaveResult result = saveWave(request, m_platform, progress);
    m_dialogName = result.outputPath;
    if (result.outcome == WaveSaveResult::Outcome::Written) {
        m_platform.message(message::kWriteSucceeded);
        m_platform.showProgress(0, total);
    } else if (result.outcome == WaveSaveResult::Outcome::Failed) {
        // The progress bar keeps the figure the copy reached.
        m_platform.message(message::kSaveFailed, MessageButtons::Ok, MessageIcon::Critical);
    }
    enableInput(true);
}

void RepeaterToWaveModel::enableInput(bool enabled) {
    if (setInputEnabled) setInputEnabled(enabled);
}

}  // namespace brenvik
