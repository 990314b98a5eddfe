#include "LoopWriting.h"

#include <array>
#include <exception>
#include <filesystem>
#include <optional>

#include "BackupStore.h"
#include "ByteSource.h"
#include "Checked.h"
#include "ChunkWalk.h"
#include "FreeLoopSearch.h"
#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "SourceToTracks.h"
#include "TrackFile.h"

namespace fs = std::filesystem;

namespace brenvik {

namespace {

using Outcome = LoopWriteResult::Outcome;

constexpr int16_t kLowestLoop = 1;
constexpr int16_t kHighestLoop = 999;
// Room for the headers, the pre-buffers and loopinfo.ldf: a save adds at most d + 49240 bytes.
constexpr int32_t kSpaceMargin = 50000;

// Every track file starts with the canonical header and 32 sectors of silence; the Repeater
// plays from the first sector behind them.
void writeTrackStart(FileSink& track, const wave::Header& header) {
    track.writeAt(0, header);
    const std::array<uint8_t, loop::kPreBufferBytes> silence{};
    track.writeAt(wave::kHeaderSize, silence);
}

loop::LoopValues loopValues(const LoopWriteRequest& request, int32_t d, bool stereo) {
    const LoopSettings& s = request.settings;
    loop::LoopValues values;
    values.trackSectors = loop::trackSectors(d, stereo);
    values.loopSectors = loop::loopSectors(d);
    values.clusters = loop::clusterCount(values.loopSectors);
    values.tracks.at(static_cast<size_t>(s.left.track - 1)) = {true, s.left.pan, s.left.pitch};
    if (stereo) values.tracks.at(static_cast<size_t>(s.right.track - 1)) = {true, s.right.pan, s.right.pitch};
    values.bars = checkedAdd<int16_t>(s.tempoPosition, 1);
    values.beats = s.beatsPerBar;
    values.division = s.division;
    // The tempo comes from the entry at beats per bar times the position, in 16-bit arithmetic;
    // a product outside the table is an error of the save.
    const int16_t index = checkedMul<int16_t>(s.beatsPerBar, s.tempoPosition);
    values.tempoCode = loop::tempoCode(request.tempoTable.at(static_cast<size_t>(index)));
    return values;
}

bool validTrack(int track) { return track >= 1 && track <= kTrackCount; }

class LoopWriter {
public:
    LoopWriter(const LoopWriteRequest& request, Platform& platform, const Progress& progress)
        : m_request(request), m_platform(platform), m_progress(progress) {}

    LoopWriteResult write();

    // Whatever failed, the loop number keeps the normal form it was given.
    LoopWriteResult failed() { return end(Outcome::Failed, message::kSaveFailed, MessageIcon::Critical); }

private:
    LoopWriteResult end(Outcome outcome, std::string text = {}, MessageIcon icon = MessageIcon::None) {
        m_result.outcome = outcome;
        m_result.message = std::move(text);
        m_result.icon = icon;
        return m_result;
    }
    LoopWriteResult refuse(std::string text, MessageIcon icon) { return end(Outcome::Refused, std::move(text), icon); }

    void report(float value) {
        m_value = value;
        if (m_progress) m_progress(m_value, m_total);
    }

