#include "ConverterWindows.h"

#include "CardWindow.h"
#include "ChannelDialog.h"
#include "QtPlatform.h"
#include "RepeaterToWaveWindow.h"
#include "WaveToRepeaterWindow.h"

namespace brenvik {

ConverterFactories converterWindowFactories(Preferences& preferences, Platform& platform) {
    return ConverterFactories{
        [&preferences, &platform] { return new WaveToRepeaterWindow(preferences, platform); },
        [&preferences, &platform] { return new RepeaterToWaveWindow(preferences, platform); },
        [&preferences, &platform](MainWindow& mainWindow) -> QWidget* {
            auto* card = new CardWindow(preferences, platform);
            // A double-clicked loop opens in the Repeater-to-wave window, which comes forward.
            card->openLoopHook = [&mainWindow](const std::string& folder) {
                auto* window = qobject_cast<RepeaterToWaveWindow*>(mainWindow.repeaterToWaveWindow());
                if (!window) return;
                mainWindow.activateChild(mainWindow.frameOf(window));
                window->openLoop(folder);
            };
            card->chooseFolderHook = [&mainWindow](const std::string& caption, const std::string& startFolder) {
                return mainWindow.chooseFolderFrom(caption, startFolder);
            };
            // What a converter saves may be on the card.
            for (ConverterWindow* converter : {mainWindow.waveToRepeaterWindow(), mainWindow.repeaterToWaveWindow()})
                if (converter) QObject::connect(converter, &ConverterWindow::filesWritten, card, &CardWindow::refresh);
            return card;
        },
    };
}

void connectLoopNumber(MainWindow& mainWindow) {
    mainWindow.setLoopNumberHook([&mainWindow](const std::string& number) {
        if (auto* window = qobject_cast<WaveToRepeaterWindow*>(mainWindow.waveToRepeaterWindow()))
            window->setLoopNumber(number);
    });
}

void connectProgram(QtPlatform& platform, MainWindow& mainWindow) {
    platform.setProgressBar(mainWindow.progressBar());
    platform.chooseFolderHook = [&mainWindow](const std::string& caption) {
        return mainWindow.chooseFolder(caption);
    };
    platform.showFolderChooserHook = [&mainWindow] { mainWindow.showFolderChooser(); };
    platform.chooseChannelHook = [&mainWindow] { return runChannelDialog(&mainWindow); };
    connectLoopNumber(mainWindow);
}

}  // namespace brenvik
