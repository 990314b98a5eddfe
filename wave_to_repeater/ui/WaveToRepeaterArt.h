#pragma once
// The ".WAV to Repeater" window's pictures, drawn in code: its two toolbar images (16 x 15 pixels)
// and the pictures of the loop-folder and beats buttons.
#include <QIcon>
#include <QSize>

namespace brenvik::waveart {

inline constexpr QSize kToolImageSize{16, 15};

QIcon openWaveImage();   // image 1: a wave coming out of an open folder
QIcon saveLoopImage();   // image 2: a card with a loop arrow
QIcon loopFolderPicture();   // the destination button: a small folder
QIcon beatsPicture();        // the bar-length button: beats grouped in a bar, with a turn arrow

}  // namespace brenvik::waveart
