#include "Messages.h"

#include <cmath>
#include <cstdio>

#include "LoopFolderName.h"
#include "LoopDescription.h"
#include "Numbers.h"

namespace brenvik::message {

std::string wrongSampleRate(int32_t sampleRate) {
    return "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of " +
           shortestGeneral(static_cast<double>(sampleRate) / 1000.0) + "kHz";
}

std::string wrongBitsPerSample(int16_t bitsPerSample) {
    return "Repeater supports 16 bit audio only, this file is " + intToText(bitsPerSample) + " bit";
}

std::string destinationMissing(const std::string& destination) {
    return "Folder: " + destination + " does not exist or drive not ready";
}

std::string loopTooLong() {
    return "Loop is too long for the Repeater (at most " + intToText(loop::ldf::kClusterRoom) +
           " clusters per track)";
}

std::string tempoText(double beatsPerMinute) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", beatsPerMinute);
    return text;
}

namespace {

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

std::string minutesAndSeconds(long long seconds) {
    return intToText(seconds / 60) + " min " + intToText(seconds % 60) + " s";
}

// "mono on track 3", "stereo on tracks 2 and 4".
std::string tracksText(const std::vector<int>& tracks) {
    if (tracks.size() == 1) return "mono on track " + intToText(tracks[0]);
    std::string text = "stereo on tracks ";
    for (size_t i = 0; i < tracks.size(); ++i)
        text += (i == 0 ? "" : i + 1 == tracks.size() ? " and " : ", ") + intToText(tracks[i]);
    return text;
}

std::string showTheTempo(Voice voice) {
    return voice == Voice::Window
               ? "write the tempo shown (Save offers it; \"Write the tempo the window shows\" in Preferences always does)"
               : "write the tempo shown (--tempo-as-shown)";
}

}  // namespace

std::string loopSummary(const std::string& loopFolder, std::optional<double> tempo, int beats,
                        int beatsPerBar, int division, const std::vector<int>& tracks, double seconds) {
    const int bars = beatsPerBar > 0 ? beats / beatsPerBar : 0;
    return loopFolder + ": " + (tempo ? tempoText(*tempo) + " BPM" : std::string("no tempo")) + ", " +
           intToText(beats) + (beats == 1 ? " beat" : " beats") + " in " + intToText(bars) +
           (bars == 1 ? " bar" : " bars") + " of " + intToText(beatsPerBar) + " (division " +
           intToText(division) + "), " + tracksText(tracks) + ", " + secondsText(seconds);
}

std::string willWrite(const std::string& summary) { return "Will write " + summary; }

std::string planTooLong(double longestSeconds, bool stereo) {
    return std::string("The save will be refused: a ") + (stereo ? "stereo" : "mono") + " loop holds at most " +
           minutesAndSeconds(static_cast<long long>(std::floor(longestSeconds))) + "; shorten the wave.";
}

std::string planTempoPastTable(int index, int lastIndex, int beatsPerBar, Voice voice) {
    return "The save will fail: " + intToText(beatsPerBar) + " beats per bar take the tempo of " +
           intToText(index + 1) + " beats, and the wave has tempos up to " + intToText(lastIndex) +
           "; choose fewer beats or 1 beat per bar, or " + showTheTempo(voice) + ".";
}

std::string planFails(const std::string& reason) { return "The save will fail: " + reason + "."; }

std::string planBeatsWrap(int beats, int stored) {
    return intToText(beats) + " beats do not fit the loop's beat count: the Repeater will count " +
           intToText(stored) + "; choose at most 255 beats.";
}

std::string planTempoNotShown(double onCard, float shown, int beatsPerBar, Voice voice) {
    return "The Repeater will get " + tempoText(onCard) + " BPM, not the " + oneDecimal(shown) +
           " shown: with " + intToText(beatsPerBar) +
           " beats per bar the tempo is taken further up the table; " + showTheTempo(voice) + ".";
}

std::string tempoNotShown(const std::string& loopName, double onCard, float shown) {
    return loopName + " will play at " + tempoText(onCard) + " BPM, not the " + oneDecimal(shown) + " BPM shown";
}

