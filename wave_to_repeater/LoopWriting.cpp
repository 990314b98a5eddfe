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
    void writeThroughTransaction(const std::string& card, const std::optional<std::string>& replacing,
                                 const DataChunk& data, FileSource& source, const wave::Header& trackHeader,
                                 const loop::Description& description);

    LoopWriteResult m_result;
    bool m_committed = false;
    bool m_readBackFailed = false;
    bool m_replaceFirst = false;  // no room for the new loop beside the one it replaces
    float m_total = 0;
    float m_value = 0;
};

LoopWriteResult LoopWriter::write() {
    const LoopWriteRequest& request = m_request;
    if (!isNumeric(request.loopNumberText))
        return refuse(message::kLoopNumberNotNumeric, MessageIcon::Critical);
    const int16_t number = textToInt16(request.loopNumberText);
    if (!loop::isLoopNumber(number))
        return refuse(message::kLoopNumberOutOfRange, MessageIcon::Critical);
    m_result.loopNumber = number;
    std::string folder = loopFolderPath(request.destination, number);
    if (!m_files.folderExists(request.destination))
        return refuse(message::destinationMissing(request.destination), MessageIcon::Critical);
    int64_t existingSize = 0;

    if (!request.mode) return refuse(message::kNoWaveOpened, MessageIcon::None);
    const bool stereo = *request.mode == ChannelMode::Stereo;
    const LoopSettings& s = request.settings;
    for (const int track : {s.left.track, stereo ? s.right.track : 1})
        if (!validTrack(track))
            throw RoutineError("there is no track " + intToText(track) + ", only 1 to 4");
    if (stereo && s.right.track == s.left.track)
        throw RoutineError("the left and the right channel cannot share track " +
                           intToText(s.left.track));

    FileSource source(request.sourcePath);
    const std::optional<DataChunk> data = scanForData(source);
    if (!data) throw RoutineError(request.sourcePath + " has no data chunk before its end");
    const int32_t d = data->dataSize;
    LoopPlan& plan = m_result.plan.emplace(
        planLoop(*request.mode, d, s, request.tempoTable, request.tempoAsShown, request.voice));
    if (plan.tooLong) return refuse(message::loopTooLong(), MessageIcon::Critical, *plan.tooLong);
    // A size field that promises more audio than the file holds would fail halfway through the
    // copy, after an existing loop had been deleted: refuse it while nothing is touched.
    const int64_t copied = static_cast<int64_t>(loop::kSectorBytes) * loop::loopSectors(d);
    if (d < 0)
        throw RoutineError(request.sourcePath + ": the data size " + intToText(d) + " is negative");
    if (source.size() < data->dataStart + copied)
        throw RoutineError(request.sourcePath + " ends before its data: the data chunk promises " +
                           intToText(d) + " bytes, the file holds " +
                           intToText(source.size() - data->dataStart));

    // One writer per card: from here to the end of the save no other save, restore, export or
    // backup changes the destination, and a change an earlier program left half-done is finished
    // or taken back first.
    const std::optional<FolderLock> lock =
        FolderLock::take(request.destination, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
    if (!lock) return refuse(message::cardBusy(request.destination), MessageIcon::Critical);
    const std::string card = m_files.absolutePath(request.destination);
    const card::Recovery recovery = card::recoverCard(m_files, card);
    if (recovery.failed()) return refuse(recovery.line, MessageIcon::Critical, recovery.reason);
    m_result.recovered = recovery.line;

    // The card may name the loop folder in another case (loop7): it is the one replaced. A number
    // held by two folders whose names differ only in case is refused: the Repeater finds only one.
    std::optional<std::string> replacing = card::loopFolderHolding(m_files, request.destination, number);
    if (replacing && m_files.folderExists(*replacing)) {
        switch (m_mayReplace(*replacing)) {
            case ReplaceChoice::Replace:
                break;
            case ReplaceChoice::Keep:
                return end(Outcome::Kept);
            case ReplaceChoice::Cancel:
                return end(Outcome::Cancelled);
        }
        folder = m_files.absolutePath(folder);
        replacing = m_files.absolutePath(*replacing);
        existingSize = m_files.folderSize(*replacing);
    } else {
        replacing.reset();
    }
    const bool overwrite = replacing.has_value();
    // A loop about to be replaced frees its own space. Every file takes whole blocks of the card
    // (a FAT cluster), and the folder one more: what fits by bytes may still not fit on the card,
    // and that is found out before anything is deleted. The new loop is written whole beside the
    // one it replaces, which goes only then; where the card has no room for both, the old loop (in
    // the backup store by then) leaves first.
    const int64_t freeBytes = m_files.freeSpace(m_files.absolutePath(folder));
    const int64_t block = m_files.blockSize(folder);
    card::RoomNeeded room;
    for (int track = 0; track < (stereo ? 2 : 1); ++track)
        card::addFile(room, int64_t{loop::kTrackAudioOffset} + loop::audioLength(d, stereo), block);
    card::addFile(room, loop::kDescriptionSize, block);
    card::addFolder(room, block);
    room.bytes = checkedAdd<int32_t>(d, loop::kSpaceMargin);
    if (overwrite) {
        room.bytesFreed = existingSize;
        room.blocksFreed = card::folderRoom(m_files, *replacing, block);
    }
    if (const std::optional<std::string> lack = card::lackOfRoom(room, freeBytes, block))
        return refuse(message::kNoRoomOnCard, MessageIcon::None, *lack);
    m_replaceFirst = room.blocks > freeBytes;
    // The musician hears of a tempo or beat count other than the one shown before it is written;
    // the tempo shown may also make a tempo index past the table writable.
    if (request.askTempo && plan.differsFromShown()) {
        switch (request.askTempo(plan, loop::loopFolderName(number))) {
            case TempoChoice::AsShown:
                plan = planLoop(*request.mode, d, s, request.tempoTable, true, request.voice);
                break;
            case TempoChoice::AsItStands:
                break;
            case TempoChoice::Cancel:
                return end(Outcome::Cancelled);
        }
    }
    // Everything the track headers and loopinfo.ldf hold is worked out while the card is still
    // untouched: a tempo index past the table or an overflow fails the save before an existing
    // loop is deleted or a track is written.
    const wave::Header trackHeader = loop::trackHeader(plan.audioLength);
    if (!plan.values) throw RoutineError(plan.valuesFailure);
    const loop::Description description = loop::buildDescription(*plan.values);
    if (request.dryRun) {
        m_result.loopFolder = folder;
        return end(Outcome::Planned);
    }
    // The old loop goes into the backup store, checked there, before anything is written.
    if (replacing) {
        try {
            m_result.backupFolder = backup::BackupStore(m_files).backUpLoop(*replacing);
        } catch (const std::exception&) {
            return refuse(message::kBackupFailed, MessageIcon::Critical, caughtReason());
        }
    }
    try {
        writeThroughTransaction(card, replacing, *data, source, trackHeader, description);
    } catch (const std::exception&) {
        // Nothing on the card changed: the loop it would replace is there as it was, and its backup
        // would only take the room of an older one.
        if (!m_committed && !m_result.backupFolder.empty()) {
            backup::BackupStore(m_files).discard(m_result.backupFolder);
            m_result.backupFolder.clear();
        }
        if (m_readBackFailed) return refuse(message::readBackFailed(folder), MessageIcon::Critical, caughtReason());
        throw;
    }
    m_result.loopFolder = folder;
    return end(Outcome::Written);
}

// The loop is written whole into the card's staging folder, synced (and read back from the card),
// and only then takes its number, the loop it replaces leaving in the same change.
void LoopWriter::writeThroughTransaction(const std::string& card, const std::optional<std::string>& replacing,
                                         const DataChunk& data, FileSource& source, const wave::Header& trackHeader,
                                         const loop::Description& description) {
    const LoopSettings& s = m_request.settings;
    const bool stereo = *m_request.mode == ChannelMode::Stereo;
    const std::string name = loop::loopFolderName(*m_result.loopNumber);
    if (replacing && m_replaceFirst) {
        card::CardTransaction makeRoom(m_files, card, "save " + name + ", the loop it replaces leaving first");
        makeRoom.remove(loop::lastFolderName(*replacing));
        makeRoom.commit();
        m_committed = true;  // the old loop is gone from the card: its backup is the only copy
    }
    card::CardTransaction change(m_files, card, "save " + name);
    const std::string staged = change.stageFolder();
    {
        FileSink left(Files::joinPath(staged, loop::trackFileName(s.left.track)));
        std::optional<FileSink> right;
        if (stereo) right.emplace(Files::joinPath(staged, loop::trackFileName(s.right.track)));
        m_total = static_cast<float>(data.dataSize / 1000);
        report(0);
        const ProgressStep advance = [this](float step) { report(m_value + step); };
        if (stereo)
            splitStereoSourceToTracks(source, data, left, *right, advance);
        else
            copyMonoSourceToTrack(source, data, left, advance);
        writeTrackStart(left, trackHeader);
        if (right) writeTrackStart(*right, trackHeader);

        FileSink ldf(loop::descriptionPath(staged));
        ldf.writeAt(0, description);
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
    if (replacing && !m_replaceFirst) change.remove(loop::lastFolderName(*replacing));
    change.place(staged, name);
    try {
        change.commit();
    } catch (const std::exception&) {
        m_committed = change.committed();  // journaled: the next program to open the card finishes it
        throw;
    }
    m_committed = true;
    if (stereo) report(m_total);
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
