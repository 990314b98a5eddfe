#pragma once
// The ".WAV to Repeater" window without its widgets: the opened wave, the loop settings, the
// destination and the commands, as typed state. The window draws this state and hands the user's
// actions to the commands; text is made only when it draws.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "AudioInfo.h"
#include "Channels.h"
#include "Files.h"
#include "Interaction.h"
#include "LoopPlan.h"
#include "LoopSettings.h"
#include "Preferences.h"
#include "TempoEstimate.h"
#include "WaveOpening.h"

namespace brenvik {

// Where the wave the window shows came from, when it is a converted copy: the file the user
// imported and what it was.
struct ConversionNote {
    std::string original;
    std::string wave;  // the converted copy, which the file line shows and Save reads
    AudioInfo source;
};

// What a Save would write right now: the loop folder and the plan of the loop, or the message
// that refuses the loop number.
struct SavePreview {
    std::string loopFolder;
    LoopPlan plan;
    std::optional<std::string> refusal;
};

class WaveToRepeaterModel {
public:
    WaveToRepeaterModel(Preferences& preferences, Files& files, Interaction& ui);

    // The window takes no input while a loop is written; it is told here.
    std::function<void(bool enabled)> setInputEnabled;
    // A note for the status line: what a Save found of a change an earlier program left half-done.
    std::function<void(const std::string& note)> showStatus;
    // Finds the tempo in an accepted wave's audio. The window program puts in the onset detector;
    // without one no tempo is ever found.
    std::function<std::optional<tempo::TempoEstimate>(const std::string& wavePath)> findTempo;

    // ---- commands ----
    // The window's load: the bar-length cycle starts over and the destination is prepared.
    void load();
    // The Open command: the file dialog (a cancelled one keeps the last name, so the previous
    // file is opened again), then openWaveFile.
    void open();
    WaveOpenResult::Outcome openWaveFile(const std::string& path);
    // "Import and Convert...": a dialog for audio files (cancelled: nothing happens), then
    // importAudio.
    void importFromDialog();
    // Any audio file the converter reads. A 44.1 kHz 16-bit PCM wave opens as it is; another is
    // converted into the cache folder and the converted wave opened, unless it would be too long
    // for a loop (said before converting). While it converts, the window takes no input and the
    // progress bar moves. With `askFirst` the user confirms the conversion first, and a file the
    // converter cannot read ends it without a message. A conversion that clipped asks whether to
    // convert again at a level lowered to fit, keep it, or cancel (nothing opened).
    void importAudio(const std::string& path, bool askFirst = false);
    // A file dropped on the window: a wave opens as the Open command opens it, and when that
    // refuses it for its rate or width, its conversion is offered; another audio file is
    // imported.
    void openDropped(const std::string& path);
    // The Save command: writes the loop (the busy pointer shows meanwhile), then returns the
    // destination to the initial loop folder. An existing loop the user keeps with No opens the
    // folder chooser.
    void save();
    void browseDestination();
    // The destination back to the initial loop folder, with the lowest free loop number there
    // when automatic numbering is on.
    void findFreeLoop();
    void setLoopNumberText(const std::string& text) { m_loopNumberText = text; }

    // A position outside the bar's range is pulled into it; the tempo handling runs only when the
    // position really changes. Throws RoutineError when the beat count leaves 16 bits.
    void setTempoPosition(int16_t position);
    // Steps to the next bar length that divides the beats (the Beats box), with its division.
    void stepBeatsPerBar();
    // The beat count of the tempo found in the wave (as near as the tempo bar reaches), four
    // beats to the bar where they divide, otherwise one. Nothing happens when none was found.
    void useFoundTempo();
    void setPitch(Channel channel, int16_t pitch);
    void setPan(Channel channel, int16_t pan);
    // A track the other channel holds cannot be chosen.
    void selectTrack(Channel channel, int track);

    // ---- what the window shows ----
    const std::string& wavePath() const { return m_wave.path; }
    // While the wave shown is a converted copy: what it was converted from.
    const ConversionNote* conversionNote() const;
    std::optional<ChannelMode> channelMode() const { return m_channelMode; }
    bool showsRightChannel() const { return m_channelMode == ChannelMode::Stereo; }
    // The left tracks, the tempo bar and the Save button, once a wave was accepted.
    bool loopControlsEnabled() const { return m_loopControlsEnabled; }
    const std::string& destination() const { return m_destination; }
    const std::string& loopNumberText() const { return m_loopNumberText; }
    const LoopSettings& settings() const { return m_settings; }
    // The tempo bar's position: the loop holds one beat more than it shows.
    int16_t tempoPosition() const { return m_tempoPosition; }
    int16_t maxBeats() const { return m_wave.maxBeats; }
    std::optional<float> tempoShown() const { return m_tempoShown; }
    std::optional<int32_t> barsShown() const { return m_barsShown; }
    // The tempo found in the audio of the wave shown, if any.
    const std::optional<tempo::TempoEstimate>& foundTempo() const { return m_foundTempo; }
    bool trackEnabled(Channel channel, int track) const;
    const ChannelSettings& channel(Channel which) const;
    // Nothing before a wave was accepted.
    std::optional<SavePreview> savePreview() const;

private:
    ChannelSettings& channelSettings(Channel which);
    void switchLayout(ChannelMode mode);
    struct AudioImport convertForImport(const struct AudioImport& examined, double gainDb);
    void accept(const OpenedWave& wave);
    void onTempoChanged();
    void showBarLength(int16_t beatsPerBar);
    std::optional<tempo::TempoEstimate> tempoIn(const std::string& path) const;
    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None,
                     const std::string& reason = {});

    Preferences& m_preferences;
    Files& m_files;
    Interaction& m_ui;
    std::string m_openDialogName;
    std::optional<ChannelMode> m_channelMode;  // set by every one- or two-channel file accepted
    bool m_loopControlsEnabled = false;
    OpenedWave m_wave;                      // the last accepted wave
    std::optional<ConversionNote> m_conversion;  // of the last converted wave
    LoopSettings m_settings;
    int16_t m_tempoPosition = 0;            // the tempo bar's: beats - 1
    BarChoices m_barChoices{};              // of the last tempo change
    int16_t m_lastBarLength = 1;            // where the bar-length cycle stands
    std::optional<float> m_tempoShown;
    std::optional<int32_t> m_barsShown;
    std::optional<tempo::TempoEstimate> m_foundTempo;  // in the last accepted wave
    std::string m_destination;
    std::string m_loopNumberText = "1";
};

// The pitch display: the value in semitones in the shortest general form (-24, -1.5, 0.05).
std::string pitchText(int16_t pitch);
// The pan display: "L -35", "R 35" or "Center".
std::string panText(int16_t pan);

}  // namespace brenvik
