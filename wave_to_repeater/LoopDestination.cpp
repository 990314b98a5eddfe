// Where the loop goes: the destination folder, the next free loop number and the Save command.
#include "FreeLoopSearch.h"
#include "Numbers.h"
#include "Wav2Rep.h"

namespace brenvik {

// The search always runs in the initial loop folder, whatever was browsed to, and takes the
// lowest free number so that a deleted loop's gap is filled first.
void Wav2Rep::findFreeLoop() {
    loopName.text = m_globals.initLoopDir;
    if (m_globals.autoIncrement == 0) return;
    if (const auto free = firstFreeLoop(m_platform, m_globals.initLoopDir)) loopNumber.text = intToText(*free);
}

// A cancelled chooser hands back the preset value, so the destination stays as it was.
void Wav2Rep::browseLoop_Click() {
    m_globals.chosenFolder = loopName.text;
    m_platform.chooseFolder("Choose a Loop Folder", m_globals.chosenFolder);
    loopName.text = m_globals.chosenFolder;
}

// A browsed destination lasts for one Save: afterwards the finder resets it, also when the
// writer refused or the user cancelled.
void Wav2Rep::saveLoop_Click() {
    windowEnabled = false;
    try {
        fileSaving();
        m_platform.setProgressValue(0);
        m_platform.setBusy(false);
        findFreeLoop();
    } catch (const std::exception&) {
        // The command ends without a message; the window must not stay disabled.
    }
    windowEnabled = true;
}

}  // namespace brenvik
