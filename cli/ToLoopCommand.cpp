// brenvik-cli to-loop: a normal wave becomes a Repeater loop through the same operations the
// ".WAV to Repeater" window runs, so every check and message is the window's own.
#include <cstdint>

#include "Arguments.h"
#include "CardFolder.h"
#include "CardNames.h"
#include "CardOpening.h"
#include "Cli.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "Companion.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LibraryUse.h"
#include "LoopSettings.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "Numbers.h"
#include "TempoQuestion.h"
#include "ToLoopRun.h"
#include "UserLibrary.h"
#include "WaveOpening.h"

namespace brenvik::cli {

namespace {

constexpr size_t kLoopBoxLength = 3;       // the loop number box takes at most 3 characters
constexpr int kMostBeats = INT16_MAX + 1;  // the tempo position, the beats less one, is 16-bit
constexpr int kPitchDecimals = 2;          // pitch is held in hundredths of a semitone

constexpr Positional kPositionals[] = {
    {"SOURCE", Count::Many, "a 44.1 kHz 16-bit mono or stereo wave file; with --convert any audio file convert takes"}};
constexpr Option kOptions[] = {
    Option::path("--dest", "DIR", "the folder the loop folder is written into, normally the card's").mustBeGiven(),
    Option::text("--loop", "TEXT", kLoopBoxLength,
                 "the loop number, checked as the loop number box checks it; default the lowest free number in DIR"),
    Option::number("--beats", "N", 1, kMostBeats,
                   "the beats in the loop, which set its tempo, up to what the wave allows, or auto: those of the "
                   "tempo found in the audio, written as the window shows it; default half-way, as in the window")
        .orWord(kAutoBeats),
    Option::number("--beats-per-bar", "B", 1, kLongestBar,
                   "beats per bar, dividing the beats; default 1, or with --beats auto 4 where they divide by 4"),
    Option::number("--track", "K", 1, kTrackCount, "the track of the mono wave or of the left channel; default 1"),
    Option::number("--right-track", "K", 1, kTrackCount,
                   "the track of the right channel; default 2, or 1 when the left channel is on track 2"),
    Option::number("--pan", "P", kLowestPan, kHighestPan,
                   "the pan of the mono wave or of the left channel, negative to the left; default 0"),
    Option::number("--pitch", "S", kLowestPitch, kHighestPitch,
                   "the pitch of the mono wave or of the left channel in semitones; default 0", kPitchDecimals),
    Option::number("--right-pan", "P", kLowestPan, kHighestPan, "the pan of the right channel"),
    Option::number("--right-pitch", "S", kLowestPitch, kHighestPitch, "the pitch of the right channel in semitones",
                   kPitchDecimals),
    Option::flag("--overwrite", "replaces a loop folder of the same number, backing it up into the backup store first"),
    Option::flag("--tempo-as-shown",
                 "writes the tempo of the beats in the loop, as the window shows it, not the one of beats per bar x "
                 "(beats - 1)"),
    Option::flag("--strict",
                 "refuses (exit status 1, nothing written) a loop the Repeater would play at another tempo or "
                 "beat count than the window shows; without it that is a warning"),
    Option::flag("--dry-run", "checks everything a save checks and prints what it would write, writing nothing"),
    kNoVerify,
    Option::flag("--verbose", "prints below each written folder what was written"),
    Option::flag("--convert",
                 "converts a SOURCE of another rate, width or format first, as convert does (of more channels, the "
                 "first two), into the cache folder; one too long for a loop is refused before converting"),
};

// The channels' settings as the options give them. The right channel goes to track 2, or to
// track 1 when the left one is on track 2.
struct Channels {
    ChannelSettings left, right;
};

Channels channelsOf(const Arguments& args) {
    const int track = args.number("--track").value_or(1);
    const auto int16 = [&args](const char* option) { return static_cast<int16_t>(args.number(option).value_or(0)); };
    return {{track, int16("--pan"), int16("--pitch")},
            {args.number("--right-track").value_or(track == 2 ? 1 : 2), int16("--right-pan"), int16("--right-pitch")}};
}

// The settings the options give for this wave, or nothing after telling err why they do not fit
// it (bad usage). Without --beats the loop keeps the window's default position; with --beats auto
// it takes the beats found.
std::optional<LoopSettings> settingsFor(const OpenedWave& wave, const Arguments& args, std::ostream& err,
                                        const std::optional<tempo::TempoEstimate>& found) {
    const int highest = wave.maxBeats + 1;
    const int beats = found ? found->beats : args.number("--beats").value_or(wave.defaultTempoPosition() + 1);
    const int beatsPerBar = args.number("--beats-per-bar").value_or(found ? found->beatsPerBar() : 1);
    if (beats < 1 || beats > highest) {
        badUsage(err, kToLoopCommand, message::beatsOutsideWave(beats, highest));
        return std::nullopt;
    }
    if (beats % beatsPerBar != 0) {
        badUsage(err, kToLoopCommand, message::beatsPerBarNotDividing(beatsPerBar, beats));
        return std::nullopt;
    }
    LoopSettings settings;
    settings.beatCount = beats;
    settings.beatsPerBar = static_cast<int16_t>(beatsPerBar);
    settings.division = divisionFor(settings.beatsPerBar);
    const Channels channels = channelsOf(args);
    settings.left = channels.left;
    settings.right = channels.right;
    return settings;
}

// What a save writes, or would write: the summary, then a line on each warning.
void writePlan(std::ostream& out, const LoopPlan& plan, const std::string& loopFolder, const std::string& indent) {
    out << indent << planSummary(plan, loopFolder) << '\n';
    for (const std::string& warning : plan.warnings)
        out << indent << "  " << message::warningLine(warning) << '\n';
}

bool beatsFromAudio(const Arguments& args) {
    return args.text("--beats") == kAutoBeats;
}

// The companion converts and finds tempos: --beats auto needs it, a dry run prints the tempo
// found when it is there.
bool forCompanion(const Arguments& args) {
    return args.given("--convert") || beatsFromAudio(args) || (args.given("--dry-run") && findCompanion());
}

int runToLoop(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    ToLoopRun run(args, out, err, errIsTerminal);
    if (const int status = run.checkUsage(); status != kOk) return status;
    if (forCompanion(args)) return runInCompanion(args, out, err, errIsTerminal);
    // The first refusal ends the run; the loops written before it stay.
    for (const std::string& source : args.positionals())
        if (const int status = run.write(source, source); status != kOk) return status;
    return kOk;
}

}  // namespace

ToLoopRun::ToLoopRun(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal)
    : m_args(args), m_out(out), m_err(err), m_ui(err, errIsTerminal) {
    // Without --overwrite an existing loop is left as it is, as Cancel leaves it.
    m_ui.setQuestionAnswer(args.given("--overwrite") ? MessageAnswer::Yes : MessageAnswer::Cancel);
}

int ToLoopRun::checkUsage() const {
    if (m_args.given("--loop") && m_args.positionals().size() > 1)
        return badUsage(m_err, kToLoopCommand, message::kLoopTakesOneSource);
    if (const Channels channels = channelsOf(m_args); channels.left.track == channels.right.track)
        return badUsage(m_err, kToLoopCommand, message::kChannelsShareTrack);
    return kOk;
}

// Of several sources, every refusal names the one refused below its message.
int ToLoopRun::write(const std::string& source, const std::string& path) {
    const bool several = m_args.positionals().size() > 1;
    const auto detail = [&](const std::string& reason) {
        if (!several || reason.find(source) != std::string::npos) return reason;
        return reason.empty() ? source : source + ": " + reason;
    };
    const std::string dest = *m_args.text("--dest");
    std::string loopNumber;
    if (const auto typed = m_args.text("--loop")) {
        loopNumber = *typed;
    } else if (const auto free = card::lowestFreeLoop(m_files, dest, m_planned)) {
        loopNumber = intToText(*free);
    } else {
        m_err << message::noFreeLoop(dest) << "\n" << reasonLine(detail({}));
        return kFailed;
    }

    const WaveOpenResult opened = openWave(path, m_files);
    if (!opened.accepted()) {
        m_ui.message(opened.message, MessageButtons::Ok, opened.icon, detail(opened.reason));
        return kFailed;
    }
    const bool beatsFound = beatsFromAudio(m_args);
    std::optional<tempo::TempoEstimate> found;
    if (m_findTempo && (beatsFound || m_args.given("--dry-run"))) found = m_findTempo(opened.wave.path);
    if (beatsFound && !found) {
        m_ui.message(message::noTempoFound(source), MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    const std::optional<LoopSettings> settings =
        settingsFor(opened.wave, m_args, m_err, beatsFound ? found : std::nullopt);
    if (!settings) return kUsage;

    LoopWriteRequest request;
    request.sourcePath = opened.wave.path;
    request.destination = dest;
    request.loopNumberText = loopNumber;
    request.mode = opened.layout;
    request.settings = *settings;
    request.tempoTable = opened.wave.tempoTable;
    // The beats found are meant at the tempo found, whatever the beats per bar.
    request.tempoAsShown = m_args.given("--tempo-as-shown") || beatsFound;
    request.askTempo = [this](const LoopPlan& plan, const std::string& loopName) { return answerTempo(plan, loopName); };
    request.voice = message::Voice::CommandLine;
    request.dryRun = m_args.given("--dry-run");
    request.readBack = !m_args.given("--no-verify");
    const OverwritePolicy mayReplace =
        askBeforeReplacingLoop(m_ui);
    const LoopWriteResult result = writeLoop(request, m_files, mayReplace, m_ui.progress());
    sayRecovered(result.recovered, m_err);
    switch (result.outcome) {
    case LoopWriteResult::Outcome::Written:
        // Named after the source as the command line gave it, not a conversion of it.
        library::CardNames(library::userLibrary(m_files), dest)
            .nameWritten(result.loopFolder, source,
                         found ? std::optional(found->beatsPerMinute) : std::optional<double>());
        sayLibraryTrouble(m_files, m_err);
        m_ui.message(message::kWriteSucceeded);
        m_out << result.loopFolder << '\n';
        if (m_args.given("--verbose")) writePlan(m_out, *result.plan, result.loopFolder, "  ");
        return kOk;
    case LoopWriteResult::Outcome::Planned:
        writePlan(m_out, *result.plan, result.loopFolder, "");
        if (m_findTempo)
            m_out << "  "
                  << message::tempoFoundLine(
                         found ? message::foundTempo(found->beatsPerMinute, found->beats) : "")
                  << '\n';
        m_planned.insert(*result.loopNumber);  // the next source is planned into the next free one
        return kOk;
    case LoopWriteResult::Outcome::Kept:
    case LoopWriteResult::Outcome::Cancelled:
        m_err << reasonLine(several ? source : "");
        return kFailed;
    case LoopWriteResult::Outcome::Refused:
    case LoopWriteResult::Outcome::Failed: break;
    }
    m_ui.message(result.message, MessageButtons::Ok, result.icon, detail(result.reason));
    return kFailed;
}

// Where the window's Save would ask, the command line warns and writes the loop as it stands, or
// with --strict writes nothing.
TempoChoice ToLoopRun::answerTempo(const LoopPlan& plan, const std::string& loopName) {
    std::string differences;
    for (const std::string& line : differencesFromShown(plan, loopName))
        differences += (differences.empty() ? "" : "; ") + line;
    const bool flagHelps = plan.tempoMoved || plan.tempoOnlyAsShown;
    if (m_args.given("--strict")) {
        m_ui.message(differences, MessageButtons::Ok, MessageIcon::Critical,
                     std::string(message::kStrictRefusal) + (flagHelps ? std::string("; ") + message::kTempoAsShownFlag : ""));
        return TempoChoice::Cancel;
    }
    m_err << message::tempoWarning(differences)
          << (flagHelps ? std::string(" (") + message::kTempoAsShownFlag + ")" : "") << '\n';
    return TempoChoice::AsItStands;
}

constinit const Command kToLoopCommand{
    "to-loop",
    "Writes each wave SOURCE as a loop folder in DIR. Several SOURCEs go into the next free loop numbers, one by one "
    "(not with --loop).",
    kPositionals, kOptions, runToLoop};

}  // namespace brenvik::cli
