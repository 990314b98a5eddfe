#include "PlatformWiring.h"

#include "MDIForm1.h"
#include "QtPlatform.h"

namespace brenvik {

void connectPlatform(QtPlatform& platform, MDIForm1& mainWindow) {
    platform.setProgressBar(mainWindow.ProgressBar1());
    platform.chooseFolderHook = [&mainWindow](const std::string& caption, std::string& chosenFolder) {
        mainWindow.chooseFolder(caption, chosenFolder);
    };
    platform.showFolderChooserHook = [&mainWindow] { mainWindow.showFolderChooser(); };
}

}  // namespace brenvik
