#include "ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

#include "AboutDialog.h"
#include "ChannelDialog.h"
#include "CardWindow.h"
#include "FolderChooser.h"
#include "MainWindow.h"
#include "PreferencesDialog.h"
#include "RepeaterToWaveWindow.h"
#include "WaveToRepeaterWindow.h"

namespace brenvik {
namespace {

// Long enough for the window system to map and paint a window.
constexpr int kSettleMs = 700;

QString argumentAfter(const QStringList& arguments, const QString& option, int index = 1) {
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + index < arguments.size() ? arguments[at + index] : QString();
}

QWidget* helpViewer() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("helpViewer")) return widget;
    return nullptr;
}

}  // namespace

ScreenshotTour::ScreenshotTour(MainWindow& mainWindow, const QString& directory)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_directory(directory) {}

QString ScreenshotTour::directoryArgument(const QStringList& arguments) {
    return argumentAfter(arguments, QStringLiteral("--screenshot"));
}

void ScreenshotTour::addShot(const QString& name, std::function<QWidget*()> prepare) {
    m_shots.push_back({name, std::move(prepare)});
}

void ScreenshotTour::addShellShots() {
    addShot(QStringLiteral("startup"), [this] { return &m_mainWindow; });
    addShot(QStringLiteral("preferences"), [this] {
        m_mainWindow.onPreferencesRequested();
        return static_cast<QWidget*>(m_mainWindow.preferencesDialog());
    });
    addShot(QStringLiteral("folder-chooser"), [this] {
        if (PreferencesDialog* preferences = m_mainWindow.preferencesDialog()) preferences->hide();
        m_mainWindow.folderChooser()->setWindowTitle(QStringLiteral("Initial loop file directory"));
        m_mainWindow.showFolderChooser();
        return static_cast<QWidget*>(m_mainWindow.folderChooser());
    });
    addShot(QStringLiteral("about"), [this] {
        m_mainWindow.folderChooser()->hide();
        m_mainWindow.onAboutRequested();
        return static_cast<QWidget*>(m_mainWindow.aboutDialog());
    });
    addShot(QStringLiteral("help"), [this] {
        if (AboutDialog* about = m_mainWindow.aboutDialog()) about->close();
        m_mainWindow.onContentsRequested();
        return helpViewer();
    });
}