std::string tempoOnlyAsShown(const std::string& loopName, int beatsPerBar, float shown) {
    return loopName + " has no tempo with " + intToText(beatsPerBar) +
           " beats per bar (the tempo table ends before it): only the " + oneDecimal(shown) +
           " BPM shown can be written";
}

std::string beatsNotShown(const std::string& loopName, int beats, int stored) {
    return loopName + " will count " + intToText(stored) + " beats, not the " + intToText(beats) + " shown";
}

std::string writeTempoShown(float shown) { return "Write the " + oneDecimal(shown) + " BPM shown?"; }

std::string tempoWarning(const std::string& surprise) { return "warning: " + surprise; }

std::string audioUnreadable(const std::string& path, const std::string& reason) {
    return "Cannot read " + path + ": " + reason;
}

std::string convertedUnwritable(const std::string& path, const std::string& reason) {
    return "Cannot write " + path + ": " + reason;
}

std::string noSuchChannel(const std::string& path, int channels, int channel) {
    return path + " has " + intToText(channels) + " channels: there is no channel " + intToText(channel);
}

std::string tooLongForWave(const std::string& path) { return path + " is too long for a wave file once converted"; }

std::string tooLongForLoop(const std::string& path, double seconds, double longestSeconds, bool stereo) {
    return path + " is " + minutesAndSeconds(static_cast<long long>(std::ceil(seconds))) +
           " long once converted: a " + (stereo ? "stereo" : "mono") + " loop holds at most " +
           minutesAndSeconds(static_cast<long long>(std::floor(longestSeconds)));
}

std::string notImported(const std::string& path) { return "Could not import " + path; }

std::string audioShape(int32_t sampleRate, int bits, bool isFloat, const std::string& encoding,
                       int channels, bool nameChannels) {
    std::string shape = shortestGeneral(static_cast<double>(sampleRate) / 1000.0) + " kHz ";
    shape += bits > 0 ? intToText(bits) + "-bit" + (isFloat ? " float" : "") : encoding;
    if (nameChannels || channels > 2)
        shape += channels == 1 ? ", mono" : channels == 2 ? ", stereo" : ", " + intToText(channels) + " channels";
    return shape;
}

std::string conversionSummary(const std::string& from, const std::string& to) {
    return from + " \u2192 " + to;
}

std::string offerConversion(const std::string& path, const std::string& summary) {
    return "Convert " + path + " (" + summary + ") and open the converted wave?";
}

std::string convertedFrom(const std::string& fileName) { return "Converted from " + fileName; }

std::string backupFileChanged(const std::string& entry) {
    return "Backup file " + entry + " does not match its manifest: nothing was restored";
}

std::string backupEntryRefused(const std::string& entry) {
    return "Backup entry " + entry + " is not a loop file: nothing was restored";
}

std::string backupHoldsLink(const std::string& entry) {
    return "Backup holds a symbolic link, " + entry + ": nothing was restored";
}

std::string backupUnreadable(const std::string& folder) {
    return "No readable backup manifest in " + folder + ": nothing was restored";
}

std::string backupLacksLoop(int loopNumber) {
    return "The backup holds no " + loop::loopFolderName(loopNumber) + ": nothing was restored";
}

std::string restoreLoopExists(const std::string& loopFolder) {
    return "Loop already exists: " + loopFolder + " (nothing was restored)";
}

std::string restoreFailed(const std::string& loopFolder) { return "Restoring " + loopFolder + " failed part-way"; }

std::string restoreNotStarted(const std::string& loopFolder) {
    return "Could not restore " + loopFolder + ": nothing was restored";
}

std::string holdsOfLoop(double heldSeconds, double loopSeconds) {
    return "holds " + secondsText(heldSeconds) + " of the loop's " + secondsText(loopSeconds);
}

std::string silenceAfter(double heldSeconds) {
    return "export would give silence after " + secondsText(heldSeconds) + "; restore it from a backup";
}

std::string waveSilentAfter(double heldSeconds) { return "the wave is silent after " + secondsText(heldSeconds); }

std::string tempoMismatch(double stored, int beats, double seconds, double made) {
    return tempoText(stored) + " BPM stored; " + intToText(beats) + (beats == 1 ? " beat" : " beats") + " in " +
           secondsText(seconds) + " make " + tempoText(made) + " BPM";
}

