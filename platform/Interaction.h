#pragma once
// What the program asks of the user and tells them: messages and questions, file dialogs, the
// program's own choosers, the manual, the busy pointer and the progress bar. The window program,
// the command-line tool and the tests each provide their own.
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Channels.h"

namespace brenvik {

inline constexpr const char* kAppTitle = "Brenvik";

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One entry of a file dialog's list of types: its description and the name patterns it shows.
struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
};

// How a file dialog opens. Both converter windows offer wave files only.
struct FileDialogRequest {
    std::string initialFolder;
    std::string fileName;  // the name the dialog shows at first
    std::string defaultExtension = ".wav";
    std::vector<FileFilter> filters{{".wav files (*.wav)", {"*.wav"}}};
    size_t filterIndex = 0;  // the entry selected at first
    std::string title;       // empty: "Open" or "Save As"
};

class Interaction {
public:
    virtual ~Interaction() = default;

    // A message box titled with the application title; `detail`, when there is one, says why
    // below the message. Returns the button chosen (Cancel when a Yes/No/Cancel box is closed any
    // other way).
    virtual MessageAnswer message(const std::string& text,
                                  MessageButtons buttons = MessageButtons::Ok,
                                  MessageIcon icon = MessageIcon::None,
                                  const std::string& detail = {}) = 0;

    // A question whose Yes and No buttons say what each does ("Lower by 1.0 dB", "Keep as it
    // is"), beside Cancel. Where buttons cannot be named, the plain Yes/No/Cancel box.
    virtual MessageAnswer ask(const std::string& text, const std::string& /*yes*/, const std::string& /*no*/) {
        return message(text, MessageButtons::YesNoCancel);
    }

    // A whole number from `lowest` to `highest` asked for in a small dialog that offers `value`:
    // the number given with OK, or nothing on Cancel (and where nobody can be asked).
    virtual std::optional<int> askNumber(const std::string& /*text*/, int /*value*/, int /*lowest*/,
                                         int /*highest*/) {
        return std::nullopt;
    }

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

    // The busy (hourglass) pointer, on or back to the default shape; BusyPointer holds it.
    virtual void setBusy(bool busy) = 0;

    // The main window's progress bar: done out of total (0 done empties it).
    virtual void showProgress(float done, float total) = 0;

    // A failure that ends a command without a message, as that command is meant to end: its cause
    // goes to the program's error output, so that it is not lost.
    virtual void logFailure(const std::string& command, const std::string& reason) = 0;

    // A result's message with its icon and, below it, the reason behind it.
    template <typename Result>
    void tell(const Result& result) {
        message(result.message, MessageButtons::Ok, result.icon, result.reason);
    }
    // The progress bar as a core operation reports it.
    Progress progress() {
        return [this](float done, float total) { showProgress(done, total); };
    }
};

// Shows the busy pointer for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(Interaction& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyPointer() { m_ui.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Interaction& m_ui;
};

// The one way to ask before replacing: the question about the existing path with these buttons,
// and below it the reason line `reason` gives (none when it is empty). Yes replaces, No keeps, and
// Cancel or a box closed otherwise cancels.
using PathText = std::function<std::string(const std::string&)>;
OverwritePolicy askBeforeReplacing(Interaction& ui, PathText question,
                                   MessageButtons buttons = MessageButtons::YesNoCancel, PathText reason = {});

}  // namespace brenvik
