// brenvik-cli play PATH [--times N]: a wave, a loop's track or a loop folder through the audio
// output, as the windows' Play plays it, N times round without a gap; then it ends.
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <exception>
#include <optional>

#include "Arguments.h"
#include "AudioPlayback.h"
#include "Cli.h"
#include "CommandApplication.h"
#include "ConsoleInteraction.h"
#include "LoopFolderName.h"
#include "LoopPaths.h"
#include "MediaCommands.h"
#include "Messages.h"
#include "RoutineError.h"
#include "TrackOpen.h"
#include "WaveSaving.h"

namespace brenvik::cli::media {

namespace {

constexpr int kCtrlCLookMs = 20;

volatile std::sig_atomic_t g_ctrlCPressed = 0;

// Ctrl+C while playing is noted, and the event loop then stops the output and ends the command,
// rather than the program dying with the sound server's stream half-way. The handling before is
// restored when playing ends.
class CtrlCWatch {
public:
    CtrlCWatch() {
        g_ctrlCPressed = 0;
        struct sigaction noting {};
        noting.sa_handler = [](int) { g_ctrlCPressed = 1; };
        sigemptyset(&noting.sa_mask);
        sigaction(SIGINT, &noting, &m_before);
    }
    ~CtrlCWatch() { sigaction(SIGINT, &m_before, nullptr); }
    CtrlCWatch(const CtrlCWatch&) = delete;
    CtrlCWatch& operator=(const CtrlCWatch&) = delete;
    bool pressed() const { return g_ctrlCPressed != 0; }

private:
    struct sigaction m_before {};
};

QtMessageHandler g_qtMessages = nullptr;

// Qt's own warnings (a sound server it cannot reach) would come before the command's message,
// which says the same in the program's words: they are left out while the command runs.
class QtWarningsLeftOut {
public:
    QtWarningsLeftOut() {
        g_qtMessages = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if ((type == QtCriticalMsg || type == QtFatalMsg) && g_qtMessages) g_qtMessages(type, context, text);
        });
    }
    ~QtWarningsLeftOut() { qInstallMessageHandler(g_qtMessages); }
    QtWarningsLeftOut(const QtWarningsLeftOut&) = delete;
    QtWarningsLeftOut& operator=(const QtWarningsLeftOut&) = delete;
};

// What the path names, ready to play: a loop folder (or its loopinfo.ldf) as the Repeater loops
// it, a track as the Repeater-to-wave window opens it, any other file as a wave. Nothing, after
// saying why, when it cannot be played.
std::optional<audition::PlaySource> playSourceOf(const std::string& path, ConsoleInteraction& ui) {
    const Files files;
    audition::Preparation prepared;
    std::string reason;
    try {
        const std::optional<FolderEntry::Kind> kind = files.kindOf(path);
        if (!kind) {
            prepared.reason = message::playUnreadable(path);
            reason = noFileReason(path);
        } else if (*kind == FolderEntry::Kind::Folder) {
            prepared = audition::sourceOfLoop(path);
        } else if (loop::lastFolderName(path) == loop::kDescriptionFileName) {
            prepared = audition::sourceOfLoop(Files::parentOf(files.absolutePath(path)));
        } else if (!namesTrack(path)) {
            prepared = audition::sourceOfWave(path);
        } else {
            const std::optional<OpenedTrack> track = openTrackFile(files, ui, files.absolutePath(path));
            if (!track) return std::nullopt;
            prepared = audition::sourceOfTracks(audioOf(*track), std::nullopt);
        }
    } catch (const std::exception&) {
        prepared = {std::nullopt, message::playUnreadable(path), {}};
        reason = caughtReason();
    }
    if (!prepared.source)
        ui.message(prepared.reason, MessageButtons::Ok, MessageIcon::Critical, reason.empty() ? prepared.cause : reason);
    return prepared.source;
}

}  // namespace

int runPlay(const Arguments& args, std::ostream&, std::ostream& err, bool errIsTerminal) {
    const CtrlCWatch ctrlC;
    const QtWarningsLeftOut quiet;
    ConsoleInteraction ui(err, errIsTerminal);
    const std::optional<audition::PlaySource> source = playSourceOf(args.positionals()[0], ui);
    if (!source) return kFailed;

    const CommandApplication application;  // the audio output runs on Qt's event loop

    AudioPlayback playback;
    if (!playback.play(*source, args.number("--times").value_or(1))) {
        ui.message(playback.lastError().toStdString(), MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    int status = kOk;
    QEventLoop loop;
    QObject::connect(&playback, &AudioPlayback::finished, &loop, &QEventLoop::quit);
    QObject::connect(&playback, &AudioPlayback::failed, &loop, [&](const QString& reason) {
        ui.message(reason.toStdString(), MessageButtons::Ok, MessageIcon::Critical);
        status = kFailed;
        loop.quit();
    });
    QTimer lookForCtrlC;
    lookForCtrlC.callOnTimeout(&loop, [&] {
        if (!ctrlC.pressed()) return;
        playback.stop();
        status = kInterrupted;
        loop.quit();
    });
    lookForCtrlC.start(kCtrlCLookMs);
    loop.exec();
    return status;
}

}  // namespace brenvik::cli::media
