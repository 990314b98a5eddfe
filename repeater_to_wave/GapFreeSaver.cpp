// The save command of the Repeater-to-wave window: the loaded track or tracks without their
// pre- and post-buffers, as a normal mono or stereo wave.
#include <exception>

#include "ChannelFields.h"
#include "GapFreeWriter.h"
#include "Rep2Wav.h"
#include "Rep2WavMessages.h"

namespace brenvik {

namespace {

// The saver works only from what the opener left in the fields: path, pre and audio counts.
r2w::TrackStretch stretchOf(const ChannelSlot& slot) {
    return r2w::TrackStretch{slot.File.text, r2w::fieldBytes(slot.Pre), r2w::fieldBytes(slot.Audio)};
}

// Makes the window available again however the save ends.
class WindowDisabled {
public:
    explicit WindowDisabled(bool& enabled) : m_enabled(enabled) { m_enabled = false; }
    ~WindowDisabled() { m_enabled = true; }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    bool& m_enabled;
};

}  // namespace

void Rep2Wav::Save_Click() {
    try {
        Diag1.initialDir = m_globals.initWaveDir;
        Diag1.fileName.clear();
        Diag1.defaultExt = r2w::kWaveExtension;
        Diag1.filter = r2w::kWaveFilter;
        Diag1.filterIndex = 1;
        const bool mono = m_globals.repMode == "mono";
        const bool stereo = m_globals.repMode == "stereo";
        if (mono && !left.loaded()) {
            m_platform.message(r2w::kNothingLoaded);
            return;
        }
        if (stereo && !left.loaded()) {
            m_platform.message(r2w::kNoLeftTrack);
            return;
        }
        if (stereo && !right.loaded()) {
            m_platform.message(r2w::kNoRightTrack);
            return;
        }
        // A cancelled dialog leaves the name empty; the writer then fails with its own message.
        m_platform.showSaveDialog(Diag1);
        WindowDisabled disabled(windowEnabled);
        fileSaving();
        m_platform.setBusy(false);
    } catch (const std::exception&) {
        // Any other failure of the save command ends it without a message.
    }
}

void Rep2Wav::fileSaving() {
    try {
        const std::string path = Diag1.fileName;
        if (m_platform.fileExists(path)) {
            switch (m_platform.message(r2w::kOverwriteQuestion, MessageButtons::YesNoCancel)) {
            case MessageAnswer::Yes:
                // Deleted first, so a longer old file leaves no tail behind the new data.
                m_platform.deleteFile(path);
                break;
            case MessageAnswer::No:
                m_platform.showSaveDialog(Diag1);
                fileSaving();
                return;
            default:
                return;
            }
        }
        m_platform.setBusy(true);
        if (m_globals.repMode == "stereo")
            r2w::writeStereoWave(path, stretchOf(left), stretchOf(right), m_platform);
        else
            r2w::writeMonoWave(path, stretchOf(left), m_platform);
        m_platform.setBusy(false);
        m_platform.message(r2w::kWriteSucceeded);
        m_platform.setProgressValue(0);
    } catch (const std::exception&) {
        // What was written stays on disk and the progress bar keeps its value.
        m_platform.setBusy(false);
        m_platform.message(r2w::kSaveFailed, MessageButtons::Ok, MessageIcon::Critical);
    }
}

}  // namespace brenvik
