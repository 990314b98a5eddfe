#include "WaveFill.h"

#include <exception>

#include "AudioConversion.h"
#include "CardFolder.h"
#include "FreeLoopSearch.h"
#include "LoopFolderName.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "WaveOpening.h"

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

class Filler {
public:
    Filler(const std::string& card, const std::string& scratch, Files& files, const Progress& progress,
           size_t count, bool readBack)
        : m_card(card), m_scratch(scratch), m_files(files), m_progress(progress), m_count(count),
          m_readBack(readBack) {}

    FillOutcome fill(const std::string& source, size_t index) {
        FillOutcome outcome{source, std::nullopt, {}, {}, {}};
        std::string wave = source;
        const AudioProbe probe = probeAudio(source);
        // A file the audio library cannot read goes to the wave opener as it is, for its own verdict.
        if (probe.info && probe.info->needsConverting) {
            if (!probe.info->fitsLoop) {
                outcome.message = loopTooLongMessage(source, *probe.info);
                return outcome;
            }
            wave = Files::joinPath(m_scratch, "converted-" + intToText(static_cast<long long>(index)) + ".wav");
            const ConversionResult converted = convertAudio(
                {source, wave, {}}, m_files, share(m_progress, index, m_count, 0, 0.5f));
            if (converted.outcome == ConversionResult::Outcome::Failed) {
                outcome.message = converted.message;
                return outcome;
            }
        }
        write(wave, index, outcome);
        if (wave != source) {
            try {
                m_files.deleteFile(wave);
            } catch (const std::exception&) {
                // the scratch folder goes as a whole
            }
        }
        return outcome;
    }

private:
    void write(const std::string& wave, size_t index, FillOutcome& outcome) {
        const WaveOpenResult opened = openWave(wave, m_files);
        if (!opened.accepted()) {
            outcome.message = opened.message;
            outcome.reason = opened.reason;
            return;
        }
        const std::optional<int> free = lowestFreeLoop(m_files, m_card);
        if (!free) {
            outcome.message = message::noFreeLoop(m_card);
            return;
        }
        LoopWriteRequest request;
        request.sourcePath = wave;
        request.destination = m_card;
        request.loopNumberText = intToText(*free);
        request.mode = opened.layout;
        request.settings.beatCount = opened.wave.defaultTempoPosition() + 1;
        request.tempoTable = opened.wave.tempoTable;
        request.readBack = m_readBack;
        // The number was free a moment ago: a loop there since is left as it is.
        const OverwritePolicy keep = [](const std::string&) { return ReplaceChoice::Cancel; };
        const float from = wave == outcome.source ? 0 : 0.5f;
        const LoopWriteResult written =
            writeLoop(request, m_files, keep, share(m_progress, index, m_count, from, 1 - from));
        outcome.recovered = written.recovered;
        if (written.outcome == LoopWriteResult::Outcome::Written) {
            outcome.loopNumber = *free;
        } else {
            outcome.message = written.message.empty() ? message::arrangeLoopExists(loopFolderPath(m_card, *free))
                                                      : written.message;
            outcome.reason = written.reason;
        }
    }

    const std::string& m_card;
    const std::string& m_scratch;
    Files& m_files;
    const Progress& m_progress;
    size_t m_count;
    bool m_readBack;
};

}  // namespace

std::vector<FillOutcome> fillFreeLoops(const std::vector<std::string>& sources, const std::string& card,
                                       const std::string& scratchFolder, Files& files,
                                       const Progress& progress, bool readBack) {
    std::vector<FillOutcome> outcomes;
    Filler filler(card, scratchFolder, files, progress, sources.size(), readBack);
    for (size_t i = 0; i < sources.size(); ++i) {
        try {
            outcomes.push_back(filler.fill(sources[i], i));
        } catch (const std::exception&) {
            outcomes.push_back({sources[i], std::nullopt, message::kSaveFailed, caughtReason(), {}});
        }
    }
    if (progress) progress(0, static_cast<float>(sources.size()) * kStepsPerFile);
    return outcomes;
}

}  // namespace brenvik::card
