#include "QtInteraction.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "QtFileDialogs.h"

namespace brenvik {
namespace {

// The help viewer: a small free-standing window that shows the program's own manual.
QWidget* makeHelpViewer() {
    auto* viewer = new QWidget(nullptr, Qt::Window);
    viewer->setObjectName(QStringLiteral("helpViewer"));
    viewer->setWindowTitle(QStringLiteral("%1 Help").arg(QLatin1String(kAppTitle)));
    auto* browser = new QTextBrowser(viewer);
    browser->setOpenExternalLinks(true);
    (new QVBoxLayout(viewer))->addWidget(browser);
    viewer->resize(860, 680);  // the guide's widest pictures fit
    // A reader leaves the help as any other viewer window: with Escape.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), viewer);
    close->setContext(Qt::WindowShortcut);
    QObject::connect(close, &QShortcut::activated, viewer, &QWidget::close);
    return viewer;
}

}  // namespace

QtInteraction::QtInteraction() = default;

QtInteraction::~QtInteraction() {
    delete m_helpViewer;
    if (m_busy) QGuiApplication::restoreOverrideCursor();
}

MessageAnswer QtInteraction::message(const std::string& text, MessageButtons buttons,
                                     MessageIcon icon, const std::string& detail) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromLatin1(kAppTitle));
    box.setText(QString::fromStdString(text));
    // The reason stands below the message itself, which keeps its own words.
    if (!detail.empty()) box.setInformativeText(QString::fromStdString(detail));
    box.setIcon(icon == MessageIcon::Critical  ? QMessageBox::Critical
                : icon == MessageIcon::Warning ? QMessageBox::Warning
                                               : QMessageBox::NoIcon);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    const bool withCancel = buttons == MessageButtons::YesNoCancel;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                           (withCancel ? QMessageBox::Cancel : QMessageBox::NoButton));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    box.exec();
    // Closing the box any other way than with Yes or No counts as Cancel.
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes)) return MessageAnswer::Yes;
    if (clicked == box.button(QMessageBox::No) || !withCancel) return MessageAnswer::No;
    return MessageAnswer::Cancel;
}

MessageAnswer QtInteraction::ask(const std::string& text, const std::string& yes, const std::string& no) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromLatin1(kAppTitle));
    box.setText(QString::fromStdString(text));
    QPushButton* yesButton = box.addButton(QString::fromStdString(yes), QMessageBox::YesRole);
    QPushButton* noButton = box.addButton(QString::fromStdString(no), QMessageBox::NoRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yesButton);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == yesButton) return MessageAnswer::Yes;
    return box.clickedButton() == noButton ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::optional<std::string> QtInteraction::chooseFileToOpen(const FileDialogRequest& request) {
    return runFileDialog(request, FileDialogMode::Open, QApplication::activeWindow());
}

std::optional<std::string> QtInteraction::chooseFileToSave(const FileDialogRequest& request) {
    return runFileDialog(request, FileDialogMode::Save, QApplication::activeWindow());
}

std::optional<int> QtInteraction::askNumber(const std::string& text, int value, int lowest, int highest) {
    bool ok = false;
    const int number = QInputDialog::getInt(QApplication::activeWindow(), QString::fromLatin1(kAppTitle),
                                            QString::fromStdString(text), value, lowest, highest, 1, &ok);
    return ok ? std::optional(number) : std::nullopt;
}

std::optional<Channel> QtInteraction::chooseChannel() {
    return chooseChannelHook ? chooseChannelHook() : std::nullopt;
}

std::optional<std::string> QtInteraction::chooseFolder(const std::string& caption,
                                                       const std::string&) {
    return chooseFolderHook ? chooseFolderHook(caption) : std::nullopt;
}

void QtInteraction::showFolderChooser() {
    if (showFolderChooserHook) showFolderChooserHook();
}

// Each time from the manual's start, whatever the user read last.
void QtInteraction::showManual() {
    if (!m_helpViewer) m_helpViewer = makeHelpViewer();
    m_helpViewer->findChild<QTextBrowser*>()->setSource(
        QUrl(QStringLiteral("qrc:/help/manual.html")));
    m_helpViewer->show();
    m_helpViewer->raise();
    m_helpViewer->activateWindow();
}

void QtInteraction::setBusy(bool busy) {
    if (busy == m_busy) return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtInteraction::setProgressBar(QProgressBar* bar) {
    m_progressBar = bar;
}

void QtInteraction::logFailure(const std::string& command, const std::string& reason) {
    qWarning("%s: %s", command.c_str(), reason.c_str());
}

void QtInteraction::showProgress(float done, float total) {
    if (!m_progressBar) return;
    double fraction = total > 0 ? static_cast<double>(done) / total : 0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    m_progressBar->setRange(0, kProgressSteps);
    m_progressBar->setValue(static_cast<int>(std::lround(fraction * kProgressSteps)));
    // The copy runs on this one thread and takes no input meanwhile: paint now, not later.
    m_progressBar->repaint();
}

}  // namespace brenvik
