#pragma once
// The ".WAV to Repeater" window's pictures, drawn in code: the three toolbar images of its image
// list (16 x 15 pixels) and the pictures of the loop-folder and beats buttons.
#include <QIcon>
#include <QSize>

namespace brenvik::wav2repart {

inline constexpr QSize kToolImageSize{16, 15};

QIcon openWaveImage();   // image 1: a wave coming out of an open folder
QIcon saveLoopImage();   // image 2: a card with a loop arrow
QIcon crossFadeImage();  // image 3: two crossing ramps
QIcon loopFolderPicture();   // browseLoop: a small folder
QIcon beatsPicture();        // ScrollBeats: beats grouped in a bar, with a turn arrow

}  // namespace brenvik::wav2repart
