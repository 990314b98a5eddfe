#include "QtFileDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <filesystem>

namespace brenvik {

namespace {

std::string withoutLeadingDot(std::string extension) {
    if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
    return extension;
}

}  // namespace

QStringList qtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList shown;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns << QString::fromStdString(pattern);
        const QString description = QString::fromStdString(filter.description);
        const QString bracketed =
            QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        shown << (description.endsWith(bracketed) ? description
                                                  : description + QLatin1Char(' ') + bracketed);
    }
    return shown;
}

std::string withDefaultExtension(const std::string& path, const std::string& defaultExtension) {
    const std::string extension = withoutLeadingDot(defaultExtension);
    if (path.empty() || extension.empty()) return path;
    if (std::filesystem::path(path).filename().has_extension()) return path;
    return path + "." + extension;
}

std::optional<std::string> runFileDialog(const FileDialogRequest& request, FileDialogMode mode,
                                         QWidget* parent) {
    const bool save = mode == FileDialogMode::Save;
    QFileDialog box(parent);
    box.setWindowTitle(!request.title.empty() ? QString::fromStdString(request.title)
                       : save                 ? QStringLiteral("Save As")
                                              : QStringLiteral("Open"));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The commands test for existing files themselves and ask their own questions.
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.initialFolder.empty())
        box.setDirectory(QString::fromStdString(request.initialFolder));
    const QStringList filters = qtNameFilters(request.filters);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        box.selectNameFilter(
            filters[request.filterIndex < request.filters.size() ? qsizetype(request.filterIndex)
                                                                 : 0]);
    }
    box.setDefaultSuffix(QString::fromStdString(withoutLeadingDot(request.defaultExtension)));
    // A name kept from the last use opens the dialog on that file, as the common dialog does.
    if (!request.fileName.empty()) box.selectFile(QString::fromStdString(request.fileName));
    const bool accepted = box.exec() == QDialog::Accepted;
    // The caller may go on to a long copy on this thread: the windows below the dialog are
    // repainted first, so no picture of it stays on screen meanwhile.
    box.hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (parent) parent->window()->repaint();
    if (!accepted) return std::nullopt;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return withDefaultExtension(chosen.first().toStdString(), request.defaultExtension);
}

}  // namespace brenvik
