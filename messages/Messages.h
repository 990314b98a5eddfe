#pragma once
// Every text the program shows in a message box, a dialog's caption, the status line or the Card
// window's details pane, and brenvik-cli's messages and usage problems, word for word, in one
// place. The reason shown below a message comes from
// where the failure happened: the step, the file and the system's own words.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenvik::message {

// Both converters.
inline constexpr const char* kFileMissing = "File does not exist!";
inline constexpr const char* kWriteSucceeded = "File writing successful";
inline constexpr const char* kSaveFailed = "error in fileSaving()";

// Opening a normal wave.
inline constexpr const char* kWaveOpenFailed = "Error in fileOpeing()";
// "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz".
std::string wrongSampleRate(int32_t sampleRate);
// "Repeater supports 16 bit audio only, this file is 8 bit".
std::string wrongBitsPerSample(int16_t bitsPerSample);
// The window's reason line below either refusal.
inline constexpr const char* kImportConverts =
    "File > Import and Convert opens it as a 44.1 kHz 16-bit copy";

// Writing a loop.
inline constexpr const char* kLoopNumberNotNumeric = "Loop Number should be a Number [1-999]";
inline constexpr const char* kLoopNumberOutOfRange = "Loop Number is out of Range [1-999]";
std::string destinationMissing(const std::string& destination);
inline constexpr const char* kLoopExists = "Loop already exists. Overwrite?";
inline constexpr const char* kNoRoomOnCard = "Not enough space available on CFC";
inline constexpr const char* kNoWaveOpened = "No wave file has been opened";
// "Loop is too long for the Repeater (at most 2592 clusters per track)".
std::string loopTooLong();

// What a save would write, before it runs: the wave-to-Repeater window's "will write" line and
// brenvik-cli to-loop --dry-run and --verbose. A tempo as the Repeater shows it: "120.0".
std::string tempoText(double beatsPerMinute);
// "/card/LOOP7: 120.0 BPM, 16 beats in 4 bars of 4 (division 4), stereo on tracks 1 and 2, 8.0 s";
// "no tempo" when none can be written.
std::string loopSummary(const std::string& loopFolder, std::optional<double> tempo, int beats,
                        int beatsPerBar, int division, const std::vector<int>& tracks, double seconds);
std::string willWrite(const std::string& summary);
// Who the advice is for: the window names its preference and its question, the command line its
// flag.
enum class Voice { Window, CommandLine };
// What would bar the save or get the music wrong, and what to change.
std::string planTooLong(double longestSeconds, bool stereo);
std::string planTempoPastTable(int index, int lastIndex, int beatsPerBar, Voice voice);
std::string planFails(const std::string& reason);
std::string planBeatsWrap(int beats, int stored);
std::string planTempoNotShown(double onCard, float shown, int beatsPerBar, Voice voice);

// Before a loop the Repeater would play otherwise than the window shows is written, Save asks and
// to-loop warns. "LOOP3 will play at 232.5 BPM, not the 120.0 BPM shown".
std::string tempoNotShown(const std::string& loopName, double onCard, float shown);
// "LOOP3 has no tempo with 4 beats per bar (the tempo table ends before it): only the 120.0 BPM
// shown can be written".
std::string tempoOnlyAsShown(const std::string& loopName, int beatsPerBar, float shown);
// "LOOP3 will count 44 beats, not the 300 shown".
std::string beatsNotShown(const std::string& loopName, int beats, int stored);
// The question below them, and what its answers do.
std::string writeTempoShown(float shown);
inline constexpr const char* kTempoAnswers =
    "Yes writes the tempo shown, No writes the loop as it stands, Cancel writes nothing.";
inline constexpr const char* kWriteAsItStands = "Write the loop as it stands?";
inline constexpr const char* kAsItStandsAnswers = "Yes writes the loop as it stands, No writes nothing.";
// to-loop's line on standard error when what it writes differs from what was asked.
std::string tempoWarning(const std::string& surprise);
// to-loop --strict writes nothing of it; the reason below the difference.
inline constexpr const char* kStrictRefusal = "--strict: nothing written";
inline constexpr const char* kTempoAsShownFlag = "--tempo-as-shown writes the tempo shown";

