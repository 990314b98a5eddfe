#include "LoopWriting.h"

#include <array>
#include <exception>
#include <optional>

#include "ByteSource.h"
#include "CardFolder.h"
#include "CardRoom.h"
#include "CardTransaction.h"
#include "Checked.h"
#include "ChunkWalk.h"
#include "FolderLock.h"
#include "FreeLoopSearch.h"
#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "BackupStore.h"
#include "CardNames.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "SourceToTracks.h"
#include "TrackFile.h"
#include "UserLibrary.h"

namespace brenvik {

namespace {

using Outcome = LoopWriteResult::Outcome;

// Every track file starts with the canonical header and 32 sectors of silence; the Repeater
// plays from the first sector behind them.
void writeTrackStart(FileSink& track, const wave::Header& header) {
    track.writeAt(0, header);
    const std::array<uint8_t, loop::kPreBufferBytes> silence{};
    track.writeAt(wave::kHeaderSize, silence);
}

bool validTrack(int track) { return track >= 1 && track <= kTrackCount; }

class LoopWriter {
public:
    LoopWriter(const LoopWriteRequest& request, Files& files, const OverwritePolicy& mayReplace,
               const Progress& progress)
        : m_request(request), m_files(files), m_mayReplace(mayReplace), m_progress(progress) {}

    LoopWriteResult write();

    // Whatever failed, the loop number keeps the normal form it was given.
    LoopWriteResult failed() {
        return end(Outcome::Failed, message::kSaveFailed, MessageIcon::Critical, caughtReason());
    }

private:
    // A step's result when the save ends there (refused, kept or cancelled); nothing goes on.
    using Stop = std::optional<LoopWriteResult>;
    // What the track headers and loopinfo.ldf hold.
    struct LoopFiles {
        wave::Header trackHeader;
        loop::Description description;
    };

    Stop checkRequest();
    Stop takeCard(std::optional<FolderLock>& lock);
    Stop decideReplaced();
    Stop checkRoom();
    Stop askAboutTempo();
    LoopFiles describeLoop() const;
    Stop backUpReplaced();
    LoopWriteResult writeToCard(const LoopFiles& loopFiles);
    void writeThroughTransaction(const LoopFiles& loopFiles);

    LoopWriteResult end(Outcome outcome, std::string text = {},
                        MessageIcon icon = MessageIcon::None, std::string reason = {}) {
        m_result.outcome = outcome;
        m_result.message = std::move(text);
        m_result.icon = icon;
        m_result.reason = std::move(reason);
        return m_result;
    }
    LoopWriteResult refuse(std::string text, MessageIcon icon, std::string reason = {}) {
        return end(Outcome::Refused, std::move(text), icon, std::move(reason));
    }

    void report(float value) {
        m_value = value;
        if (m_progress) m_progress(m_value, m_total);
    }

    const LoopWriteRequest& m_request;
    Files& m_files;
    const OverwritePolicy& m_mayReplace;
    const Progress& m_progress;

