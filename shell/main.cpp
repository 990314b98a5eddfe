// Brenvik, the window program: the main window over the two converter windows.
#include <QApplication>
#include <QScreen>

#include "ConverterWindows.h"
#include "MainWindow.h"
#include "Preferences.h"
#include "QtPlatform.h"
#include "ScreenshotTour.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    brenvik::QtPlatform platform;
    brenvik::Preferences preferences;
    brenvik::MainWindow mainWindow(preferences, platform,
                                   brenvik::converterWindowFactories(preferences, platform));
    brenvik::connectProgram(platform, mainWindow);
    const QString shots = brenvik::ScreenshotTour::directoryArgument(QApplication::arguments());
    // A bare X server has no window manager to maximise the window: fill the screen directly.
    if (!shots.isEmpty()) mainWindow.setGeometry(mainWindow.screen()->availableGeometry());
    mainWindow.startUp();

    if (!shots.isEmpty()) {
        auto* tour = new brenvik::ScreenshotTour(mainWindow, shots);
        tour->addShellShots();
        tour->addConverterShots(QApplication::arguments());
        tour->start();
    }
    return QApplication::exec();
}
