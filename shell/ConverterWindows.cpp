#include "ConverterWindows.h"

#include "CardWindow.h"
#include "ChannelDialog.h"
#include "QtInteraction.h"
#include "RepeaterToWaveWindow.h"
#include "WaveTempo.h"
#include "WaveToRepeaterWindow.h"

namespace brenvik {

ConverterFactories converterWindowFactories(Preferences& preferences, Files& files, Interaction& ui) {
    return ConverterFactories{
        [&preferences, &files, &ui] {
            auto* window = new WaveToRepeaterWindow(preferences, files, ui);
            window->model().findTempo = tempo::estimateWaveTempo;
            return window;
        },
        [&preferences, &files, &ui] { return new RepeaterToWaveWindow(preferences, files, ui); },
        [&preferences, &files, &ui](MainWindow& mainWindow) -> QWidget* {
            auto* card = new CardWindow(preferences, files, ui);
            card->setTempoFinder(tempo::estimateWaveTempo);
            card->rememberSizeIn(mainWindow.settingsStore());
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
            QObject::connect(card, &CardWindow::statusMessage, &mainWindow, &MainWindow::showStatus);
            // What a converter saves may be on the card.
            for (ConverterWindow* converter : {mainWindow.waveToRepeaterWindow(), mainWindow.repeaterToWaveWindow()})
                if (converter) QObject::connect(converter, &ConverterWindow::filesWritten, card, &CardWindow::refresh);
            return card;
        },
    };
}

void connectProgram(QtInteraction& ui, MainWindow& mainWindow) {
    ui.setProgressBar(mainWindow.progressBar());
    ui.chooseFolderHook = [&mainWindow](const std::string& caption) { return mainWindow.chooseFolder(caption); };
    ui.showFolderChooserHook = [&mainWindow] { mainWindow.showFolderChooser(); };
    ui.chooseChannelHook = [&mainWindow] { return runChannelDialog(&mainWindow); };
}

}  // namespace brenvik
