#pragma once
// The program's own pictures, drawn in code: the About box picture and the window icon.
#include <QIcon>
#include <QPixmap>

namespace brenvik {

// 186 x 153 pixels: a loop of tape around a waveform.
QPixmap aboutPicture();
QIcon programIcon();

}  // namespace brenvik
