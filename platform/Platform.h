#pragma once
// What the converters and the shell need of the machine they run on, behind one interface:
// messages, file dialogs, files and folders, free space, settings, help, the busy pointer, the
// progress bar and the program's small choosers. The window program, the command-line tool and
// the tests each provide their own.
#include <cstdint>
#include <optional>
#include <string>

namespace brenvik {

inline constexpr const char* kAppTitle = "Brenvik";

enum class MessageButtons { Ok, YesNoCancel };
enum class MessageIcon { None, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// A window's common file dialog (Diag1). It keeps its file name between uses: a cancelled
// dialog leaves the name as it was.
struct FileDialog {
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
    std::string filter;  // ".wav files (*.wav)|*.wav"
    int filterIndex = 1;
};

enum class Channel { Left, Right };

class Platform {
public:
    virtual ~Platform() = default;

    // A message box; the title is always the application title. Returns the button chosen
    // (Cancel when a Yes/No/Cancel box is closed any other way).
    virtual MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                                  MessageIcon icon = MessageIcon::None) = 0;

    // Shows the dialog; on a choice fileName becomes the chosen full path, on cancel it stays.
    virtual void showOpenDialog(FileDialog& dialog) = 0;
    virtual void showSaveDialog(FileDialog& dialog) = 0;

    // The channel dialog of the Repeater-to-wave window, shown modally: the channel chosen
    // with OK, or nothing when it was closed any other way.
    virtual std::optional<Channel> chooseChannel() = 0;

    // The folder chooser shown modally with this caption: chosenFolder holds the value to keep
    // on Cancel and receives the chosen folder on OK.
    virtual void chooseFolder(const std::string& caption, std::string& chosenFolder) = 0;
    // The folder chooser shown without waiting for it and without reading its result.
    virtual void showFolderChooser() = 0;

    // The help viewer for a help file and help command.
    virtual void showHelp(const std::string& helpFile, int command) = 0;

    // The busy (hourglass) pointer, on or back to the default shape.
    virtual void setBusy(bool busy) = 0;

    // The main window's progress bar: minimum, maximum and value.
    virtual void setProgressMin(float value) = 0;
    virtual void setProgressMax(float value) = 0;
    virtual void setProgressValue(float value) = 0;
    virtual float progressValue() const = 0;

    // Files and folders. Paths are native; these answer for any text (a missing drive or an
    // empty text is simply "no").
    virtual bool fileExists(const std::string& path);
    virtual bool folderExists(const std::string& path);
    virtual std::string absolutePath(const std::string& path);
    // Throws RoutineError when the folder cannot be read.
    virtual int64_t folderSize(const std::string& path);
    // Free bytes on the volume that holds the path. Throws RoutineError when it cannot be told.
    virtual int64_t freeSpace(const std::string& path);
    virtual void deleteFile(const std::string& path);
    virtual void deleteFolder(const std::string& path);
    virtual void createFolder(const std::string& path);

    // The per-user settings store, addressed by section and key.
    virtual std::string readSetting(const std::string& section, const std::string& key,
                                    const std::string& defaultText) = 0;
    virtual void writeSetting(const std::string& section, const std::string& key,
                              const std::string& text) = 0;

    // The separator between path parts, and the root of the system drive.
    static std::string separator();
    static std::string defaultRoot();
    // "C:\My Documents\Brenvik.hlp" of the text: the user's Documents folder + Brenvik.hlp.
    virtual std::string helpFilePath();
};

}  // namespace brenvik
