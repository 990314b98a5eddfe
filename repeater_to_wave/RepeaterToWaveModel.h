#pragma once
// The "Repeater to .WAV" window without its widgets: the mode, the channel the next open fills,
// the track opened into each channel and the open and save commands. The window draws this state
// after every command.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Channels.h"
#include "Files.h"
#include "Interaction.h"
#include "Preferences.h"
#include "TrackOpening.h"

namespace brenvik {

class RepeaterToWaveModel {
public:
    // All three must outlive the model; the preferences are read at every open and save.
    RepeaterToWaveModel(const Preferences& preferences, Files& files, Interaction& ui);

    ChannelMode mode() const { return m_mode; }
    Channel nextChannel() const { return m_nextChannel; }
    // The track shown in a channel; in mono mode the left channel is the mono one.
    const std::optional<OpenedTrack>& track(Channel channel) const;

    // What the window draws.
    const char* leftHeader() const { return m_mode == ChannelMode::Mono ? "Mono" : "Left Channel"; }
    bool rightColumnVisible() const { return m_mode == ChannelMode::Stereo; }

    // The open command: the open dialog (a cancel opens the dialog's previous name again), in
    // stereo mode the channel dialog, then the track into the chosen channel.
    void open();
    // The open command once its dialogs have returned this path and channel.
    void openTrackInto(const std::string& path, Channel channel);
    // A track dropped on the window: into the channel the mode selects, as the Open command
    // puts it there (in stereo mode the channel dialog asks).
    void openDroppedTrack(const std::string& path);
    // Two tracks as left and right channel, in stereo mode.
    void openStereoTracks(const std::string& leftPath, const std::string& rightPath);
    // A loop folder's chosen tracks: two as left and right in stereo mode (the lower track number
    // left), else the first one in mono mode. A folder without a readable description opens its
    // track1.wav, so the open command's own message tells what is missing.
    void openLoop(const std::string& folder);
    // The save command. The window takes no input from the overwrite question to the end; the
    // busy pointer shows while the wave is written. No to the overwrite question shows the save
    // dialog again, with the name refused, and saves to what it returns.
    void save();
    // Mono forgets the right track and makes the left channel the next one; stereo keeps both.
    void setMode(ChannelMode mode);
    // A warning for each loaded track that holds less audio than its loop: the saved wave is
    // silent from where the track ends.
    std::vector<std::string> shortTrackWarnings() const;

    // Told false while a save runs and true afterwards.
    std::function<void(bool enabled)> setInputEnabled;

private:
    std::optional<OpenedTrack>& slot(Channel channel) {
        return channel == Channel::Left ? m_left : m_right;
    }
    void enableInput(bool enabled);

    const Preferences& m_preferences;
    Files& m_files;
    Interaction& m_ui;
    ChannelMode m_mode = ChannelMode::Mono;
    Channel m_nextChannel = Channel::Left;
    std::optional<OpenedTrack> m_left, m_right;
    // The window's one file dialog keeps its name between uses: the last path it returned, open
    // or save; the save empties it first. A cancelled open dialog opens this name again.
    std::string m_dialogName;
};

}  // namespace brenvik
