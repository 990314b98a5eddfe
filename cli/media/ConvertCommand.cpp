// brenvik-cli convert IN OUT: any audio file the converter reads becomes a 44.1 kHz 16-bit wave,
// mono or stereo, as the Repeater plays it.
#include "Arguments.h"
#include "AudioConversion.h"
#include "ChannelPick.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "LevelReport.h"
#include "MediaCommands.h"
#include "Messages.h"
#include "OutputIntoLoop.h"

namespace brenvik::cli::media {

int runConvert(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const std::optional<ChannelPick> pick = channelPickOf(args, err);
    if (!pick) return kUsage;
    const ChannelChoice channels{pick->monoSum ? ChannelChoice::Mix::MonoSum : ChannelChoice::Mix::Pick,
                                 pick->left, pick->right};
    const std::string& source = args.positionals()[0];
    const std::string& target = args.positionals()[1];
    Files files;
    ConsoleInteraction ui(err, errIsTerminal);
    const AudioProbe probe = probeAudio(source, channels);
    if (!probe.info) {
        ui.message(probe.message, MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    if (backup::isOneOf(target, {source}, files)) {
        ui.message(message::outputIsInput(target), MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    if (!args.given("--overwrite") && files.entryExists(target)) {
        err << message::outputKept(target) << '\n';
        return kFailed;
    }
    // A wave file is no loop: one too long for a loop is named, and written all the same.
    if (!probe.info->fitsLoop)
        ui.message(loopTooLongMessage(source, *probe.info), MessageButtons::Ok, MessageIcon::None,
                   message::kWaveHoldsItAllTheSame);
    // A wave written into a loop folder changes that loop: it goes into the backup store first.
    if (const std::optional<std::string> reason = backup::backUpLoopAround(target, files)) {
        ui.message(message::kBackupFailed, MessageButtons::Ok, MessageIcon::Critical, *reason);
        return kFailed;
    }
    const double gainDb = args.number("--gain").value_or(0) / 100.0;
    const ConversionResult result =
        convertAudio({source, target, channels, gainDb, args.given("--fit")}, files, ui.progress());
    if (result.outcome == ConversionResult::Outcome::Failed) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    ui.message(result.outcome == ConversionResult::Outcome::Copied
                   ? std::string(message::kCopiedUnchanged)
                   : message::convertedAs(conversionSummary(*result.source)));
    reportLevel(result, ui);
    out << target << '\n';
    return kOk;
}

}  // namespace brenvik::cli::media
