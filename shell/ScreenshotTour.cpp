#include "ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "AppGlobals.h"
#include "DirSelect.h"
#include "MDIForm1.h"
#include "Pref.h"
#include "Rep2WavWindow.h"
#include "Wav2RepWindow.h"
#include "frmAbout.h"

namespace brenvik {
namespace {

// Long enough for the window system to map and paint a window.
constexpr int kSettleMs = 700;

QString argumentAfter(const QStringList& arguments, const QString& option, int index = 1) {
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + index < arguments.size() ? arguments[at + index] : QString();
}

}  // namespace

ScreenshotTour::ScreenshotTour(MDIForm1& mainWindow, const QString& directory)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_directory(directory) {}

QString ScreenshotTour::directoryArgument(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

void ScreenshotTour::addShot(const QString& name, std::function<QWidget*()> prepare) {
    m_shots.push_back({name, std::move(prepare)});
}

void ScreenshotTour::addShellShots() {
    addShot(QStringLiteral("startup"), [this] { return &m_mainWindow; });
    addShot(QStringLiteral("preferences"), [this] {
        m_mainWindow.Preferences_Click();
        return static_cast<QWidget*>(m_mainWindow.preferencesDialog());
    });
    addShot(QStringLiteral("folder-chooser"), [this] {
        if (Pref* pref = m_mainWindow.preferencesDialog()) pref->hide();
        DirSelect* chooser = m_mainWindow.folderChooser();
        chooser->setWindowTitle(QStringLiteral("Initial loop file directory"));
        m_mainWindow.showFolderChooser();
        return static_cast<QWidget*>(chooser);
    });
    addShot(QStringLiteral("about"), [this] {
        if (DirSelect* chooser = m_mainWindow.loadedFolderChooser()) chooser->hide();
        m_mainWindow.About_Click();
        return static_cast<QWidget*>(m_mainWindow.aboutBox());
    });
    addShot(QStringLiteral("help"), [this] {
        if (frmAbout* about = m_mainWindow.aboutBox()) about->close();
        m_mainWindow.Contents_Click();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("helpViewer")) return widget;
        return static_cast<QWidget*>(nullptr);
    });
}

void ScreenshotTour::addConverterShots(const QStringList& arguments) {
    const QString wave = argumentAfter(arguments, QStringLiteral("--open-wave"));
    const QString leftTrack = argumentAfter(arguments, QStringLiteral("--open-tracks"));
    const QString rightTrack = argumentAfter(arguments, QStringLiteral("--open-tracks"), 2);
    auto* wav2Rep = qobject_cast<Wav2RepWindow*>(m_mainWindow.wav2Rep());
    auto* rep2Wav = qobject_cast<Rep2WavWindow*>(m_mainWindow.Rep2Wav());
    if (!wave.isEmpty() && wav2Rep) {
        addShot(QStringLiteral("wave-to-repeater-stereo"), [this, wave, wav2Rep] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == QLatin1String("helpViewer")) widget->close();
            // As the Open command does once the dialog returned the file.
            wav2Rep->model().Diag1.fileName = wave.toStdString();
            wav2Rep->model().fileOpeing();
            wav2Rep->refresh();
            m_mainWindow.activateChild(m_mainWindow.frameOf(wav2Rep));
            return static_cast<QWidget*>(wav2Rep);
        });
    }
    if (!leftTrack.isEmpty() && !rightTrack.isEmpty() && rep2Wav) {
        addShot(QStringLiteral("repeater-to-wave-stereo"), [this, leftTrack, rightTrack, rep2Wav] {
            Rep2Wav& model = rep2Wav->model();
            model.Toolbar1_ButtonClick(5);  // stereo mode
            // As the Open command does once the dialog and the channel dialog returned.
            for (const auto& [channel, path] : {std::pair{"left", leftTrack}, std::pair{"right", rightTrack}}) {
                model.globals().repChannel = channel;
                model.Diag1.fileName = path.toStdString();
                model.fileOpening();
            }
            rep2Wav->refresh();
            m_mainWindow.activateChild(m_mainWindow.frameOf(rep2Wav));
            return static_cast<QWidget*>(rep2Wav);
        });
    }
    if (!wave.isEmpty() || !leftTrack.isEmpty())
        addShot(QStringLiteral("main-window-with-files"), [this] { return &m_mainWindow; });
}

void ScreenshotTour::start() {
    QDir().mkpath(m_directory);
    QTimer::singleShot(kSettleMs, this, [this] { next(); });
}

// Each shot is prepared, then taken once the window has had time to appear.
void ScreenshotTour::next() {
    if (m_next >= m_shots.size()) {
        m_mainWindow.close();
        return;
    }
    Shot& shot = m_shots[m_next++];
    QWidget* window = shot.prepare();
    QTimer::singleShot(kSettleMs, this, [this, name = shot.name, window = QPointer<QWidget>(window)] {
        if (window) window->grab().save(QDir(m_directory).filePath(name + QStringLiteral(".png")));
        next();
    });
}

}  // namespace brenvik
