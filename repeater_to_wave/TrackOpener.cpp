// The open command of the Repeater-to-wave window: a track file of a loop folder, measured
// against the loop's description, shown in one channel and checked.
#include <exception>

#include "ByteSource.h"
#include "ChannelFields.h"
#include "Rep2Wav.h"
#include "Rep2WavMessages.h"
#include "TrackPath.h"
#include "TrackSizes.h"

namespace brenvik {

namespace {

// The start and end sectors come from track 1's record whichever track was chosen: the loop
// writer gives all four records the same end sector.
TrackSizes measureTrack(const std::string& trackPath, const std::string& descriptionPath) {
    FileSource track(trackPath);
    FileSource description(descriptionPath);
    return deriveTrackSizes(readTrackInputs(description, track));
}

}  // namespace

void Rep2Wav::Open_Click() {
    try {
        // The file name is kept: a cancelled dialog reopens the previous path.
        Diag1.initialDir = m_globals.initLoopDir;
        Diag1.defaultExt = r2w::kWaveExtension;
        Diag1.filter = r2w::kWaveFilter;
        Diag1.filterIndex = 1;
        m_platform.showOpenDialog(Diag1);
        if (m_globals.repMode == "stereo") chanSelect();
        fileOpening();
        m_platform.setBusy(false);
    } catch (const std::exception&) {
        // Any other failure of the open command ends it without a message; fields written
        // so far stay.
    }
}

void Rep2Wav::fileOpening() {
    const std::string path = Diag1.fileName;
    const r2w::TrackPath where = r2w::splitTrackPath(path);
    if (!m_platform.fileExists(where.descriptionPath)) {
        m_platform.message(r2w::kLdfElsewhere);
        return;
    }
    if (!m_platform.fileExists(path)) {
        m_platform.message(r2w::kTrackMissing, MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    const TrackSizes sizes = measureTrack(path, where.descriptionPath);
    if (m_globals.repChannel == "left")
        r2w::showTrack(left, path, where, sizes);
    else if (m_globals.repChannel == "right")
        r2w::showTrack(right, path, where, sizes);
    if (!Validate()) {
        m_platform.message(r2w::kInvalidTrack);
        clearFields();
    }
}

bool Rep2Wav::Validate() {
    bool acceptable = true;
    for (const ChannelSlot* slot : {&left, &right})
        if (slot->loaded() && !r2w::slotSizesAcceptable(*slot)) acceptable = false;
    return acceptable;
}

void Rep2Wav::clearFields() {
    r2w::emptySlot(left);
    r2w::emptySlot(right);
}

}  // namespace brenvik
