#include "ConverterWindows.h"

#include "AppGlobals.h"
#include "ChanSelect.h"
#include "QtPlatform.h"
#include "Rep2WavWindow.h"
#include "Wav2RepWindow.h"

namespace brenvik {

ConverterFactories converterWindowFactories(AppGlobals& globals, Platform& platform) {
    return ConverterFactories{
        [&globals, &platform] { return new Wav2RepWindow(globals, platform); },
        [&globals, &platform] { return new Rep2WavWindow(globals, platform); },
    };
}

void connectConverterWindows(QtPlatform& platform, MDIForm1& mainWindow) {
    platform.chooseChannelHook = [&mainWindow] { return runChanSelect(&mainWindow); };
    connectLoopNumber(mainWindow);
}

void connectLoopNumber(MDIForm1& mainWindow) {
    mainWindow.setLoopNumberHook([&mainWindow](const std::string& number) {
        if (auto* wav2Rep = qobject_cast<Wav2RepWindow*>(mainWindow.wav2Rep()))
            wav2Rep->setLoopNumber(number);
    });
}

}  // namespace brenvik