std::string beatCountWrapped(int stored, int beats) {
    return intToText(stored) + " stored; its tempo and length make " + intToText(beats) +
           " beats (the count wrapped past 255)";
}

std::string beatCountWrappedAdvice(int stored) {
    return "the Repeater counts " + intToText(stored) + " beats; write the loop again with at most 255 beats";
}

std::string noLoopsFound(const std::string& path) { return "no loops found in " + path; }

std::string damagedNotExported(const std::string& loopName) {
    return loopName + " has a damaged track, so it was not exported";
}

std::string exportDamaged(const std::string& loopName, const std::string& problems) {
    return loopName + " has a damaged track:\n" + problems + "\nExport it all the same?";
}

std::string noLoopsOnCard(const std::string& card) { return "No loop folders in " + card; }

std::string cardBackupFailed(const std::string& destination) {
    return "The card could not be backed up into " + destination;
}
std::string cardBackupLeavesOut(const std::string& backup) {
    return "The backup " + backup + " leaves out what it could not take:";
}

std::string oneNameOnCard(const std::vector<std::string>& otherNames) {
    std::string text = "one name on a FAT card with";
    for (size_t i = 0; i < otherNames.size(); ++i) text += (i == 0 ? " " : " and ") + otherNames[i];
    return text;
}

std::string barsText(int beatCount, int beatsPerBar) {
    if (beatsPerBar < 1) return "-";
    const int extra = beatCount % beatsPerBar;
    return intToText(beatCount / beatsPerBar) + (extra ? " + " + intToText(extra) : std::string());
}

std::string exportReplaces(const std::string& path) { return path + " already exists. Overwrite?"; }
std::string trackUnreadable(const std::string& path) { return path + ": cannot be read as a Repeater track"; }
std::string noBackupsOf(int loopNumber) {
    return "No backups of " + loop::loopFolderName(loopNumber) + " in the backup store";
}
std::string restoreReplaces(const std::string& loopFolder) {
    return loopFolder + " is replaced by the backup (and kept in the backup store first). Replace it?";
}
std::string loopRestored(const std::string& loopFolder) { return "Restored " + loopFolder; }
std::string exportFolderNotCreated(const std::string& folder) {
    return "Folder: " + folder + " could not be created";
}
std::string loopIntact(const std::string& loopName) { return loopName + " is intact"; }
std::string loopProblemCount(const std::string& loopName, size_t problems) {
    return loopName + " has " + std::to_string(problems) + (problems == 1 ? " problem:" : " problems:");
}

std::string backupEmpty(const std::string& folder) {
    return "The backup manifest in " + folder + " lists no files: nothing was restored";
}

std::string backupHoldsOtherLoop(const std::string& folder, const std::string& held, int named) {
    return "The backup " + folder + " holds " + held + ", not only the " + loop::loopFolderName(named) +
           " its name gives";
}

std::string cardBusy(const std::string& card) {
    return "The card " + card + " is busy with another save, restore, export or backup: nothing was changed";
}

std::string storeOverLimit(int64_t over, int64_t limit) {
    const auto mb = [](int64_t bytes) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
        return std::string(text);
    };
    return "The backup store is " + mb(over) + " over its limit of " + mb(limit) +
           ": the newest backup of every loop of every card, and any backup in use, stay";
}

std::string fromAnotherCard(const std::string& card, const std::string& label) {
    return "from another card: " + card + (label.empty() ? "" : " (label " + label + ")");
}

