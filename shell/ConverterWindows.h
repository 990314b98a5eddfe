#pragma once
// The window program's two converter windows and how they are connected to the user's side (the
// progress bar, the folder chooser, the channel dialog).
#include "MainWindow.h"

namespace brenvik {

class Files;
class Interaction;
class QtInteraction;
struct Preferences;

ConverterFactories converterWindowFactories(Preferences& preferences, Files& files, Interaction& ui);

// Everything main() connects.
void connectProgram(QtInteraction& ui, MainWindow& mainWindow);

}  // namespace brenvik
