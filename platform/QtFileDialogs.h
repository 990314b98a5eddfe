#pragma once
// The windows' common file dialog (Diag1) on Qt: its filter text, its default extension and the
// open and save dialogs themselves.
#include <QString>
#include <QStringList>

#include "Platform.h"

class QWidget;

namespace brenvik {

// ".wav files (*.wav)|*.wav" (description|patterns, pairs joined by "|", patterns separated by
// ";") in Qt's form: ".wav files (*.wav)". A description that already ends with its patterns in
// brackets is kept as it is.
QStringList qtNameFilters(const std::string& filter);

// The chosen name with the default extension (".wav" or "wav") added when its file-name part
// has no extension of its own.
std::string withDefaultExtension(const std::string& path, const std::string& defaultExt);

// Shows the dialog modally. On a choice fileName becomes the chosen full path; on cancel it
// keeps its text.
void runFileDialog(FileDialog& dialog, bool save, QWidget* parent);

}  // namespace brenvik
