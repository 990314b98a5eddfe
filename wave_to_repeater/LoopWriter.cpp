#include "LoopWriter.h"

#include <array>
#include <optional>
#include <span>

#include "AudioCopy.h"
#include "ByteSource.h"
#include "Checked.h"
#include "FreeLoopSearch.h"
#include "ChunkWalk.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "TrackFile.h"

namespace brenvik {

namespace {

constexpr int16_t kLowestLoop = 1;
constexpr int16_t kHighestLoop = 999;
// Room for the headers, the pre-buffers and loopinfo.ldf: a save adds at most d + 49240 bytes.
constexpr int32_t kSpaceMargin = 50000;

void show(Platform& platform, const std::string& text, MessageIcon icon = MessageIcon::None) {
    platform.message(text, MessageButtons::Ok, icon);
}

bool validTrack(int track) { return track >= 1 && track <= 4; }

// Every track file starts with the canonical header and 32 sectors of silence; the Repeater
// plays from the first sector behind them.
void writeTrackStart(FileSink& track, int32_t audioLength) {
    const wave::Header header = loop::trackHeader(audioLength);
    track.writeAt(0, header);
    const std::array<uint8_t, loop::kPreBufferBytes> silence{};
    track.writeAt(wave::kHeaderSize, silence);
}

loop::LoopValues loopValues(const LoopRequest& request, int32_t d, bool stereo) {
    loop::LoopValues values;
    values.trackSectors = loop::trackSectors(d, stereo);
    values.loopSectors = loop::loopSectors(d);
    values.clusters = loop::clusterCount(values.loopSectors);
    values.tracks.at(static_cast<size_t>(request.leftTrack - 1)) = {true, request.leftPan, request.leftPitch};
    if (stereo)
        values.tracks.at(static_cast<size_t>(request.rightTrack - 1)) = {true, request.rightPan, request.rightPitch};
    values.bars = checkedAdd<int16_t>(request.tempoPosition, 1);
    values.beats = textToInt32(request.beatsText);
    values.division = textToInt32(request.divisionText);
    // The tempo comes from the entry at beats per bar times the position, in 16-bit arithmetic;
    // a product outside the table is an error of the save.
    const int16_t index = checkedMul<int16_t>(textToInt16(request.beatsText), request.tempoPosition);
    values.tempoCode = loop::tempoCode(request.tempoTable.at(static_cast<size_t>(index)));
    return values;
}

// Past these limits loopinfo.ldf cannot describe the track: its bitmap room holds 2592
// clusters and its end-sector field 16 bits.
bool tooLong(int32_t d, bool stereo) {
    const int32_t n = loop::trackSectors(d, stereo);
    return loop::clusterCount(loop::loopSectors(d)) > loop::kMaxClusters || n - 1 > loop::kMaxEndSector;
}

void saveLoop(const LoopRequest& request, Platform& platform, LoopWriteResult& result) {
    if (!isNumeric(request.loopNumberText)) {
        show(platform, "Loop Number should be a Number [1-999]", MessageIcon::Critical);
        return;
    }
    const int16_t number = textToInt16(request.loopNumberText);
    if (number > kHighestLoop || number < kLowestLoop) {
        show(platform, "Loop Number is out of Range [1-999]", MessageIcon::Critical);
        return;
    }
    result.loopNumberText = intToText(number);
    const std::string sep = Platform::separator();
    std::string folder = loopFolderPath(request.destination, number);
    if (!platform.folderExists(request.destination)) {
        show(platform, "Folder: " + request.destination + " does not exist or drive not ready",
               MessageIcon::Critical);
        return;
    }
    int64_t existingSize = 0;
    platform.setBusy(true);

    const bool stereo = request.waveMode == "stereo";
    if (!stereo && request.waveMode != "mono") {
        show(platform, "No wave file has been opened");
        return;
    }
    if (!validTrack(request.leftTrack) || (stereo && (!validTrack(request.rightTrack) ||
                                                      request.rightTrack == request.leftTrack)))
        throw RoutineError("no such track");

    FileSource source(request.sourcePath);
    const std::optional<DataChunk> data = scanForData(source);
    if (!data) throw RoutineError("no data chunk");
    const int32_t d = data->dataSize;
    if (tooLong(d, stereo)) {
        show(platform, "Loop is too long for the Repeater (at most 2592 clusters per track)",
               MessageIcon::Critical);
        return;
    }
    // A size field that promises more audio than the file holds would fail halfway through the
    // copy, after an existing loop had been deleted: refuse it while nothing is touched.
    const int64_t copied = static_cast<int64_t>(loop::kSectorBytes) * loop::loopSectors(d);
    if (d < 0 || source.size() < data->dataStart + copied) throw RoutineError("source shorter than its data");

    bool overwrite = false;
    if (platform.folderExists(folder)) {
        const MessageAnswer answer =
            platform.message("Loop already exists. Overwrite?", MessageButtons::YesNoCancel, MessageIcon::None);
        if (answer == MessageAnswer::No) platform.showFolderChooser();
        if (answer != MessageAnswer::Yes) return;
        folder = platform.absolutePath(folder);
        overwrite = true;
        existingSize = platform.folderSize(folder);
    }
    // A loop about to be replaced frees its own space.
    const int64_t freeBytes = platform.freeSpace(platform.absolutePath(folder));
    if (checkedAdd<int32_t>(d, kSpaceMargin) > freeBytes + existingSize) {
        show(platform, "Not enough space available on CFC");
        return;
    }
    if (overwrite) platform.deleteFolder(folder);
    platform.createFolder(folder);

    FileSink left(folder + sep + loop::trackFileName(request.leftTrack));
    std::optional<FileSink> right;
    if (stereo) right.emplace(folder + sep + loop::trackFileName(request.rightTrack));
    const float progressMax = static_cast<float>(d / 1000);
    platform.setProgressMin(0);
    platform.setProgressMax(progressMax);
    if (stereo)
        splitStereoAudio(source, *data, left, *right, platform);
    else
        copyMonoAudio(source, *data, left, platform);
    const int32_t audioLength = loop::audioLength(d, stereo);
    writeTrackStart(left, audioLength);
    if (right) writeTrackStart(*right, audioLength);

    const loop::Description description = loop::buildDescription(loopValues(request, d, stereo));
    FileSink ldf(folder + sep + "loopinfo.ldf");
    ldf.writeAt(0, description);
    ldf.close();
    left.close();
    if (right) right->close();
    if (stereo) platform.setProgressValue(progressMax);
    result.loopFolder = folder;
    show(platform, "File writing successful");
    result.written = true;
    platform.setProgressValue(0);
}

}  // namespace

LoopWriteResult writeLoop(const LoopRequest& request, Platform& platform) {
    LoopWriteResult result;
    try {
        saveLoop(request, platform, result);
    } catch (const std::exception&) {
        platform.message("error in fileSaving()", MessageButtons::Ok, MessageIcon::Critical);
    }
    return result;
}

}  // namespace brenvik
