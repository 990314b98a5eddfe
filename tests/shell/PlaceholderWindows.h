#pragma once
// Plain converter windows for the main window's own tests: the captions, design sizes,
// backgrounds and the shared menus, without any converter controls.
#include "ConverterWindow.h"

namespace brenvik {

class PlaceholderRep2Wav : public ConverterWindow {
    Q_OBJECT
public:
    explicit PlaceholderRep2Wav(QWidget* parent = nullptr);
};

class PlaceholderWav2Rep : public ConverterWindow {
    Q_OBJECT
public:
    explicit PlaceholderWav2Rep(QWidget* parent = nullptr);
};

}  // namespace brenvik