// Converting other audio files into 44.1 kHz 16-bit waves.
// "Cannot read /x/song.aif: Format not recognised." (the reason is the audio library's own).
std::string audioUnreadable(const std::string& path, const std::string& reason);
// "Cannot write /x/song.wav: No space left on device".
std::string convertedUnwritable(const std::string& path, const std::string& reason);
// "/x/song.wav has 6 channels: there is no channel 7".
std::string noSuchChannel(const std::string& path, int channels, int channel);
// "/x/song.wav is too long for a wave file once converted".
std::string tooLongForWave(const std::string& path);
// "/x/song.flac is 5 min 12 s long once converted: a stereo loop holds at most 4 min 0 s"; the
// length is rounded up and the limit down to whole seconds.
std::string tooLongForLoop(const std::string& path, double seconds, double longestSeconds, bool stereo);

// Importing any audio file into the wave-to-Repeater window ("Import and Convert...", or a drop).
// The dialog's list of types: "Audio files (*.wav *.aif *.aiff *.aifc *.flac)", then all files.
inline constexpr const char* kImportableAudio = "Audio files";
inline constexpr const char* kAnyFile = "All files";
inline constexpr const char* kImportTitle = "Import and Convert";
// "Could not import /x/song.flac" (the converter's reason below it).
std::string notImported(const std::string& path);
// One side of a conversion: "48 kHz 24-bit", "96 kHz 32-bit float"; an encoding whose samples
// have no width goes by its name ("8 kHz U-Law"); channels are named when there are more than two
// or when asked: "48 kHz 24-bit, 6 channels", "44.1 kHz 16-bit, stereo".
std::string audioShape(int32_t sampleRate, int bits, bool isFloat, const std::string& encoding,
                       int channels, bool nameChannels);
// "48 kHz 24-bit → 44.1 kHz 16-bit".
std::string conversionSummary(const std::string& from, const std::string& to);
// Asked after a dropped wave was refused: "Convert /x/take.wav (48 kHz 24-bit → 44.1 kHz 16-bit)
// and open the converted wave?" (Yes or No).
std::string offerConversion(const std::string& path, const std::string& summary);
// Above the window's file line while it shows a converted wave: "Converted from song.flac".
std::string convertedFrom(const std::string& fileName);

// Backups of loops and cards.
inline constexpr const char* kBackupFailed = "The loop could not be backed up, so it was not replaced";
// "Backup file LOOP3/track1.wav does not match its manifest: nothing was restored".
std::string backupFileChanged(const std::string& entry);
// "Backup entry ../x is not a loop file: nothing was restored".
std::string backupEntryRefused(const std::string& entry);
// "Backup holds a symbolic link, LOOP3/track1.wav: nothing was restored".
std::string backupHoldsLink(const std::string& entry);
// "No readable backup manifest in /path: nothing was restored".
std::string backupUnreadable(const std::string& folder);
// "The backup holds no LOOP7: nothing was restored".
std::string backupLacksLoop(int loopNumber);
// "Loop already exists: /card/LOOP7 (nothing was restored)".
std::string restoreLoopExists(const std::string& loopFolder);
// "Restoring /card/LOOP7 failed part-way": the card holds some of what was to be restored.
std::string restoreFailed(const std::string& loopFolder);
// "Could not restore /card/LOOP7: nothing was restored": the card is as it was.
std::string restoreNotStarted(const std::string& loopFolder);
// "The backup manifest in /path lists no files: nothing was restored".
std::string backupEmpty(const std::string& folder);
// "The backup /store/LOOP1-20261206T015000Z holds LOOP3, not only the LOOP1 its name gives".
std::string backupHoldsOtherLoop(const std::string& folder, const std::string& held, int named);
// "The card /card is busy with another save, restore, export or backup: nothing was changed".
std::string cardBusy(const std::string& card);
// "The backup store is 12.5 MB over its limit of 2147.5 MB: the newest backup of every loop of
// every card, and any backup in use, stay".
std::string storeOverLimit(int64_t over, int64_t limit);
// The Backups window's mark of a backup made on the card it shows.
inline constexpr const char* kThisCard = "this card";
// The Backups window's mark of a backup whose card was not recorded (made before the store kept it).
inline constexpr const char* kCardNotRecorded = "card not recorded";
// How the Backups window and brenvik-cli backups mark a backup of the same loop number made on
// another card: "from another card: /media/OTHER (label OTHER)".
std::string fromAnotherCard(const std::string& card, const std::string& label);
// "No loop folders in /card".
std::string noLoopsOnCard(const std::string& card);
// "The card could not be backed up into /dest".
std::string cardBackupFailed(const std::string& destination);
// "The backup /dest/card-20261206T015000Z leaves out what it could not take:", above one line per
// loop folder or file left out, each with why.
std::string cardBackupLeavesOut(const std::string& backup);
// Why a card backup leaves something out: a subfolder of a loop folder, and a file whose name a
// manifest line cannot hold.
inline constexpr const char* kFolderInLoop = "a folder inside a loop: a backup holds only the loop's files";
inline constexpr const char* kNameNotInManifest = "a name a backup manifest cannot hold";

