#pragma once
// The converter windows' open and save dialogs on Qt: the filter text, the default extension and
// the dialogs themselves.
#include <QStringList>
#include <optional>
#include <string>

#include "Interaction.h"

class QWidget;

namespace brenvik {

enum class FileDialogMode { Open, Save };

// The filters in Qt's form, "description (patterns)": {".wav files (*.wav)", {"*.wav"}} gives
// ".wav files (*.wav)", as a description that already ends with its patterns in brackets is kept.
QStringList qtNameFilters(const std::vector<FileFilter>& filters);

// The chosen name with the default extension (".wav" or "wav") added when its file-name part
// has no extension of its own.
std::string withDefaultExtension(const std::string& path, const std::string& defaultExtension);

// Shows the dialog modally: the chosen full path, or nothing when the user cancelled.
std::optional<std::string> runFileDialog(const FileDialogRequest& request, FileDialogMode mode,
                                         QWidget* parent);

}  // namespace brenvik