    const LoopWriteRequest& m_request;
    Platform& m_platform;
    const Progress& m_progress;
    LoopWriteResult m_result;
    float m_total = 0;
    float m_value = 0;
};

LoopWriteResult LoopWriter::write() {
    const LoopWriteRequest& request = m_request;
    if (!isNumeric(request.loopNumberText))
        return refuse(message::kLoopNumberNotNumeric, MessageIcon::Critical);
    const int16_t number = textToInt16(request.loopNumberText);
    if (number > kHighestLoop || number < kLowestLoop)
        return refuse(message::kLoopNumberOutOfRange, MessageIcon::Critical);
    m_result.loopNumber = number;
    std::string folder = loopFolderPath(request.destination, number);
    if (!m_platform.folderExists(request.destination))
        return refuse(message::destinationMissing(request.destination), MessageIcon::Critical);
    int64_t existingSize = 0;
    m_platform.setBusy(true);

    if (!request.mode) return refuse(message::kNoWaveOpened, MessageIcon::None);
    const bool stereo = *request.mode == ChannelMode::Stereo;
    const LoopSettings& s = request.settings;
    if (!validTrack(s.left.track) || (stereo && (!validTrack(s.right.track) || s.right.track == s.left.track)))
        throw RoutineError("no such track");

    FileSource source(request.sourcePath);
    const std::optional<DataChunk> data = scanForData(source);
    if (!data) throw RoutineError("no data chunk");
    const int32_t d = data->dataSize;
    if (loop::exceedsLoop(d, stereo)) return refuse(message::loopTooLong(), MessageIcon::Critical);
    // A size field that promises more audio than the file holds would fail halfway through the
    // copy, after an existing loop had been deleted: refuse it while nothing is touched.
    const int64_t copied = static_cast<int64_t>(loop::kSectorBytes) * loop::loopSectors(d);
    if (d < 0 || source.size() < data->dataStart + copied) throw RoutineError("source shorter than its data");

    bool overwrite = false;
    if (m_platform.folderExists(folder)) {
        const MessageAnswer answer =
            m_platform.message(message::kLoopExists, MessageButtons::YesNoCancel, MessageIcon::None);
        if (answer == MessageAnswer::No) m_platform.showFolderChooser();
        if (answer != MessageAnswer::Yes) return end(Outcome::Cancelled);
        folder = m_platform.absolutePath(folder);
        overwrite = true;
        existingSize = m_platform.folderSize(folder);
    }
    // A loop about to be replaced frees its own space.
    const int64_t freeBytes = m_platform.freeSpace(m_platform.absolutePath(folder));
    if (checkedAdd<int32_t>(d, kSpaceMargin) > freeBytes + existingSize)
        return refuse(message::kNoRoomOnCard, MessageIcon::None);
    // Everything the track headers and loopinfo.ldf hold is worked out while the card is still
    // untouched: a tempo index past the table or an overflow fails the save before an existing
    // loop is deleted or a track is written.
    const int32_t audioLength = loop::audioLength(d, stereo);
    const wave::Header trackHeader = loop::trackHeader(audioLength);
    const loop::Description description = loop::buildDescription(loopValues(request, d, stereo));
    if (overwrite) {
        // The old loop goes into the backup store, checked there, before it is deleted.
        try {
            m_result.backupFolder = backup::BackupStore(m_platform).backUpLoop(folder);
        } catch (const std::exception&) {
            return refuse(message::kBackupFailed, MessageIcon::Critical);
        }
        m_platform.deleteFolder(folder);
    }
    m_platform.createFolder(folder);

    const std::string sep = Platform::separator();
    FileSink left(folder + sep + loop::trackFileName(s.left.track));
    std::optional<FileSink> right;
    if (stereo) right.emplace(folder + sep + loop::trackFileName(s.right.track));
    m_total = static_cast<float>(d / 1000);
    report(0);
    const ProgressStep advance = [this](float step) { report(m_value + step); };
    if (stereo)
        splitStereoSourceToTracks(source, *data, left, *right, advance);
    else
        copyMonoSourceToTrack(source, *data, left, advance);
    writeTrackStart(left, trackHeader);
    if (right) writeTrackStart(*right, trackHeader);

    FileSink ldf(folder + sep + loop::kDescriptionFileName);
    ldf.writeAt(0, description);
    // "Written" means on the card: the files, the loop folder's names and the loop folder's own
    // name in its parent reach the device before the save reports success.
    left.sync();
    if (right) right->sync();
    ldf.sync();
    ldf.close();
    left.close();
    if (right) right->close();
    m_platform.syncFolder(folder);
    m_platform.syncFolder(fs::path(folder).parent_path().string());
    if (stereo) report(m_total);
    m_result.loopFolder = folder;
    return end(Outcome::Written);
}

}  // namespace

LoopWriteResult writeLoop(const LoopWriteRequest& request, Platform& platform, const Progress& progress) {
    LoopWriter writer(request, platform, progress);
    try {
        return writer.write();
    } catch (const std::exception&) {
        return writer.failed();
    }
}

}  // namespace brenvik
