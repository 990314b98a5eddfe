#pragma once
// The window program's two converter windows, and the hooks that connect them to the main
// window and the platform: the channel dialog for the Repeater-to-wave open command, and the
// Preferences OK rewriting the wave-to-Repeater loop number.
#include "MDIForm1.h"

namespace brenvik {

struct AppGlobals;
class Platform;
class QtPlatform;

ConverterFactories converterWindowFactories(AppGlobals& globals, Platform& platform);

// Call after connectPlatform; the hooks find the windows once the start-up has made them.
void connectConverterWindows(QtPlatform& platform, MDIForm1& mainWindow);
// The part that needs no Qt platform: the Preferences OK reaching wav2Rep's loop number.
void connectLoopNumber(MDIForm1& mainWindow);

}  // namespace brenvik