std::string noLoopAt(const std::string& loopFolder) {
    return "There is no loop folder " + loopFolder + ": nothing was changed";
}
std::string loopNamedTwice(const std::string& loopFolder) { return loopFolder + " is named twice: nothing was changed"; }
std::string arrangeLoopExists(const std::string& loopFolder) {
    return "Loop already exists: " + loopFolder + " (nothing was changed)";
}
std::string loopNotIntact(const std::string& loopFolder) { return loopFolder + " is not intact: nothing was changed"; }
std::string loopNotBackedUp(const std::string& loopFolder) {
    return loopFolder + " could not be backed up: nothing was changed";
}
std::string notArranged(const std::string& card) {
    return "Could not arrange the loops of " + card + ": nothing was changed";
}
std::string arrangeFailed(const std::string& card) {
    return "Arranging the loops of " + card + " failed part-way: every loop it touched is in the backup store";
}
std::string interruptedChangeFinished(const std::string& card, const std::string& what, bool dryRun) {
    return std::string(dryRun ? "Would finish" : "Finished") + " an interrupted change on " + card + ": " + what;
}
std::string interruptedChangeTakenBack(const std::string& card, const std::string& what, bool dryRun) {
    return std::string(dryRun ? "Would take back" : "Took back") + " an interrupted change on " + card + ": " + what;
}
std::string interruptedChangeLeft(const std::string& card, const std::string& what) {
    return card + " holds an interrupted change that could not be finished: " + what;
}
std::string nothingToRecover(const std::string& card) { return "Nothing to recover on " + card; }
std::string readBackFailed(const std::string& loopFolder) {
    return loopFolder + " did not read back from the card as it was written: nothing was changed";
}
std::string arrangementNotRecorded(const std::string& card) {
    return "The loops of " + card + " are arranged, but this cannot be undone";
}
std::string nothingToUndo(const std::string& card) { return "Nothing to undo on " + card; }
std::string cardChangedSince(const std::string& card) {
    return card + " was changed since its last arrangement: nothing was undone";
}
std::string nothingToRedo(const std::string& card) { return "Nothing to redo on " + card; }
std::string cardChangedSinceUndo(const std::string& card) {
    return card + " was changed since the undo: nothing was redone";
}
std::string cardEjected(const std::string& card) { return "The card " + card + " can be pulled out now"; }
std::string cardNotEjected(const std::string& card) { return "The card " + card + " was not ejected"; }
std::string ejectWhileChanging(const std::string& card) {
    return "A change to the card " + card + " is under way; it was not ejected";
}
std::string notSwitchedOff(const std::string& reason) {
    return "it is unmounted, but could not be switched off: " + reason;
}
std::string undoLacksBackup(const std::string& loopFolder) {
    return "The backup store no longer holds what " + loopFolder + " held: nothing was undone";
}
std::string redoLacksBackup(const std::string& loopFolder) {
    return "The backup store no longer holds what " + loopFolder + " held: nothing was redone";
}
std::string swapQuestion(int a, int b) {
    return "Swap " + loop::loopFolderName(a) + " and " + loop::loopFolderName(b) + "?";
}
std::string deleteQuestion(const std::string& loopNames) {
    return "Delete " + loopNames + "? A backup of each is kept in the backup store.";
}
std::string copyReplaces(const std::string& loopFolder) {
    return loopFolder + " is replaced by the copy (and kept in the backup store first). Replace it?";
}
std::string moveReplaces(const std::string& loopFolder) {
    return loopFolder + " is replaced by the loop moved there (and kept in the backup store first). Replace it?";
}
std::string noFreeLoop(const std::string& card) {
    return "No free loop number in " + card + " (LOOP1 to LOOP999 all exist)";
}
std::string dropSummary(size_t written, size_t dropped) {
    return std::to_string(written) + " of " + std::to_string(dropped) + " dropped files were written into loops";
}

std::string playUnreadable(const std::string& path) { return path + " cannot be read"; }

std::string playNotAWave(const std::string& path) {
    return path + " holds no 16-bit mono or stereo audio to play";
}

std::string playNoDescription(const std::string& folder) {
    return std::string("No readable ") + loop::kDescriptionFileName + " in " + folder;
}

std::string playTrackCount(const std::string& loopName, int tracks) {
    return loopName + " chooses " + intToText(tracks) +
           " tracks: only a loop of one or two tracks can be played";
}

std::string trackShorterThanAudio(const std::string& path, int64_t held, int64_t audio) {
    return path + " ends after " + intToText(held) + " of its " + intToText(audio) +
           " bytes of audio: it cannot be played";
}

std::string playingStopped(const std::string& reason) { return "Playing stopped: " + reason; }

std::string companionMissing(const std::string& program) {
    return program + ", which plays and converts audio, is not installed";
}

std::string companionLookedIn(const std::vector<std::string>& places) {
    std::string text = "looked for";
    for (size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? " " : i + 1 == places.size() ? " and " : ", ") + places[i];
    return places.empty() ? "the program's own folder cannot be told" : text;
}

std::string companionUnstartable(const std::string& program) { return program + " cannot be started"; }

