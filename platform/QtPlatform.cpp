#include "QtPlatform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "QtFileDialogs.h"
#include "QtHelpViewer.h"
#include "RoutineError.h"

namespace brenvik {

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
    delete m_helpViewer;
    if (m_busy) QGuiApplication::restoreOverrideCursor();
}

MessageAnswer QtPlatform::message(const std::string& text, MessageButtons buttons,
                                  MessageIcon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromLatin1(kAppTitle));
    box.setText(QString::fromStdString(text));
    box.setIcon(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    // Closing the box any other way than with Yes or No counts as Cancel.
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes)) return MessageAnswer::Yes;
    if (clicked == box.button(QMessageBox::No)) return MessageAnswer::No;
    return MessageAnswer::Cancel;
}

void QtPlatform::showOpenDialog(FileDialog& dialog) {
    runFileDialog(dialog, false, QApplication::activeWindow());
}

void QtPlatform::showSaveDialog(FileDialog& dialog) {
    runFileDialog(dialog, true, QApplication::activeWindow());
}

std::optional<Channel> QtPlatform::chooseChannel() {
    return chooseChannelHook ? chooseChannelHook() : std::nullopt;
}

void QtPlatform::chooseFolder(const std::string& caption, std::string& chosenFolder) {
    if (chooseFolderHook) chooseFolderHook(caption, chosenFolder);
}

void QtPlatform::showFolderChooser() {
    if (showFolderChooserHook) showFolderChooserHook();
}

QtHelpViewer* QtPlatform::helpViewer() const { return m_helpViewer; }

void QtPlatform::showHelp(const std::string& helpFile, int command) {
    if (!m_helpViewer) m_helpViewer = new QtHelpViewer(m_manualSource);
    m_helpViewer->showHelp(QString::fromStdString(helpFile), command);
}

void QtPlatform::setBusy(bool busy) {
    if (busy == m_busy) return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtPlatform::setProgressBar(QProgressBar* bar) {
    m_progressBar = bar;
    if (!bar) return;
    m_progressMin = static_cast<float>(bar->minimum());
    m_progressMax = static_cast<float>(bar->maximum());
    m_progressValue = static_cast<float>(bar->value());
}

void QtPlatform::setProgressMin(float value) {
    m_progressMin = value;
    showProgress();
}

void QtPlatform::setProgressMax(float value) {
    m_progressMax = value;
    showProgress();
}

void QtPlatform::setProgressValue(float value) {
    m_progressValue = value;
    showProgress();
}

void QtPlatform::showProgress() {
    if (!m_progressBar) return;
    const double span = static_cast<double>(m_progressMax) - m_progressMin;
    double fraction = span > 0 ? (static_cast<double>(m_progressValue) - m_progressMin) / span : 0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    m_progressBar->setRange(0, kProgressSteps);
    m_progressBar->setValue(static_cast<int>(std::lround(fraction * kProgressSteps)));
    // The copy runs on this one thread and takes no input meanwhile: paint now, not later.
    m_progressBar->repaint();
}

std::string QtPlatform::readSetting(const std::string& section, const std::string& key,
                                    const std::string& defaultText) {
    QSettings settings(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
    settings.beginGroup(QString::fromStdString(section));
    const QVariant value = settings.value(QString::fromStdString(key));
    return value.isValid() ? value.toString().toStdString() : defaultText;
}

void QtPlatform::writeSetting(const std::string& section, const std::string& key,
                              const std::string& text) {
    QSettings settings(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
    settings.beginGroup(QString::fromStdString(section));
    settings.setValue(QString::fromStdString(key), QString::fromStdString(text));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) throw RoutineError("cannot write setting");
}

}  // namespace brenvik
