#include "DroppedWaves.h"

#include <exception>
#include <set>

#include "AudioImport.h"
#include "CardFolder.h"
#include "FreeLoopSearch.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

constexpr float kStepsPerFile = 1000;

// The progress of one part of one file's work, as a share of the whole run.
Progress share(const Progress& progress, size_t file, size_t files, float from, float width) {
    if (!progress) return {};
    return [=](float done, float total) {
        const float part = total > 0 ? done / total : 0;
        progress((static_cast<float>(file) + from + width * part) * kStepsPerFile,
                 static_cast<float>(files) * kStepsPerFile);
    };
}

class Examiner {
public:
    Examiner(const std::string& card, const std::string& scratch, Files& files, const Progress& progress,
             size_t count, tempo::TempoFinder findTempo)
        : m_card(card), m_scratch(scratch), m_files(files), m_progress(progress), m_count(count),
          m_findTempo(findTempo) {}

    DroppedWave examine(const std::string& source, size_t index) {
        DroppedWave dropped;
        dropped.source = dropped.wave = source;
        const AudioImport examined = examineImport(source);
        // A file the converter cannot read goes to the wave opener as it is, for its own verdict.
        if (examined.outcome == AudioImport::Outcome::Refused) {
            dropped.message = examined.message;
            return dropped;
        }
        if (examined.outcome == AudioImport::Outcome::NeedsConverting) {
            const std::string target =
                Files::joinPath(m_scratch, "converted-" + intToText(static_cast<long long>(index)) + ".wav");
            const AudioImport converted =
                convertImportTo(examined, target, m_files, share(m_progress, index, m_count, 0, 1));
            if (converted.outcome != AudioImport::Outcome::Converted) {
                dropped.message = converted.reason;
                return dropped;
            }
            dropped.wave = converted.wave;
        }
        const WaveOpenResult opened = openWave(dropped.wave, m_files);
        if (!opened.accepted()) {
            dropped.message = opened.message;
            dropped.reason = opened.reason;
            return dropped;
        }
        const std::optional<int> free = lowestFreeLoop(m_files, m_card, m_taken);
        if (!free) {
            dropped.message = message::noFreeLoop(m_card);
            return dropped;
        }
        m_taken.insert(*free);
        dropped.loopNumber = free;
        dropped.mode = *opened.layout;
        dropped.opened = opened.wave;
        if (m_findTempo) dropped.tempoFound = m_findTempo(dropped.wave);
        dropped.settings = initialSettings(dropped.opened, dropped.tempoFound);
        return dropped;
    }

private:
    const std::string& m_card;
    const std::string& m_scratch;
    Files& m_files;
    const Progress& m_progress;
    size_t m_count;
    tempo::TempoFinder m_findTempo;
    std::set<int> m_taken;  // the numbers given to the files before
};

DroppedWaveOutcome write(const DroppedWave& wave, const std::string& card, Files& files, const Progress& progress,
                          bool readBack) {
    DroppedWaveOutcome outcome{wave.source, std::nullopt, wave.message, wave.reason, {}};
    if (!wave.accepted()) return outcome;
    LoopWriteRequest request;
    request.sourcePath = wave.wave;
    request.destination = card;
    request.loopNumberText = intToText(*wave.loopNumber);
    request.mode = wave.mode;
    request.settings = wave.settings;
    request.tempoTable = wave.opened.tempoTable;
    // The tempo the musician saw in the drop dialog is the one written.
    request.tempoAsShown = true;
    request.readBack = readBack;
    // Named after the file dropped, not its converted copy in the scratch folder.
    request.namedAfter = wave.source;
    if (wave.tempoFound) request.tempoFound = wave.tempoFound->beatsPerMinute;
    // The number was free a moment ago: a loop there since is left as it is.
    const OverwritePolicy keep = [](const std::string&) { return ReplaceChoice::Cancel; };
    const LoopWriteResult written = writeLoop(request, files, keep, progress);
    outcome.recovered = written.recovered;
    if (written.outcome == LoopWriteResult::Outcome::Written) {
        outcome.loopNumber = wave.loopNumber;
    } else {
        outcome.message = written.message.empty() ? message::arrangeLoopExists(loopFolderPath(card, *wave.loopNumber))
                                                  : written.message;
        outcome.reason = written.reason;
    }
    return outcome;
}

}  // namespace

double DroppedWave::seconds() const { return opened.bytesPerChannel / loop::kTrackBytesPerSecond; }

LoopSettings initialSettings(const OpenedWave& wave, const std::optional<tempo::TempoEstimate>& found) {
    LoopSettings settings;
    if (found && found->beats >= 1 && found->beats <= wave.maxBeats) {
        settings.beatCount = found->beats;
        settings.beatsPerBar = static_cast<int16_t>(found->beatsPerBar());
    } else {
        settings.beatCount = wave.defaultTempoPosition() + 1;
        settings.beatsPerBar = 1;
    }
    settings.division = divisionFor(settings.beatsPerBar);
    return settings;
}

LoopPlan planOf(const DroppedWave& wave) {
    return planLoop(wave.mode, wave.opened.dataSize, wave.settings, wave.opened.tempoTable, true);
}

std::vector<DroppedWave> examineDropped(const std::vector<std::string>& sources, const std::string& card,
                                        const std::string& scratchFolder, Files& files, const Progress& progress,
                                        tempo::TempoFinder findTempo) {
    std::vector<DroppedWave> waves;
    Examiner examiner(card, scratchFolder, files, progress, sources.size(), findTempo);
    for (size_t i = 0; i < sources.size(); ++i) {
        try {
            waves.push_back(examiner.examine(sources[i], i));
        } catch (const std::exception&) {
            DroppedWave failed;
            failed.source = sources[i];
            failed.message = message::notImported(sources[i]);
            failed.reason = caughtReason();
            waves.push_back(failed);
        }
    }
    if (progress) progress(0, static_cast<float>(sources.size()) * kStepsPerFile);
    return waves;
}

std::vector<DroppedWaveOutcome> writeDropped(const std::vector<DroppedWave>& waves, const std::string& card,
                                             Files& files, const Progress& progress, bool readBack) {
    std::vector<DroppedWaveOutcome> outcomes;
    for (size_t i = 0; i < waves.size(); ++i) {
        try {
            outcomes.push_back(write(waves[i], card, files, share(progress, i, waves.size(), 0, 1), readBack));
        } catch (const std::exception&) {
            outcomes.push_back({waves[i].source, std::nullopt, message::kSaveFailed, caughtReason(), {}});
        }
    }
    if (progress) progress(0, static_cast<float>(waves.size()) * kStepsPerFile);
    return outcomes;
}

}  // namespace brenvik::card