std::string outputKept(const std::string& path) { return path + " was left as it is (--overwrite replaces it)"; }

std::string outputIsInput(const std::string& path) {
    return "Cannot write " + path + " over a file it is made from: nothing was written";
}

std::string exportIntoItself(const std::string& loopFolder) {
    return "Cannot write the waves of " + loopFolder + " into that loop itself: nothing was written";
}

std::string cacheUnusable(const std::string& folder) { return "The converted wave cannot be kept in " + folder; }

std::string convertedAs(const std::string& summary) { return "Converted " + summary; }

std::string aboutTempo(double beatsPerMinute) {
    return "about " + intToText(static_cast<long long>(std::lround(beatsPerMinute))) + " BPM";
}

std::string foundTempo(double beatsPerMinute, int beats) {
    return aboutTempo(beatsPerMinute) + " (" + intToText(beats) + (beats == 1 ? " beat)" : " beats)");
}

std::string foundTempoNote(double beatsPerMinute) {
    return "Found about " + intToText(static_cast<long long>(std::lround(beatsPerMinute))) + " BPM";
}

std::string noTempoFound(const std::string& path) {
    return "No tempo was found in the audio of " + path + ": give the beats as a number (--beats N)";
}

namespace {
std::string decibelsText(const char* format, double db) {
    char text[32];
    std::snprintf(text, sizeof text, format, db);
    return text;
}
std::string samplesText(int64_t count) {
    return intToText(count) + (count == 1 ? " sample" : " samples");
}
std::string clippedText(int64_t count, double peakDb) {
    return "clipped " + samplesText(count) + ", peak " + decibelsText("%+.2f dBFS", peakDb);
}
}  // namespace

std::string clippedSamples(int64_t count, double peakDb) { return "warning: " + clippedText(count, peakDb); }

std::string fitAdvice(double excessDb) {
    return "--fit lowers it by " + decibelsText("%.2f dB", excessDb) + " so that nothing clips; or --gain " +
           decibelsText("%.2f", -excessDb);
}

std::string loweredBy(double db) { return "Lowered by " + decibelsText("%.2f dB", db); }

std::string nonFiniteZeroed(int64_t count) {
    return "warning: " + samplesText(count) + (count == 1 ? " was" : " were") +
           " NaN or infinite and became 0 (the samples around kept as they are)";
}

std::string clippedQuestion(const std::string& path, int64_t count, double peakDb) {
    return "Converting " + path + " " + clippedText(count, peakDb);
}

std::string lowerByAnswer(double db) { return "Lower by " + decibelsText("%.1f dB", db); }

std::string nameTooLong(size_t characters, size_t longest) {
    return "The name has " + std::to_string(characters) + " characters; at most " +
           std::to_string(longest) + " fit";
}

std::string readingNames(int done, int total) {
    return "Reading loops for their names: " + std::to_string(done) + " of " + std::to_string(total);
}

std::string cannotName(const std::string& loopName) { return loopName + " cannot be named"; }

std::string libraryUnavailable(const std::string& path, const std::string& reason) {
    return "The loop library " + path + " cannot be used (" + reason + "): loops show without names";
}

std::string namedLoopFolder(const std::string& folderName, const std::string& name) {
    return name.empty() ? folderName : folderName + " \u2014 " + name;
}
std::string loopNotNamed(const std::string& loopFolder) {
    return loopFolder + " could not be read: its name and notes were not changed";
}
std::string readingLoops(int done, int total) {
    return "reading loops: " + std::to_string(done) + " of " + std::to_string(total);
}

namespace {
std::string namesText(int names) { return std::to_string(names) + (names == 1 ? " loop name" : " loop names"); }
}  // namespace

std::string namesWritten(int names, const std::string& path) { return "Wrote " + namesText(names) + " to " + path; }

std::string namesRead(int names, int kept, int skipped, const std::string& path) {
    std::string aside;
    if (kept > 0) aside = std::to_string(kept) + " kept as named on this computer";
    if (skipped > 0)
        aside += (aside.empty() ? "" : ", ") + std::to_string(skipped) + (skipped == 1 ? " line" : " lines") + " skipped";
    return "Read " + namesText(names) + " from " + path + (aside.empty() ? "" : " (" + aside + ")");
}

