#pragma once
// Plugs the main window's progress bar and the folder chooser into the window program's
// platform.
namespace brenvik {

class MDIForm1;
class QtPlatform;

void connectPlatform(QtPlatform& platform, MDIForm1& mainWindow);

}  // namespace brenvik
