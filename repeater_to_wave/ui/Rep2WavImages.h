#pragma once
// ImageList1 of the "Repeater to .WAV" toolbar: five 16 x 15 pictures drawn here, so the program
// carries no artwork files.
#include <QPixmap>

namespace brenvik {

// Image 1 open, 2 remove gaps and save, 3 mono, 4 stereo, 5 cross-fade. Any other index gives a
// null pixmap.
QPixmap rep2WavImage(int index);

inline constexpr int kRep2WavImageWidth = 16;
inline constexpr int kRep2WavImageHeight = 15;

}  // namespace brenvik