std::string noNamesFile(const std::string& card, const std::string& fileName) {
    return card + " holds no loop names (" + fileName + ")";
}

std::string namesFileTooLarge(const std::string& path, size_t largest) {
    return path + " is larger than " + std::to_string(largest / 1024) + " KiB: no names were read";
}

std::string namesFileForeign(const std::string& path) {
    return path + " is not a Brenvik loop names file: no names were read";
}

std::string namesNotWritten(const std::string& path) {
    return "Could not write the loop names to " + path + ": the card is as it was";
}

std::string waveNotWritten(const std::string& path) {
    return path + " could not be written";
}
std::string loopNotExported(const std::string& loopFolder) {
    return loopFolder + " could not be exported";
}

std::string commandSays(const std::string& command, const std::string& text) {
    return "brenvik-cli" + (command.empty() ? "" : " " + command) + ": " + text;
}
std::string programVersion(const std::string& version) {
    return "brenvik-cli " + version;
}
std::string notAFolder(const std::string& path) {
    return path + ": not a folder";
}
std::string cannotBeRead(const std::string& path) {
    return path + ": cannot be read";
}
std::string notLoopOrCard(const std::string& path) {
    return path + ": not a loop folder or card that can be read";
}
std::string noTrackToExport(const std::string& loopFolder) {
    return loopFolder + ": no track to export";
}
std::string noSuchOption(const std::string& command, const std::string& option) {
    return "brenvik-cli " + command + " has no option " + option;
}

std::string optionSays(const std::string& option, const std::string& problem) {
    return option + ": " + problem;
}
std::string unknownCommand(const std::string& quotedCommand) {
    return "unknown command " + quotedCommand;
}
std::string unknownOption(const std::string& option) {
    return "unknown option " + option;
}
std::string givenTwice(const std::string& what) {
    return what + " is given twice";
}
std::string needsValue(const std::string& option) {
    return option + " needs a value";
}
std::string missingArgument(const std::string& name) {
    return "missing " + name;
}
std::string unexpectedArgument(const std::string& quotedArgument) {
    return "unexpected argument " + quotedArgument;
}
std::string emptyGiven(const std::string& name) {
    return name + " is empty";
}
std::string isRequired(const std::string& option, const std::string& valueName) {
    return option + " " + valueName + " is required";
}
std::string longerThan(const std::string& quotedValue, size_t characters) {
    return quotedValue + " is longer than " + std::to_string(characters) + " characters";
}
std::string notANumber(const std::string& quotedValue, int decimals) {
    return quotedValue + (decimals == 0 ? std::string(" is not a whole number")
                                        : " is not a number with up to " +
                                              std::to_string(decimals) + " decimals");
}
std::string outsideRange(const std::string& quotedValue, const std::string& low,
                         const std::string& high) {
    return quotedValue + " is outside " + low + " to " + high;
}
std::string notALoopNumber(const std::string& quotedValue) {
    return quotedValue + " is not a loop number (1 to 999)";
}
std::string notAChannelPick(const std::string& quotedValue) {
    return quotedValue + " is not a channel K, two channels K,K or sum";
}
std::string beatsOutsideWave(int beats, int highest) {
    return "--beats: '" + std::to_string(beats) + "' is outside 1 to " + std::to_string(highest) +
           " for this wave";
}
std::string beatsPerBarNotDividing(int beatsPerBar, int beats) {
    return "--beats-per-bar: '" + std::to_string(beatsPerBar) + "' does not divide " +
           std::to_string(beats) + " beats";
}

std::string warningLine(const std::string& warning) {
    return "warning: " + warning;
}
std::string tempoFoundLine(const std::string& found) {
    return "tempo found: " + (found.empty() ? "none" : found);
}
std::string notMeasured(const std::string& reason) {
    return "not measured: " + reason;
}
std::string notALoopFolder(const std::string& path, const std::string& descriptionFile) {
    return path + ": not a loop folder (no " + descriptionFile + " in it)";
}
std::string noSuchFileOrFolder(const std::string& path) {
    return path + ": no such file or folder";
}
std::string neitherFileNorFolder(const std::string& path) {
    return path + ": not a file or folder that can be read";
}
std::string isNotAFolder(const std::string& path) {
    return path + " is not a folder";
}

}  // namespace brenvik::message