// Opening a Repeater track and saving it as a wave.
inline constexpr const char* kDescriptionElsewhere =
    "Repeater's .ldf and .wav files must reside in the same directory";
inline constexpr const char* kUntrimmedTrack = "Invalid or Untrimmed Repeater File";
inline constexpr const char* kNothingLoaded = "No Repeater files loaded";
inline constexpr const char* kNoLeftTrack = "No Repeater file loaded in Left channel";
inline constexpr const char* kNoRightTrack = "No Repeater file loaded in Right channel";
inline constexpr const char* kFileExists = "File already exists. Overwrite?";

// The Card window.
// A loop's bars, as the Card window and brenvik-cli list show them: "4" for 16 beats of 4, and the
// beats of an unfinished bar after a plus, "4 + 2" for 18 beats of 4 (the beat count stands in its
// own column beside it); "-" when the beats per bar are not a count.
std::string barsText(int beatCount, int beatsPerBar);
// Asked (Yes or No) before an export replaces a wave.
std::string exportReplaces(const std::string& path);
// "/card/LOOP7/track1.wav: cannot be read as a Repeater track": an open that ends without a message
// in the window, told where a track is opened without one (an export, brenvik-cli).
std::string trackUnreadable(const std::string& path);
inline constexpr const char* kNoLoopsSelected = "No loops selected";
inline constexpr const char* kSelectOneLoop = "Select one loop to see its backups";
// "No backups of LOOP7 in the backup store".
std::string noBackupsOf(int loopNumber);
inline constexpr const char* kNoBackupSelected = "No backup selected";
// Asked (Yes or No) before a restore replaces a loop.
std::string restoreReplaces(const std::string& loopFolder);
// "Restored /card/LOOP7".
std::string loopRestored(const std::string& loopFolder);
// "Folder: /x/y could not be created": an export into a folder that is missing and cannot be
// made (the reason below it).
std::string exportFolderNotCreated(const std::string& folder);
// The details pane under the Card window's table: "LOOP7 is intact", or "LOOP7 has 2 problems:"
// above one line per problem.
inline constexpr const char* kNoLoopChosen = "Select a loop to see whether it is intact";
std::string loopIntact(const std::string& loopName);
std::string loopProblemCount(const std::string& loopName, size_t problems);

// What a problem or warning of brenvik-cli check, list and the Card window means for the music
// and what to do, said behind its facts.
inline constexpr const char* kFolderUnreadableAdvice = "the loop cannot be listed or played; check the card";
inline constexpr const char* kDescriptionAdvice = "the Repeater cannot play the loop; restore it from a backup";
inline constexpr const char* kCheckBytesAdvice =
    "the Repeater may refuse the loop; restore it from a backup or write it again";
inline constexpr const char* kBitmapAdvice =
    "the Repeater may play other parts of the card; restore it from a backup or write it again";
inline constexpr const char* kStrayTrackAdvice = "the Repeater does not play it; move it out of the loop folder";
inline constexpr const char* kMissingTrackAdvice = "that channel is silent; restore it from a backup";
inline constexpr const char* kTrackHeaderAdvice = "the Repeater cannot play the track; restore it from a backup";
inline constexpr const char* kTrackTailAdvice = "the file ends early, behind the loop's audio; restore it from a backup";
inline constexpr const char* kTrackRefusedAdvice =
    "the Repeater to .WAV window refuses the track; restore it from a backup";
