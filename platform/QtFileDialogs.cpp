#include "QtFileDialogs.h"

#include <QFileDialog>
#include <filesystem>

namespace brenvik {

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString bracketed = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.endsWith(bracketed) ? description
                                                    : description + QLatin1Char(' ') + bracketed);
    }
    return filters;
}

std::string withDefaultExtension(const std::string& path, const std::string& defaultExt) {
    std::string extension = defaultExt;
    if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
    if (path.empty() || extension.empty()) return path;
    if (std::filesystem::path(path).filename().has_extension()) return path;
    return path + "." + extension;
}

void runFileDialog(FileDialog& dialog, bool save, QWidget* parent) {
    QFileDialog box(parent);
    box.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The commands test for existing files themselves and ask their own questions.
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!dialog.initialDir.empty()) box.setDirectory(QString::fromStdString(dialog.initialDir));
    const QStringList filters = qtNameFilters(dialog.filter);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        const qsizetype index = dialog.filterIndex >= 1 && dialog.filterIndex <= filters.size()
                                    ? dialog.filterIndex - 1
                                    : 0;
        box.selectNameFilter(filters[index]);
    }
    std::string extension = dialog.defaultExt;
    if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
    box.setDefaultSuffix(QString::fromStdString(extension));
    // A name kept from the last use opens the dialog on that file, as the common dialog does.
    if (!dialog.fileName.empty()) box.selectFile(QString::fromStdString(dialog.fileName));
    if (box.exec() != QDialog::Accepted) return;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty()) return;
    dialog.fileName = withDefaultExtension(chosen.first().toStdString(), dialog.defaultExt);
}

}  // namespace brenvik