void ScreenshotTour::addConverterShots(const QStringList& arguments) {
    const QString wave = argumentAfter(arguments, QStringLiteral("--open-wave"));
    const QString leftTrack = argumentAfter(arguments, QStringLiteral("--open-tracks"));
    const QString rightTrack = argumentAfter(arguments, QStringLiteral("--open-tracks"), 2);
    auto* waveToRepeater = qobject_cast<WaveToRepeaterWindow*>(m_mainWindow.waveToRepeaterWindow());
    auto* repeaterToWave = qobject_cast<RepeaterToWaveWindow*>(m_mainWindow.repeaterToWaveWindow());
    if (!wave.isEmpty() && waveToRepeater) {
        addShot(QStringLiteral("wave-to-repeater-stereo"), [this, wave, waveToRepeater] {
            if (QWidget* viewer = helpViewer()) viewer->close();
            waveToRepeater->openWave(wave.toStdString());
            m_mainWindow.activateChild(m_mainWindow.frameOf(waveToRepeater));
            return static_cast<QWidget*>(waveToRepeater);
        });
        // The same window with the tempo bar holding the keyboard focus, to show the focus ring.
        addShot(QStringLiteral("wave-to-repeater-focus"), [this, waveToRepeater] {
            m_mainWindow.activateWindow();
            waveToRepeater->findChild<QScrollBar*>(QStringLiteral("tempoBar"))->setFocus();
            return static_cast<QWidget*>(waveToRepeater);
        });
        // Beats per bar stepped on: the "will write" line turns into its warning.
        addShot(QStringLiteral("wave-to-repeater-warning"), [waveToRepeater] {
            waveToRepeater->findChild<QPushButton*>(QStringLiteral("beatsButton"))->click();
            return static_cast<QWidget*>(waveToRepeater);
        });
        // Save with those beats per bar asks before writing another tempo than the one shown. The
        // question holds the save until it is answered: the save starts once the tour has moved
        // on (this shot photographs nothing), the next shot takes the question, and the one after
        // answers Cancel, so nothing is written.
        addShot(QStringLiteral("wave-to-repeater-saving"), [waveToRepeater] {
            QTimer::singleShot(0, waveToRepeater, [waveToRepeater] { waveToRepeater->saveAction()->trigger(); });
            return nullptr;
        });
        addShot(QStringLiteral("wave-to-repeater-tempo-question"), [] { return QApplication::activeModalWidget(); });
        // The tempo found in the audio, with the bar moved off it and the button that brings it
        // back holding the focus.
        addShot(QStringLiteral("wave-to-repeater-found-tempo"), [waveToRepeater] {
            if (QWidget* question = QApplication::activeModalWidget()) question->close();
            waveToRepeater->findChild<QScrollBar*>(QStringLiteral("tempoBar"))
                ->triggerAction(QAbstractSlider::SliderSingleStepSub);
            waveToRepeater->findChild<QPushButton*>(QStringLiteral("foundTempoButton"))->setFocus();
            return static_cast<QWidget*>(waveToRepeater);
        });
    }
    if (!leftTrack.isEmpty() && !rightTrack.isEmpty() && repeaterToWave) {
        addShot(QStringLiteral("repeater-to-wave-stereo"), [this, leftTrack, rightTrack,
                                                            repeaterToWave] {
            repeaterToWave->showStereoTracks(leftTrack.toStdString(), rightTrack.toStdString());
            m_mainWindow.activateChild(m_mainWindow.frameOf(repeaterToWave));
            return static_cast<QWidget*>(repeaterToWave);
        });
        // The question stereo mode asks for every opened track, shown here without waiting.
        addShot(QStringLiteral("channel-dialog"), [this] {
            auto* dialog = new ChannelDialog(&m_mainWindow);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->show();
            return static_cast<QWidget*>(dialog);
        });
    }
    if (!wave.isEmpty() || !leftTrack.isEmpty())
        addShot(QStringLiteral("main-window-with-files"), [this] {
            if (auto* dialog = m_mainWindow.findChild<ChannelDialog*>()) dialog->close();
            return &m_mainWindow;
        });
    // After the main window's shot, which keeps showing the wave opened first.
    if (const QString audio = argumentAfter(arguments, QStringLiteral("--import"));
        !audio.isEmpty() && waveToRepeater) {
        addShot(QStringLiteral("wave-to-repeater-imported"), [this, audio, waveToRepeater] {
            waveToRepeater->importAudio(audio.toStdString());
            m_mainWindow.activateChild(m_mainWindow.frameOf(waveToRepeater));
            return static_cast<QWidget*>(waveToRepeater);
        });
    }
    if (const QString card = argumentAfter(arguments, QStringLiteral("--card")); !card.isEmpty()) {
        addShot(QStringLiteral("card"), [this, card] {
            m_mainWindow.onCardRequested();
            auto* window = qobject_cast<CardWindow*>(m_mainWindow.cardWindow());
            if (!window) return window;
            window->showCard(card.toStdString());
            window->table()->selectRow(0);  // the details pane tells of the first loop
            return window;
        });
        // The waves opened above, as if dropped on the Card window.
        std::vector<std::string> dropped;
        for (const QString& option : {QStringLiteral("--open-wave"), QStringLiteral("--import")})
            if (const QString path = argumentAfter(arguments, option); !path.isEmpty()) dropped.push_back(path.toStdString());
        if (!dropped.empty())
            addShot(QStringLiteral("card-drop"), [this, dropped] {
                auto* window = qobject_cast<CardWindow*>(m_mainWindow.cardWindow());
                return window ? window->previewDrop(dropped) : nullptr;
            });
    }
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
    QTimer::singleShot(
        kSettleMs, this, [this, name = shot.name, window = QPointer<QWidget>(window)] {
            if (window)
                window->grab().save(QDir(m_directory).filePath(name + QStringLiteral(".png")));
            next();
        });
}

}  // namespace brenvik