// A loop folder or one of its files that is a link, or neither file nor folder, then why that
// matters.
inline constexpr const char* kLinkNotFile = "a link, not a file";
inline constexpr const char* kNotAFile = "not a file";
inline constexpr const char* kOnlyFilesAdvice = "the Repeater reads only files";
// "one name on a FAT card with loop7" (with each other name, joined by "and"): two loop folders
// whose names differ only in case; then what to do.
std::string oneNameOnCard(const std::vector<std::string>& otherNames);
inline constexpr const char* kOneNameAdvice = "the Repeater finds only one of them; give one of them a free loop number";
// "holds 3.2 s of the loop's 16.0 s": a track with less audio than its end sector asks for.
std::string holdsOfLoop(double heldSeconds, double loopSeconds);
// "export would give silence after 3.2 s; restore it from a backup".
std::string silenceAfter(double heldSeconds);
// "the wave is silent after 3.2 s": a short track converted all the same.
std::string waveSilentAfter(double heldSeconds);
// The warnings: "232.5 BPM stored; 16 beats in 8.0 s make 120.0 BPM" and its advice.
std::string tempoMismatch(double stored, int beats, double seconds, double made);
inline constexpr const char* kTempoMismatchAdvice =
    "the Repeater plays the loop at the wrong tempo; write it again with 1 beat per bar or with the tempo as shown";
// "44 stored; its tempo and length make 300 beats (the count wrapped past 255)" and its advice.
std::string beatCountWrapped(int stored, int beats);
std::string beatCountWrappedAdvice(int stored);
// "no loops found in /card": brenvik-cli check of a path without loops.
std::string noLoopsFound(const std::string& path);
// Export of a loop whose check finds a problem with a chosen track: refused (the problems below),
// or asked about in the Card window.
std::string damagedNotExported(const std::string& loopName);
inline constexpr const char* kForceExports = "--force exports it all the same";
// "LOOP7 has a damaged track:\n<problems>\nExport it all the same?" (Yes or No).
std::string exportDamaged(const std::string& loopName, const std::string& problems);

// The main window's status line, when a converter window refuses what is dropped on it.
inline constexpr const char* kWaveWindowDrops =
    "Not opened: .WAV to Repeater takes one .wav, .aif, .aiff, .aifc or .flac file";
inline constexpr const char* kRepeaterWindowDrops =
    "Not opened: Repeater to .WAV takes one track file (.wav), two in stereo mode, or one loop folder";

// Listening to a wave, a track or a loop (a disabled Play button's tooltip, or brenvik-cli).
inline constexpr const char* kNoAudioOutput =
    "No audio output found: start a sound server (PulseAudio or PipeWire) to listen";
inline constexpr const char* kNothingToPlay = "There is no audio to play";
std::string playUnreadable(const std::string& path);
std::string playNotAWave(const std::string& path);
std::string playNoDescription(const std::string& folder);
// "LOOP7 chooses 3 tracks: only a loop of one or two tracks can be played".
std::string playTrackCount(const std::string& loopName, int tracks);
// "/card/LOOP7/track1.wav ends after 1024 of its 4096 bytes of audio: it cannot be played".
std::string trackShorterThanAudio(const std::string& path, int64_t held, int64_t audio);
// Said when the output fails while playing.
std::string playingStopped(const std::string& reason);
// The Play button of the windows: its caption and its tooltip while it can be clicked.
inline constexpr const char* kPlayCaption = "Play";
inline constexpr const char* kStopCaption = "Stop";
inline constexpr const char* kPlayTip = "Listen, round and round (Space)";
inline constexpr const char* kStopTip = "Stop listening (Space)";
// The Card window's Play button while no loop is selected.
inline constexpr const char* kNoLoopToPlay = "Select a loop to listen to it";

