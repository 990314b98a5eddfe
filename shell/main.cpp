// Brenvik, the window program: the main window over the two converter windows.
#include <QApplication>
#include <QScreen>

#include "AppGlobals.h"
#include "MDIForm1.h"
#include "ConverterWindows.h"
#include "PlatformWiring.h"
#include "QtPlatform.h"
#include "ScreenshotTour.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    brenvik::QtPlatform platform;
    brenvik::AppGlobals globals;
    brenvik::MDIForm1 mainWindow(globals, platform, brenvik::converterWindowFactories(globals, platform));
    brenvik::connectPlatform(platform, mainWindow);
    brenvik::connectConverterWindows(platform, mainWindow);
    const QString shots = brenvik::ScreenshotTour::directoryArgument(QApplication::arguments());
    // A bare X server has no window manager to maximise the window: fill the screen directly.
    if (!shots.isEmpty()) mainWindow.setGeometry(mainWindow.screen()->availableGeometry());
    mainWindow.MDIForm_Load();

    if (!shots.isEmpty()) {
        auto* tour = new brenvik::ScreenshotTour(mainWindow, shots);
        tour->addShellShots();
        tour->addConverterShots(QApplication::arguments());
        tour->start();
    }
    return QApplication::exec();
}