    LoopWriteResult m_result;
    int16_t m_number = 0;
    std::string m_folder;  // the loop folder; absolute once it replaces a loop
    bool m_stereo = false;
    std::optional<FileSource> m_source;
    DataChunk m_data{};
    std::string m_card;                      // the destination, absolute
    std::optional<std::string> m_replacing;  // the loop folder replaced, absolute
    bool m_committed = false;
    bool m_readBackFailed = false;
    bool m_replaceFirst = false;  // no room for the new loop beside the one it replaces
    float m_total = 0;
    float m_value = 0;
};

// Every check comes before anything on the card is touched, in the order the user meets them: a
// wrong loop number is refused before the destination is looked at, the card is taken before the
// loop it holds is asked about, and the tempo is asked last.
LoopWriteResult LoopWriter::write() {
    std::optional<FolderLock> lock;  // held from takeCard() to the end of the save
    if (Stop stop = checkRequest()) return *stop;
    if (Stop stop = takeCard(lock)) return *stop;
    if (Stop stop = decideReplaced()) return *stop;
    if (Stop stop = checkRoom()) return *stop;
    if (Stop stop = askAboutTempo()) return *stop;
    const LoopFiles loopFiles = describeLoop();
    if (m_request.dryRun) {
        m_result.loopFolder = m_folder;
        return end(Outcome::Planned);
    }
    if (Stop stop = backUpReplaced()) return *stop;
    return writeToCard(loopFiles);
}

// The loop number, the destination, the channels' tracks, the source's data chunk and the plan.
LoopWriter::Stop LoopWriter::checkRequest() {
    const LoopWriteRequest& request = m_request;
    if (!isNumeric(request.loopNumberText))
        return refuse(message::kLoopNumberNotNumeric, MessageIcon::Critical);
    m_number = textToInt16(request.loopNumberText);
    if (!loop::isLoopNumber(m_number))
        return refuse(message::kLoopNumberOutOfRange, MessageIcon::Critical);
    m_result.loopNumber = m_number;
    m_folder = loopFolderPath(request.destination, m_number);
    if (!m_files.folderExists(request.destination))
        return refuse(message::destinationMissing(request.destination), MessageIcon::Critical);

    if (!request.mode) return refuse(message::kNoWaveOpened, MessageIcon::None);
    m_stereo = *request.mode == ChannelMode::Stereo;
    const LoopSettings& s = request.settings;
    for (const int track : {s.left.track, m_stereo ? s.right.track : 1})
        if (!validTrack(track))
            throw RoutineError("there is no track " + intToText(track) + ", only 1 to 4");
    if (m_stereo && s.right.track == s.left.track)
        throw RoutineError("the left and the right channel cannot share track " +
                           intToText(s.left.track));

    FileSource& source = m_source.emplace(request.sourcePath);
    const std::optional<DataChunk> data = scanForData(source);
    if (!data) throw RoutineError(request.sourcePath + " has no data chunk before its end");
    m_data = *data;
    const int32_t d = m_data.dataSize;
    const LoopPlan& plan = m_result.plan.emplace(
        planLoop(*request.mode, d, s, request.tempoTable, request.tempoAsShown, request.voice));
    if (plan.tooLong) return refuse(message::loopTooLong(), MessageIcon::Critical, *plan.tooLong);
    // A size field that promises more audio than the file holds would fail halfway through the
    // copy, after an existing loop had been deleted: refuse it while nothing is touched.
    const int64_t copied = static_cast<int64_t>(loop::kSectorBytes) * loop::loopSectors(d);
    if (d < 0)
        throw RoutineError(request.sourcePath + ": the data size " + intToText(d) + " is negative");
    if (source.size() < m_data.dataStart + copied)
        throw RoutineError(request.sourcePath + " ends before its data: the data chunk promises " +
                           intToText(d) + " bytes, the file holds " +
                           intToText(source.size() - m_data.dataStart));
    return std::nullopt;
}

// One writer per card: from here to the end of the save no other save, restore, export or
// backup changes the destination, and a change an earlier program left half-done is finished
// or taken back first.
LoopWriter::Stop LoopWriter::takeCard(std::optional<FolderLock>& lock) {
    lock =
        FolderLock::take(m_request.destination, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
    if (!lock) return refuse(message::cardBusy(m_request.destination), MessageIcon::Critical);
    m_card = m_files.absolutePath(m_request.destination);
    const card::Recovery recovery = card::recoverCard(m_files, m_card);
    if (recovery.failed()) return refuse(recovery.line, MessageIcon::Critical, recovery.reason);
    m_result.recovered = recovery.line;
    return std::nullopt;
}

// The card may name the loop folder in another case (loop7): it is the one replaced. A number
// held by two folders whose names differ only in case is refused: the Repeater finds only one.
LoopWriter::Stop LoopWriter::decideReplaced() {
    const std::optional<std::string> holding =
        card::loopFolderHolding(m_files, m_request.destination, m_number);
    if (!holding || !m_files.folderExists(*holding)) return std::nullopt;
    switch (m_mayReplace(*holding)) {
        case ReplaceChoice::Replace:
            break;
        case ReplaceChoice::Keep:
            return end(Outcome::Kept);
        case ReplaceChoice::Cancel:
            return end(Outcome::Cancelled);
    }
    m_folder = m_files.absolutePath(m_folder);
    m_replacing = m_files.absolutePath(*holding);
    return std::nullopt;
}

// A loop about to be replaced frees its own space. Every file takes whole blocks of the card
// (a FAT cluster), and the folder one more: what fits by bytes may still not fit on the card,
// and that is found out before anything is deleted. The new loop is written whole beside the
// one it replaces, which goes only then; where the card has no room for both, the old loop (in
// the backup store by then) leaves first.
LoopWriter::Stop LoopWriter::checkRoom() {
    const int64_t freeBytes = m_files.freeSpace(m_files.absolutePath(m_folder));
    const int64_t block = m_files.blockSize(m_folder);
    const int32_t d = m_data.dataSize;
    card::RoomNeeded room;
    for (int track = 0; track < (m_stereo ? 2 : 1); ++track)
        card::addFile(room, int64_t{loop::kTrackAudioOffset} + loop::audioLength(d, m_stereo),
                      block);
    card::addFile(room, loop::kDescriptionSize, block);
    card::addFolder(room, block);
    room.bytes = checkedAdd<int32_t>(d, loop::kSpaceMargin);
    if (m_replacing) {
        room.bytesFreed = m_files.folderSize(*m_replacing);
        room.blocksFreed = card::folderRoom(m_files, *m_replacing, block);
    }
    if (const std::optional<std::string> lack = card::lackOfRoom(room, freeBytes, block))
        return refuse(message::kNoRoomOnCard, MessageIcon::None, *lack);
    m_replaceFirst = room.blocks > freeBytes;
    return std::nullopt;
}

// The musician hears of a tempo or beat count other than the one shown before it is written;
// the tempo shown may also make a tempo index past the table writable.
LoopWriter::Stop LoopWriter::askAboutTempo() {
    const LoopWriteRequest& request = m_request;
    LoopPlan& plan = *m_result.plan;
    if (!request.askTempo || !plan.differsFromShown()) return std::nullopt;
    switch (request.askTempo(plan, loop::loopFolderName(m_number))) {
        case TempoChoice::AsShown:
            plan = planLoop(*request.mode, m_data.dataSize, request.settings, request.tempoTable,
                            true, request.voice);
            break;
        case TempoChoice::AsItStands:
            break;
        case TempoChoice::Cancel:
            return end(Outcome::Cancelled);
    }
    return std::nullopt;
}

// Everything the track headers and loopinfo.ldf hold is worked out while the card is still
// untouched: a tempo index past the table or an overflow fails the save before an existing
// loop is deleted or a track is written.
LoopWriter::LoopFiles LoopWriter::describeLoop() const {
    const LoopPlan& plan = *m_result.plan;
    const wave::Header trackHeader = loop::trackHeader(plan.audioLength);
    if (!plan.values) throw RoutineError(plan.valuesFailure);
    return {trackHeader, loop::buildDescription(*plan.values)};
}

// The old loop goes into the backup store, checked there, before anything is written.
LoopWriter::Stop LoopWriter::backUpReplaced() {
    if (!m_replacing) return std::nullopt;
    try {
        m_result.backupFolder = backup::BackupStore(m_files).backUpLoop(*m_replacing);
    } catch (const std::exception&) {
        return refuse(message::kBackupFailed, MessageIcon::Critical, caughtReason());
    }
    return std::nullopt;
}

LoopWriteResult LoopWriter::writeToCard(const LoopFiles& loopFiles) {
    try {
        writeThroughTransaction(loopFiles);
    } catch (const std::exception&) {
        // Nothing on the card changed: the loop it would replace is there as it was, and its backup
        // would only take the room of an older one.
        if (!m_committed && !m_result.backupFolder.empty()) {
            backup::BackupStore(m_files).discard(m_result.backupFolder);
            m_result.backupFolder.clear();
        }
        if (m_readBackFailed)
            return refuse(message::readBackFailed(m_folder), MessageIcon::Critical, caughtReason());
        throw;
    }
    m_result.loopFolder = m_folder;
    return end(Outcome::Written);
}

// The loop is written whole into the card's staging folder, synced (and read back from the card),
// and only then takes its number, the loop it replaces leaving in the same change.
void LoopWriter::writeThroughTransaction(const LoopFiles& loopFiles) {
    const LoopSettings& s = m_request.settings;
    const std::string name = loop::loopFolderName(m_number);
    if (m_replacing && m_replaceFirst) {
        card::CardTransaction makeRoom(m_files, m_card,
                                       "save " + name + ", the loop it replaces leaving first");
        makeRoom.remove(loop::lastFolderName(*m_replacing));
        makeRoom.commit();
        m_committed = true;  // the old loop is gone from the card: its backup is the only copy
    }
    card::CardTransaction change(m_files, m_card, "save " + name);
    const std::string staged = change.stageFolder();
    {
        FileSink left(Files::joinPath(staged, loop::trackFileName(s.left.track)));
        std::optional<FileSink> right;
        if (m_stereo) right.emplace(Files::joinPath(staged, loop::trackFileName(s.right.track)));
        m_total = static_cast<float>(m_data.dataSize / 1000);
        report(0);
        const ProgressStep advance = [this](float step) { report(m_value + step); };
        if (m_stereo)
            splitStereoSourceToTracks(*m_source, m_data, left, *right, advance);
        else
            copyMonoSourceToTrack(*m_source, m_data, left, advance);
        writeTrackStart(left, loopFiles.trackHeader);
        if (right) writeTrackStart(*right, loopFiles.trackHeader);

        FileSink ldf(loop::descriptionPath(staged));
        ldf.writeAt(0, loopFiles.description);
        // "Written" means on the card: the files, the loop folder's names and the loop folder's own
        // name in its parent reach the device before the save reports success.
        left.sync();
        if (right) right->sync();
        ldf.sync();
    }
    if (m_request.readBack) {
        try {
            change.readBackStaged();
        } catch (const std::exception&) {
            m_readBackFailed = true;
            throw;
        }
    }
    if (m_replacing && !m_replaceFirst) change.remove(loop::lastFolderName(*m_replacing));
    change.place(staged, name);
    try {
        change.commit();
    } catch (const std::exception&) {
        m_committed =
            change.committed();  // journaled: the next program to open the card finishes it
        throw;
    }
    m_committed = true;
    if (m_stereo) report(m_total);
}

}  // namespace

LoopWriteResult writeLoop(const LoopWriteRequest& request, Files& files,
                          const OverwritePolicy& mayReplace, const Progress& progress) {
    LoopWriter writer(request, files, mayReplace, progress);
    LoopWriteResult result;
    try {
        result = writer.write();
    } catch (const std::exception&) {
        result = writer.failed();
    }
    // Room is made in the store only once the save has finished, the card no longer held.
    if (!result.backupFolder.empty()) backup::BackupStore(files).prune();
    // The loop is on the card whatever the library does: naming it never fails the save.
    if (result.outcome == Outcome::Written && !request.namedAfter.empty()) {
        try {
            library::CardNames(library::userLibrary(files), request.destination)
                .nameWritten(result.loopFolder, request.namedAfter, request.tempoFound);
        } catch (const std::exception&) {
            // An unnamed loop is still a loop written.
        }
    }
    return result;
}

OverwritePolicy askBeforeReplacingLoop(Interaction& ui) {
    return askBeforeReplacing(
        ui, [](const std::string&) { return message::kLoopExists; }, MessageButtons::YesNoCancel,
        [](const std::string& loopFolder) { return loopFolder; });
}

}  // namespace brenvik