// Arranging the loops of cards: move, copy, swap, delete, renumber, undo; the Card window's own.
// "There is no loop folder /card/LOOP4: nothing was changed".
std::string noLoopAt(const std::string& loopFolder);
// "/card/LOOP3 is named twice: nothing was changed".
std::string loopNamedTwice(const std::string& loopFolder);
// "Loop already exists: /card/LOOP5 (nothing was changed)".
std::string arrangeLoopExists(const std::string& loopFolder);
// "/card/LOOP3 is not intact: nothing was changed", its problems below.
std::string loopNotIntact(const std::string& loopFolder);
// "/card/LOOP3 could not be backed up: nothing was changed".
std::string loopNotBackedUp(const std::string& loopFolder);
// "Could not arrange the loops of /card: nothing was changed".
std::string notArranged(const std::string& card);
// "Arranging the loops of /card failed part-way: every loop it touched is in the backup store".
std::string arrangeFailed(const std::string& card);
// "The loops of /card are arranged, but this cannot be undone".
std::string arrangementNotRecorded(const std::string& card);
// An interrupted change of a card, as the next program to open the card finds it:
// "Finished an interrupted change on /card: swap LOOP4 and LOOP20" ("Would finish ..." for a dry
// run), "Took back an interrupted change on /card: save LOOP3" (nothing of it had reached a loop),
// and "/card holds an interrupted change that could not be finished: swap LOOP4 and LOOP20", which
// every writer gives as its refusal and check as a problem until it can be finished.
std::string interruptedChangeFinished(const std::string& card, const std::string& what, bool dryRun);
std::string interruptedChangeTakenBack(const std::string& card, const std::string& what, bool dryRun);
std::string interruptedChangeLeft(const std::string& card, const std::string& what);
// "Nothing to recover on /card".
std::string nothingToRecover(const std::string& card);
// "/card/LOOP3 did not read back from the card as it was written: nothing was changed".
std::string readBackFailed(const std::string& loopFolder);
// "Nothing to undo on /card".
std::string nothingToUndo(const std::string& card);
// "/card was changed since its last arrangement: nothing was undone".
std::string cardChangedSince(const std::string& card);
// "Nothing to redo on /card".
std::string nothingToRedo(const std::string& card);
// "/card was changed since the undo: nothing was redone".
std::string cardChangedSinceUndo(const std::string& card);

// Ejecting a card: brenvik-cli eject and the Card window's Eject.
// "The card /media/CARD can be pulled out now".
std::string cardEjected(const std::string& card);
// "The card /media/CARD was not ejected", the reason below.
std::string cardNotEjected(const std::string& card);
// "A change to the card /media/CARD is under way; it was not ejected".
std::string ejectWhileChanging(const std::string& card);
inline constexpr const char* kNoUdisks = "no udisks2 service runs here";
inline constexpr const char* kNotRemovable = "the card is not a removable device udisks2 knows";
// Below cardEjected when the device stayed on, with udisks2's reason.
std::string notSwitchedOff(const std::string& reason);
// "The backup store no longer holds what /card/LOOP3 held: nothing was undone".
std::string undoLacksBackup(const std::string& loopFolder);
// "The backup store no longer holds what /card/LOOP3 held: nothing was redone".
std::string redoLacksBackup(const std::string& loopFolder);
// "Swap LOOP3 and LOOP5?" (Yes or No).
std::string swapQuestion(int a, int b);
// "Delete LOOP3, LOOP5? A backup of each is kept in the backup store." (Yes or No).
std::string deleteQuestion(const std::string& loopNames);
// "/card/LOOP5 is replaced by the copy (and kept in the backup store first). Replace it?"
std::string copyReplaces(const std::string& loopFolder);
std::string moveReplaces(const std::string& loopFolder);
inline constexpr const char* kChooseMoveFolder = "Move to card";
// "No free loop number in /card (LOOP1 to LOOP999 all exist)".
std::string noFreeLoop(const std::string& card);
// "2 of 3 dropped files were written into loops", each file's loop or why not below it.
std::string dropSummary(size_t written, size_t dropped);
inline constexpr const char* kChooseCopyFolder = "Copy to card";
// brenvik-cli's audio commands (play, convert, to-loop --convert), which its companion program
// runs. "brenvik-cli-media, which plays and converts audio, is not installed", and below it the
// places looked in.
std::string companionMissing(const std::string& program);
std::string companionLookedIn(const std::vector<std::string>& places);
// "brenvik-cli-media cannot be started" (the system's reason below it).
std::string companionUnstartable(const std::string& program);
// An output that exists, kept as the command was not told to replace it: "out.wav was left as it
// is (--overwrite replaces it)".
std::string outputKept(const std::string& path);
// An output that is one of the files it is made from: "Cannot write /card/LOOP1/track1.wav over a
// file it is made from: nothing was written".
std::string outputIsInput(const std::string& path);
// "Cannot write the waves of /card/LOOP1 into that loop itself: nothing was written".
std::string exportIntoItself(const std::string& loopFolder);
// What convert did: "Converted 48 kHz 24-bit → 44.1 kHz 16-bit", or copied a wave that needed
// nothing.
std::string convertedAs(const std::string& summary);
// "The converted wave cannot be kept in /home/me/.cache/Brenvik/converted" (the reason below it).
std::string cacheUnusable(const std::string& folder);
inline constexpr const char* kCopiedUnchanged =
    "Copied unchanged: the file is already a 44.1 kHz 16-bit wave";
