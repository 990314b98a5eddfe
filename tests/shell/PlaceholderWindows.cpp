#include "PlaceholderWindows.h"

#include "QtFormLook.h"

namespace brenvik {

PlaceholderRep2Wav::PlaceholderRep2Wav(QWidget* parent)
    : ConverterWindow(QStringLiteral("Repeater to .WAV"), twipsSize(11400, 6855),
                      QStringLiteral("&About..."), parent) {
    setObjectName(QStringLiteral("Rep2Wav"));
    paintBackground(this, QColor(0x00, 0x40, 0x40));
}

PlaceholderWav2Rep::PlaceholderWav2Rep(QWidget* parent)
    : ConverterWindow(QStringLiteral(".WAV to Repeater"), twipsSize(11400, 8310),
                      QStringLiteral("&About Brenvik"), parent) {
    setObjectName(QStringLiteral("wav2Rep"));
    paintBackground(this, QColor(128, 0, 0));
}

}  // namespace brenvik
