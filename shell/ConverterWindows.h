#pragma once
// The window program's two converter windows and how they are connected: to the main window
// (the Preferences OK rewrites the wave-to-Repeater loop number) and to the user's side (the
// progress bar, the folder chooser, the channel dialog).
#include "MainWindow.h"

namespace brenvik {

class Files;
class Interaction;
class QtInteraction;
struct Preferences;

ConverterFactories converterWindowFactories(Preferences& preferences, Files& files, Interaction& ui);

// The hooks find the windows once the start-up has made them.
void connectLoopNumber(MainWindow& mainWindow);
// Everything main() connects, the loop number included.
void connectProgram(QtInteraction& ui, MainWindow& mainWindow);

}  // namespace brenvik