// Below the too-long message when convert goes ahead all the same.
inline constexpr const char* kWaveHoldsItAllTheSame =
    "the wave is written all the same: a wave file has no such limit, only a loop";

// The shell.
inline constexpr const char* kPreferencesFailed = "Error in Preferences";
inline constexpr const char* kDeviceNotReady = "Device Not Ready";

// The folder chooser's captions.
inline constexpr const char* kChooseLoopFolder = "Choose a Loop Folder";
inline constexpr const char* kChooseCardFolder = "Card folder";
inline constexpr const char* kChooseExportFolder = "Export to";

// The tempo found in a wave's audio, as brenvik-cli info and to-loop --dry-run print it: "about
// 120 BPM (16 beats)".
std::string foundTempo(double beatsPerMinute, int beats);
// "about 120 BPM": the Card window's drop dialog, beside the beats it offers.
std::string aboutTempo(double beatsPerMinute);
// The same beside the wave-to-Repeater window's tempo: "Found about 120 BPM".
std::string foundTempoNote(double beatsPerMinute);
// to-loop --beats auto on a wave without a clear tempo: "No tempo was found in the audio of
// groove.wav: give the beats as a number (--beats N)".
std::string noTempoFound(const std::string& path);
// The level of a conversion. "warning: clipped 12345 samples, peak +0.95 dBFS", and below it
// how to lower the level so that nothing clips ("--fit lowers it by 0.95 dB; or --gain -0.95").
std::string clippedSamples(int64_t count, double peakDb);
std::string fitAdvice(double excessDb);
// "Lowered by 0.95 dB", after a conversion with a gain.
std::string loweredBy(double db);
// "warning: 1 sample was NaN or infinite and became 0", each by itself (its neighbours kept).
std::string nonFiniteZeroed(int64_t count);
// The import's question after a conversion clipped: "Converting song.wav clipped 12345 samples,
// peak +0.95 dBFS", its answers "Lower by 1.0 dB" and "Keep as it is", and Cancel.
std::string clippedQuestion(const std::string& path, int64_t count, double peakDb);
std::string lowerByAnswer(double db);
inline constexpr const char* kKeepLevelAnswer = "Keep as it is";

// The loop library. A name refused: "The name has 201 characters; at most 200 fit".
std::string nameTooLong(size_t characters, size_t longest);
inline constexpr const char* kNameHasControl =
    "The name holds a control character (a tab, a line break or the like)";
inline constexpr const char* kNameNotUtf8 = "The name is not UTF-8 text";
// "The loop library /home/a/.local/share/Brenvik/library.sqlite cannot be used (file is not a
// database): loops show without names".
std::string libraryUnavailable(const std::string& path, const std::string& reason);
// A loop folder with its name, as the Repeater-to-wave window's Loop row shows it: "LOOP3 — Intro
// groove"; the folder alone when the loop has no name.
std::string namedLoopFolder(const std::string& folderName, const std::string& name);
// "/card/LOOP4 could not be read: its name and notes were not changed".
std::string loopNotNamed(const std::string& loopFolder);
// The command line's progress while it reads loops for their names: "reading loops: 3 of 50".
std::string readingLoops(int done, int total);
// The names file on a card. "Wrote 3 loop names to /card/BRENVIK.TXT".
std::string namesWritten(int names, const std::string& path);
// "Read 3 loop names from /card/BRENVIK.TXT (1 kept as named on this computer, 2 lines skipped)".
std::string namesRead(int names, int kept, int skipped, const std::string& path);
// "/card holds no loop names (BRENVIK.TXT)".
std::string noNamesFile(const std::string& card, const std::string& fileName);
// "/card/BRENVIK.TXT is larger than 1024 KiB: no names were read".
std::string namesFileTooLarge(const std::string& path, size_t largest);
// "/card/BRENVIK.TXT is not a Brenvik loop names file: no names were read".
std::string namesFileForeign(const std::string& path);
// "Could not write the loop names to /card/BRENVIK.TXT: the card is as it was".
std::string namesNotWritten(const std::string& path);
// The Card window's totals line while the loops not yet known are read: "Reading loops for their
// names: 120 of 999".
std::string readingNames(int done, int total);
// A loop whose files cannot be read for a name: "LOOP3 cannot be named", the reason below.
std::string cannotName(const std::string& loopName);

