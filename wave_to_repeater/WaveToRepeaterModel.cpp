#include "WaveToRepeaterModel.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "AudioImport.h"
#include "Checked.h"
#include "CardFolder.h"
#include "FreeLoopSearch.h"
#include "LoopFolderName.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "Numbers.h"
#include "TempoQuestion.h"
#include "UserLibrary.h"

namespace brenvik {

WaveToRepeaterModel::WaveToRepeaterModel(Preferences& preferences, Files& files, Interaction& ui)
    : m_preferences(preferences), m_files(files), m_ui(ui) {}

void WaveToRepeaterModel::showMessage(const std::string& text, MessageIcon icon,
                                      const std::string& reason) {
    m_ui.message(text, MessageButtons::Ok, icon, reason);
}

void WaveToRepeaterModel::load() {
    m_lastBarLength = 1;
    findFreeLoop();
}

// The search always runs in the initial loop folder, whatever was browsed to, and takes the
// lowest free number, so that a deleted loop's gap is filled first.
void WaveToRepeaterModel::findFreeLoop() {
    m_destination = m_preferences.loopFolder;
    if (!m_preferences.autoIncrement) return;
    if (const auto free = card::lowestFreeLoop(m_files, m_preferences.loopFolder))
        m_loopNumberText = intToText(*free);
}

void WaveToRepeaterModel::browseDestination() {
    if (auto chosen = m_ui.chooseFolder(message::kChooseLoopFolder, m_destination))
        m_destination = *chosen;
}

void WaveToRepeaterModel::open() {
    FileDialogRequest dialog;
    dialog.initialFolder = m_preferences.waveFolder;
    dialog.fileName = m_openDialogName;
    if (auto chosen = m_ui.chooseFileToOpen(dialog)) m_openDialogName = *chosen;
    openWaveFile(m_openDialogName);
}

// A refused file changes nothing: the window keeps the layout, the tracks, the tempo and the file
// of the last accepted wave (or stays empty), so that a save writes that wave as it was shown.
WaveOpenResult::Outcome WaveToRepeaterModel::openWaveFile(const std::string& path) {
    WaveOpenResult result = openWave(path, m_files);
    std::string reason = result.reason;
    switch (result.outcome) {
        case WaveOpenResult::Outcome::WrongRate:
        case WaveOpenResult::Outcome::WrongBits:
            // The window converts such a wave itself: the refusal says where.
            result.reason = message::kImportConverts;
            [[fallthrough]];
        case WaveOpenResult::Outcome::Missing:
            m_ui.tell(result);
            return result.outcome;
        case WaveOpenResult::Outcome::Accepted:
            try {
                if (result.layout) switchLayout(*result.layout);
                m_loopControlsEnabled = true;
                accept(result.wave);
                return result.outcome;
            } catch (const std::exception&) {
                reason = caughtReason();
            }
            break;
        case WaveOpenResult::Outcome::Failed:
            break;
    }
    // The opener's error path sets the pointer back, whoever had set it.
    m_ui.setBusy(false);
    showMessage(message::kWaveOpenFailed, MessageIcon::Critical, reason);
    return WaveOpenResult::Outcome::Failed;
}

// The import has a dialog of its own: it offers every audio file the converter reads, and it keeps
// no name between uses.
void WaveToRepeaterModel::importFromDialog() {
    FileDialogRequest dialog;
    dialog.initialFolder = m_preferences.waveFolder;
    dialog.defaultExtension.clear();
    dialog.filters = importFilters();
    dialog.title = message::kImportTitle;
    if (const std::optional<std::string> chosen = m_ui.chooseFileToOpen(dialog)) importAudio(*chosen);
}

void WaveToRepeaterModel::importAudio(const std::string& path, bool askFirst) {
    AudioImport import = examineImport(path);
    switch (import.outcome) {
    case AudioImport::Outcome::AsItIs: openWaveFile(import.wave); return;
    case AudioImport::Outcome::NeedsConverting: break;
    case AudioImport::Outcome::Failed:
        // After a refused drop the refusal has said why the file was not opened.
        if (!askFirst) m_ui.tell(import);
        return;
    default: m_ui.tell(import); return;
    }
    if (askFirst && m_ui.message(message::offerConversion(path, conversionSummary(*import.info)),
                                 MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    const AudioImport examined = import;
    import = convertForImport(examined, 0);
    if (import.outcome == AudioImport::Outcome::Converted && import.clipped > 0) {
        // Lowered by the excess rounded up to a tenth of a dB, which leaves nothing clipped.
        const double lower = std::ceil(import.excessDb * 10) / 10;
        const MessageAnswer answer = m_ui.ask(message::clippedQuestion(path, import.clipped, import.peakDb),
                                              message::lowerByAnswer(lower), message::kKeepLevelAnswer);
        if (answer == MessageAnswer::Cancel) return;
        if (answer == MessageAnswer::Yes) import = convertForImport(examined, -lower);
    }
    if (import.outcome != AudioImport::Outcome::Converted) {
        m_ui.tell(import);
        return;
    }
    if (import.nonFinite > 0) m_ui.message(message::nonFiniteZeroed(import.nonFinite));
    m_conversion = ConversionNote{path, import.wave, *import.info};
    openWaveFile(import.wave);
}

// The window takes no input while the examined file is converted.
AudioImport WaveToRepeaterModel::convertForImport(const AudioImport& examined, double gainDb) {
    if (setInputEnabled) setInputEnabled(false);
    AudioImport import;
    {
        const BusyPointer busy(m_ui);
        import = convertImport(examined, m_files, m_wave.path, m_ui.progress(), gainDb);
    }
    m_ui.showProgress(0, 1);
    if (setInputEnabled) setInputEnabled(true);
    return import;
}

void WaveToRepeaterModel::openDropped(const std::string& path) {
    if (!isWaveName(path)) {
        importAudio(path);
        return;
    }
    const WaveOpenResult::Outcome opened = openWaveFile(path);
    if (opened == WaveOpenResult::Outcome::WrongRate || opened == WaveOpenResult::Outcome::WrongBits)
        importAudio(path, true);
}

// Tied to the wave shown: once another wave is accepted the note no longer applies, and a refused
// open leaves the converted wave, and its note, in place.
const ConversionNote* WaveToRepeaterModel::conversionNote() const {
    return m_conversion && m_conversion->wave == m_wave.path ? &*m_conversion : nullptr;
}

// Mono: the right channel is hidden and set back to the centre and no pitch; any track is open
// to the left channel. Stereo: the right channel goes to track 2, or to track 1 when the left
// one is on track 2.
void WaveToRepeaterModel::switchLayout(ChannelMode mode) {
    m_channelMode = mode;
    if (mode == ChannelMode::Mono) {
        m_settings.right.pan = 0;
        m_settings.right.pitch = 0;
    } else {
        m_settings.right.track = m_settings.left.track == 2 ? 1 : 2;
    }
}

void WaveToRepeaterModel::accept(const OpenedWave& wave) {
    m_wave.tempoTable = wave.tempoTable;
    m_wave.maxBeats = wave.maxBeats;
    m_wave.dataSize = wave.dataSize;
    const int16_t position = wave.defaultTempoPosition();
    m_tempoShown = wave.tempoTable.at(static_cast<size_t>(position));
    m_barsShown = position + 1;
    // The narrower range pulls the position in first; either move runs the tempo handling.
    setTempoPosition(m_tempoPosition);
    setTempoPosition(position);
    m_wave.path = wave.path;
    m_foundTempo = tempoIn(wave.path);
    if (m_preferences.guessBeats) useFoundTempo();
}

// The analysis only suggests a tempo: a wave it cannot read still opens, without one.
std::optional<tempo::TempoEstimate> WaveToRepeaterModel::tempoIn(const std::string& path) const {
    if (!findTempo) return std::nullopt;
    try {
        return findTempo(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void WaveToRepeaterModel::useFoundTempo() {
    if (!m_foundTempo) return;
    const int beats = std::clamp(m_foundTempo->beats, 1, m_wave.maxBeats + 1);
    setTempoPosition(static_cast<int16_t>(beats - 1));
    const auto bar = static_cast<int16_t>(m_foundTempo->beatsPerBar());
    showBarLength(m_barChoices[static_cast<size_t>(bar - 1)] != 0 ? bar : int16_t(1));
}

void WaveToRepeaterModel::setTempoPosition(int16_t position) {
    position = std::clamp<int16_t>(position, 0, m_wave.maxBeats);
    if (position == m_tempoPosition) return;
    m_tempoPosition = position;
    m_settings.beatCount = position + 1;
    onTempoChanged();
}

// Every new position starts over with one beat per bar; the bar-length cycle is kept, so the next
// step carries on from the last choice.
void WaveToRepeaterModel::onTempoChanged() {
    const int16_t position = m_tempoPosition;
    const int16_t beats = checkedAdd<int16_t>(position, 1);
    m_tempoShown = m_wave.tempoTable.at(static_cast<size_t>(position));
    m_barsShown = beats;
    m_settings.beatsPerBar = 1;
    m_settings.division = 4;
    m_barChoices = barChoices(beats);
}

void WaveToRepeaterModel::stepBeatsPerBar() {
    const std::optional<int16_t> next = nextBeatsPerBar(m_barChoices, m_lastBarLength);
    if (!next) return;  // no tempo was chosen yet: nothing to step to
    showBarLength(*next);
}

// The cycle stands at the length shown, so the next step carries on from it.
void WaveToRepeaterModel::showBarLength(int16_t beatsPerBar) {
    m_lastBarLength = beatsPerBar;
    m_barsShown = m_barChoices[static_cast<size_t>(beatsPerBar - 1)];
    m_settings.beatsPerBar = beatsPerBar;
    m_settings.division = divisionFor(beatsPerBar);
}

ChannelSettings& WaveToRepeaterModel::channelSettings(Channel which) {
    return which == Channel::Left ? m_settings.left : m_settings.right;
}

const ChannelSettings& WaveToRepeaterModel::channel(Channel which) const {
    return which == Channel::Left ? m_settings.left : m_settings.right;
}

void WaveToRepeaterModel::setPitch(Channel which, int16_t pitch) {
    channelSettings(which).pitch = std::clamp(pitch, kLowestPitch, kHighestPitch);
}

void WaveToRepeaterModel::setPan(Channel which, int16_t pan) {
    channelSettings(which).pan = std::clamp(pan, kLowestPan, kHighestPan);
}

// In stereo each channel's options lose the track the other channel holds; in mono the left
// channel may go to any track.
bool WaveToRepeaterModel::trackEnabled(Channel which, int track) const {
    if (which == Channel::Left) return !showsRightChannel() || m_settings.right.track != track;
    return m_settings.left.track != track;
}

void WaveToRepeaterModel::selectTrack(Channel which, int track) {
    if (track < 1 || track > kTrackCount || !trackEnabled(which, track)) return;
    channelSettings(which).track = track;
}

// A browsed destination lasts for one Save: afterwards it returns to the initial loop folder,
// also when the writer refused or the user kept or cancelled.
void WaveToRepeaterModel::save() {
    if (setInputEnabled) setInputEnabled(false);
    try {
        LoopWriteRequest request;
        request.sourcePath = m_wave.path;
        request.destination = m_destination;
        request.loopNumberText = m_loopNumberText;
        request.mode = m_channelMode;
        request.settings = m_settings;
        request.tempoTable = m_wave.tempoTable;
        request.tempoAsShown = m_preferences.tempoAsShown;
        request.askTempo = [this](const LoopPlan& plan, const std::string& loopName) {
            return askAboutTempo(m_ui, plan, loopName);
        };
        request.readBack = m_preferences.readBack;
        const ConversionNote* converted = conversionNote();
        request.namedAfter = converted ? converted->original : m_wave.path;
        if (m_foundTempo) request.tempoFound = m_foundTempo->beatsPerMinute;
        float total = 0;
        const OverwritePolicy mayReplace =
            askBeforeReplacingLoop(m_ui);
        LoopWriteResult result;
        {
            const BusyPointer busy(m_ui);
            result = writeLoop(request, m_files, mayReplace, [this, &total](float done, float all) {
                total = all;
                m_ui.showProgress(done, all);
            });
        }
        if (showStatus) {
            // A library that cannot be used is told once, here or wherever it was met first.
            std::string note = result.recovered;
            if (const auto report = library::userLibrary(m_files).takeReport())
                note += (note.empty() ? "" : " ") + *report;
            if (!note.empty()) showStatus(note);
        }
        switch (result.outcome) {
            case LoopWriteResult::Outcome::Written:
                showMessage(message::kWriteSucceeded);
                m_ui.showProgress(0, total);
                break;
            case LoopWriteResult::Outcome::Kept:
                m_ui.showFolderChooser();
                break;
            case LoopWriteResult::Outcome::Cancelled:
            case LoopWriteResult::Outcome::Planned:
                break;
            case LoopWriteResult::Outcome::Refused:
            case LoopWriteResult::Outcome::Failed:
                m_ui.tell(result);
                break;
        }
        if (result.loopNumber) m_loopNumberText = intToText(*result.loopNumber);
        m_ui.showProgress(0, total);
        findFreeLoop();
    } catch (const std::exception&) {
        // The command ends without a message, as the window's save does; the window must not stay
        // disabled.
        m_ui.logFailure("Save", caughtReason());
    }
    if (setInputEnabled) setInputEnabled(true);
}

std::optional<SavePreview> WaveToRepeaterModel::savePreview() const {
    if (m_wave.path.empty() || !m_channelMode) return std::nullopt;
    SavePreview preview{{}, planLoop(*m_channelMode, m_wave.dataSize, m_settings, m_wave.tempoTable,
                                     m_preferences.tempoAsShown), {}};
    // The loop number as the save checks it first.
    if (!isNumeric(m_loopNumberText)) {
        preview.refusal = message::kLoopNumberNotNumeric;
        return preview;
    }
    try {
        const int16_t number = textToInt16(m_loopNumberText);
        if (!loop::isLoopNumber(number)) preview.refusal = message::kLoopNumberOutOfRange;
        else preview.loopFolder = loopFolderPath(m_destination, number);
    } catch (const std::exception&) {
        preview.refusal = message::kSaveFailed;
    }
    return preview;
}

std::string pitchText(int16_t pitch) { return shortestGeneral(pitch / 100.0); }

std::string panText(int16_t pan) {
    if (pan < 0) return "L " + intToText(pan);
    if (pan > 0) return "R " + intToText(pan);
    return "Center";
}

}  // namespace brenvik
