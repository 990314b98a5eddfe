// Brenvik, the window program: the main window over the two converter windows.
#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <signal.h>
#include <cstdio>
#include <cstring>

#include "ConverterWindows.h"
#include "Files.h"
#include "GuardedApplication.h"
#include "MainWindow.h"
#include "Preferences.h"
#include "QtInteraction.h"
#include "QtSettingsStore.h"
#include "ScreenshotTour.h"
#include "WaveToRepeaterWindow.h"

namespace {

// A wave named on the command line (as the desktop entry passes one): the first argument that is
// not an option.
QString waveArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
    return {};
}

}  // namespace

int main(int argc, char* argv[]) {
    // A file-size limit fails the write that passes it, and the save says so, instead of the
    // program ending without a word.
    ::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window exists, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("brenvik %s\n", BRENVIK_VERSION);
        return 0;
    }
    brenvik::GuardedApplication app(argc, argv);
    brenvik::Files files;
    brenvik::QtInteraction ui;
    app.tellFailuresThrough(ui);
    brenvik::QtSettingsStore settings;
    brenvik::Preferences preferences;
    brenvik::MainWindow mainWindow(preferences, ui, settings,
                                   brenvik::converterWindowFactories(preferences, files, ui));
    brenvik::connectProgram(ui, mainWindow);
    const QStringList arguments = QApplication::arguments();
    const QString shots = brenvik::ScreenshotTour::directoryArgument(arguments);
    // A bare X server has no window manager to maximise the window: fill the screen directly.
    if (!shots.isEmpty()) mainWindow.setGeometry(mainWindow.screen()->availableGeometry());
    mainWindow.startUp();

    if (!shots.isEmpty()) {
        auto* tour = new brenvik::ScreenshotTour(mainWindow, shots);
        tour->addShellShots();
        tour->addConverterShots(arguments);
        tour->start();
    } else if (const QString wave = waveArgument(arguments); !wave.isEmpty()) {
        // Opened once the windows are on screen, with the Open command's checks and messages.
        QTimer::singleShot(0, &mainWindow, [&mainWindow, wave] {
            auto* window = qobject_cast<brenvik::WaveToRepeaterWindow*>(mainWindow.waveToRepeaterWindow());
            if (!window) return;
            mainWindow.activateChild(mainWindow.frameOf(window));
            window->openWave(QFileInfo(wave).absoluteFilePath().toStdString());
        });
    }
    return QApplication::exec();
}
