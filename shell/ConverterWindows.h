#pragma once
// The window program's two converter windows and how they are connected: to the main window
// (the Preferences OK rewrites the wave-to-Repeater loop number) and to the platform (the
// progress bar, the folder chooser, the channel dialog).
#include "MainWindow.h"

namespace brenvik {

class Platform;
class QtPlatform;
struct Preferences;

ConverterFactories converterWindowFactories(Preferences& preferences, Platform& platform);

// The hooks find the windows once the start-up has made them.
void connectLoopNumber(MainWindow& mainWindow);
// Everything main() connects, the loop number included.
void connectProgram(QtPlatform& platform, MainWindow& mainWindow);

}  // namespace brenvik
