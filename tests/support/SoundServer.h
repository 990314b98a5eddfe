#pragma once
// A PulseAudio server of the test's own, with a null sink named "ci" in place of a sound card and
// its monitor shown as the source "ci_capture" (Qt hides monitor sources). It lives in a
// temporary folder and is reached by its own socket only, so a sound server the machine runs is
// neither used nor disturbed. Start it before anything of Qt Multimedia connects. It runs in the
// foreground as the test's child, tied to the test (TestChildren.h): it never outlives the test.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestChildren.h"

namespace brenvik::test {

class SoundServer {
public:
    // Empty when the server runs; otherwise why it cannot run here (the test skips with it).
    QString start() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty())
            return "no sound server can run here: pulseaudio and pactl are not installed "
                   "(scripts/setup-debian.sh installs them)";
        const QString run = m_dir.filePath("run"), home = m_dir.filePath("home");
        QDir().mkpath(run);
        QDir().mkpath(home);
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + run + "/pulse/native").toLocal8Bit());
        qunsetenv("PULSE_COOKIE");
        stopLeftoverChildren();
        // As root the server warns that it is meant for a user, and runs all the same.
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(m_dir.filePath("server.log"));
        tieToTest(m_server);
        m_server.start(
            "pulseaudio",
            {"-n", "--daemonize=no", "--exit-idle-time=-1", "--load=module-native-protocol-unix",
             "--load=module-null-sink sink_name=ci rate=44100 channels=2",
             "--load=module-remap-source master=ci.monitor source_name=ci_capture"});
        // Ready once it answers; given up when it ends, or after 15 s.
        bool ready = false;
        for (int tries = 0; tries < 150 && !ready; ++tries)
            if (!(ready = runTool("pactl", {"info"})) &&
                (m_server.state() == QProcess::NotRunning || m_server.waitForFinished(100)))
                break;
        if (!ready) return "no sound server can run here: pulseaudio says: " + log("server.log");
        return runTool("pactl", {"set-default-sink", "ci"}) ? QString()
                                                            : "pactl says: " + log("tool.log");
    }
    // Ends the server at once, as a sound server that crashes or is shut down goes away.
    void stop() {
        m_server.kill();
        m_server.waitForFinished(15000);
    }
    ~SoundServer() { stop(); }

private:
    // Runs a PulseAudio tool against this server; whether it succeeded. Its messages:
    // log("tool.log").
    bool runTool(const QString& program, const QStringList& arguments) {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(m_dir.filePath("tool.log"));
        tieToTest(tool);
        tool.start(program, arguments);
        return tool.waitForFinished(15000) && tool.exitStatus() == QProcess::NormalExit &&
               tool.exitCode() == 0;
    }
    QString log(const QString& name) const {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed()
                                              : QString();
    }

    QTemporaryDir m_dir;
    QProcess m_server;
};

}  // namespace brenvik::test
