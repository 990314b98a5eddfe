// The window's side of the Save: its controls become the writer's request, and the loop number
// the writer normalised goes back into its box.
#include "Wav2Rep.h"

namespace brenvik {

LoopRequest Wav2Rep::loopRequest() const {
    LoopRequest request;
    request.destination = loopName.text;
    request.loopNumberText = loopNumber.text;
    request.sourcePath = LoopFile.text;
    request.waveMode = m_globals.waveMode;
    request.leftTrack = leftTrack();
    request.rightTrack = rightTrack();
    request.leftPan = LeftPan.value;
    request.leftPitch = LeftPitch.value;
    request.rightPan = RightPan.value;
    request.rightPitch = RightPitch.value;
    request.tempoPosition = tempoCntrl.value;
    request.beatsText = Text1[3].text;
    request.divisionText = Text1[4].text;
    request.tempoTable = tempoTable;
    return request;
}

void Wav2Rep::fileSaving() {
    lastSave = writeLoop(loopRequest(), m_platform);
    if (!lastSave.loopNumberText.empty()) loopNumber.text = lastSave.loopNumberText;
}

}  // namespace brenvik
