#pragma once
// A developer's aid behind the hidden option --screenshot DIR: after start-up the program
// shows its windows one after another, saves each as a PNG in DIR and ends. The converter
// windows add their own shots (opened files and the like) through addShot.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

namespace brenvik {

class MainWindow;

class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    ScreenshotTour(MainWindow& mainWindow, const QString& directory);

    // prepare brings the window to photograph on screen and returns it.
    void addShot(const QString& name, std::function<QWidget*()> prepare);
    // The shell's own shots: start-up, Preferences, folder chooser, About, help.
    void addShellShots();
    // The converter windows with files opened, when the arguments name them:
    // --open-wave WAVE (".WAV to Repeater") and --open-tracks LEFT RIGHT ("Repeater to .WAV",
    // stereo mode). Each window is shot on its own (the wave-to-Repeater window a second time
    // with its tempo bar focused, Save's tempo question and the tempo found in the audio; the
    // channel dialog after the tracks), then the main window;
    // --import AUDIO imports and converts AUDIO in the wave-to-Repeater window; --card DIR adds
    // the Card window listing DIR, and then its drop dialog for the waves opened and imported.
    void addConverterShots(const QStringList& arguments);
    void start();

    // The directory given with --screenshot, or empty.
    static QString directoryArgument(const QStringList& arguments);

private:
    void next();

    struct Shot {
        QString name;
        std::function<QWidget*()> prepare;
    };
    MainWindow& m_mainWindow;
    QString m_directory;
    std::vector<Shot> m_shots;
    size_t m_next = 0;
};

}  // namespace brenvik
