#pragma once
// What the converters and the shell need of the machine they run on, behind one interface:
// messages, file dialogs, the program's small choosers, files and folders, free space, settings,
// the manual, the busy pointer and the progress bar. The window program, the command-line tool and
// the tests each provide their own.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Channels.h"

namespace brenvik {

inline constexpr const char* kAppTitle = "Brenvik";

// How a long copy reports how far it has come: done out of total, in the copy's own units.
using Progress = std::function<void(float done, float total)>;

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// How a file dialog opens. Both converter windows offer wave files only.
struct FileDialogRequest {
    std::string initialFolder;
    std::string fileName;  // the name the dialog shows at first
    std::string defaultExtension = ".wav";
    std::string filter = ".wav files (*.wav)|*.wav";  // description|patterns pairs
    int filterIndex = 1;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A message box titled with the application title. Returns the button chosen (Cancel when a
    // Yes/No/Cancel box is closed any other way).
    virtual MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                                  MessageIcon icon = MessageIcon::None) = 0;

    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) = 0;

    // The channel dialog, shown modally: the channel chosen with OK, or nothing when it was
    // closed any other way.
    virtual std::optional<Channel> chooseChannel() = 0;

    // The folder chooser, shown modally with this caption and starting from `current`: the
    // folder confirmed with OK, or nothing on Cancel.
    virtual std::optional<std::string> chooseFolder(const std::string& caption,
                                                    const std::string& current) = 0;
    // The folder chooser shown without waiting for it and without reading its result.
    virtual void showFolderChooser() = 0;

    // Shows the program's manual.
    virtual void showManual() = 0;

    // The busy (hourglass) pointer, on or back to the default shape.
    virtual void setBusy(bool busy) = 0;

    // The main window's progress bar: done out of total (0 done empties it).
    virtual void showProgress(float done, float total) = 0;

    // Files and folders. Paths are native; these answer for any text (a missing drive or an
    // empty text is simply "no").
    virtual bool fileExists(const std::string& path);
    virtual bool folderExists(const std::string& path);
    // Throws RoutineError when there is no absolute form.
    virtual std::string absolutePath(const std::string& path);
    // Total bytes of the files below the folder. Throws RoutineError when it cannot be read.
    virtual int64_t folderSize(const std::string& path);
    // Free bytes on the volume that holds the path. Throws RoutineError when it cannot be told.
    virtual int64_t freeSpace(const std::string& path);
    virtual void deleteFile(const std::string& path);
    virtual void deleteFolder(const std::string& path);
    virtual void createFolder(const std::string& path);
    // Waits until the folder's list of names is on the device, so that files created, renamed
    // or deleted in it stay so when the card is pulled. Throws RoutineError on failure.
    virtual void syncFolder(const std::string& path);

    // The folder for the user's own data: $XDG_DATA_HOME, or ~/.local/share when that is unset.
    virtual std::string userDataFolder();

    // The per-user settings store, addressed by section and key.
    virtual std::string readSetting(const std::string& section, const std::string& key,
                                    const std::string& defaultText) = 0;
    virtual void writeSetting(const std::string& section, const std::string& key,
                              const std::string& text) = 0;

    // The separator between path parts, and the folder every initial folder starts from.
    static std::string separator();
    static std::string defaultRoot();
};

}  // namespace brenvik
