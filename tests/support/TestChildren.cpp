#include "TestChildren.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <sys/prctl.h>
#include <unistd.h>
#include <csignal>

namespace brenvik::test {
namespace {

QByteArray procFile(qint64 pid, const char* name) {
    QFile file(QString("/proc/%1/%2").arg(pid).arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parent's pid from /proc/PID/stat: the field after the state, which follows the last ')'
// (a program's name may hold spaces and parentheses). 0 when the process is gone.
qint64 parentOf(qint64 pid) {
    const QByteArray stat = procFile(pid, "stat");
    const qsizetype close = stat.lastIndexOf(')');
    const QList<QByteArray> fields =
        close < 0 ? QList<QByteArray>() : stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : 0;
}

bool descendsFrom(qint64 pid, qint64 ancestor) {
    for (qint64 p = parentOf(pid); p > 1; p = parentOf(p))
        if (p == ancestor) return true;
    return false;
}

}  // namespace

void tieToTest(QProcess& process, std::function<void()> alsoInChild) {
    QProcessEnvironment environment = process.processEnvironment();
    if (environment.isEmpty()) environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kTestChildMark, QString::number(QCoreApplication::applicationPid()));
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([test = ::getpid(), alsoInChild] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != test) ::_exit(127);  // the test died before the signal was set
        if (alsoInChild) alsoInChild();
    });
}

int stopLeftoverChildren() {
    const QByteArray mark = QByteArray(kTestChildMark) + '=';
    int stopped = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == QCoreApplication::applicationPid()) continue;
        for (const QByteArray& setting : procFile(pid, "environ").split('\0')) {
            if (!setting.startsWith(mark)) continue;
            if (descendsFrom(pid, setting.mid(mark.size()).toLongLong())) break;
            const QByteArray name = procFile(pid, "comm").trimmed();
            if (::kill(static_cast<pid_t>(pid), SIGKILL) == 0) {
                qWarning("found a leftover %s (pid %lld) from an earlier run; stopped",
                         name.constData(), pid);
                ++stopped;
            }
            break;
        }
    }
    return stopped;
}

}  // namespace brenvik::test