// A failure nothing else caught: the window's message box and brenvik-cli's line, the reason
// below it.
inline constexpr const char* kUnexpectedFailure = "An unexpected failure stopped the command";
// "/out/LOOP3-track1.wav could not be written": an export's wave (the system's reason below it).
std::string waveNotWritten(const std::string& path);
// "/card/LOOP3 could not be exported": a loop whose export failed before any wave was written.
std::string loopNotExported(const std::string& loopFolder);

// brenvik-cli's lines on standard error open with the program and the command ("brenvik-cli
// export: "), or with the program alone before a command is known.
std::string commandSays(const std::string& command, const std::string& text);
// "brenvik-cli 1.0" for --version.
std::string programVersion(const std::string& version);
// "/x: not a folder".
std::string notAFolder(const std::string& path);
// "/x: cannot be read" (the reason below it).
std::string cannotBeRead(const std::string& path);
// "/x: not a loop folder or card that can be read".
std::string notLoopOrCard(const std::string& path);
// "/card/LOOP3: no track to export".
std::string noTrackToExport(const std::string& loopFolder);
inline constexpr const char* kPathsUnresolved = "cannot resolve the paths given";
// A command asking its own arguments for an option its table lacks: a fault of the program.
// "brenvik-cli export has no option --to".
std::string noSuchOption(const std::string& command, const std::string& option);

// brenvik-cli's usage problems, shown after "brenvik-cli COMMAND: " and followed by the usage.
// An argument given appears quoted and printable ('4x'), as quoted() in the argument reader
// writes it; an option's problem with its value opens with the option: "--gain: ...".
std::string optionSays(const std::string& option, const std::string& problem);
std::string unknownCommand(const std::string& quotedCommand);
std::string unknownOption(const std::string& option);
std::string givenTwice(const std::string& what);
std::string needsValue(const std::string& option);
std::string missingArgument(const std::string& name);
std::string unexpectedArgument(const std::string& quotedArgument);
std::string emptyGiven(const std::string& name);
// "--dest DIR is required".
std::string isRequired(const std::string& option, const std::string& valueName);
std::string longerThan(const std::string& quotedValue, size_t characters);
// "'4x' is not a whole number", or with decimals "'4x' is not a number with up to 2 decimals".
std::string notANumber(const std::string& quotedValue, int decimals);
std::string outsideRange(const std::string& quotedValue, const std::string& low,
                         const std::string& high);
std::string notALoopNumber(const std::string& quotedValue);
std::string notAChannelPick(const std::string& quotedValue);
// to-loop's beats against what the wave allows, and its beats per bar against the beats.
std::string beatsOutsideWave(int beats, int highest);
std::string beatsPerBarNotDividing(int beatsPerBar, int beats);
inline constexpr const char* kOrderOrCloseGaps = "give either --order or --close-gaps";
inline constexpr const char* kNameOrClear = "give either NAME or --clear";
inline constexpr const char* kNameClearOrNotes = "give NAME, --clear or --notes";
inline constexpr const char* kWriteOrReadCard = "give one of --write-card and --read-card";
inline constexpr const char* kAsNeedsOneLoop = "--as: needs exactly one --loop";
inline constexpr const char* kLoopTakesOneSource = "--loop takes a single SOURCE";
inline constexpr const char* kChannelsShareTrack =
    "the left and the right channel cannot share a track";
// The last line of brenvik-cli --help.
inline constexpr const char* kHelpPerCommand =
    "Each command takes -h or --help alone for its own usage.";

// brenvik-cli's reports: a warning below a loop, to-loop --dry-run's tempo ("none" when none was
// found), a level info could not measure.
std::string warningLine(const std::string& warning);
std::string tempoFoundLine(const std::string& found);
std::string notMeasured(const std::string& reason);
// Why info or export cannot take a path (the system's reason below it, where there is one).
std::string notALoopFolder(const std::string& path, const std::string& descriptionFile);
std::string noSuchFileOrFolder(const std::string& path);
std::string neitherFileNorFolder(const std::string& path);
std::string isNotAFolder(const std::string& path);

}  // namespace brenvik::message
