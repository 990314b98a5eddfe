"""A program a Python test starts ends with the test, however the test ends, as TestChildren.h does
for the C++ tests: it is killed when the test process dies (a parent-death signal), and it carries
the test's mark in its environment, so that one that escapes anyway is found and stopped by the
next test that starts programs of its own."""
import ctypes
import os
import signal
import subprocess

MARK = "BRENVIK_TEST_CHILD_OF"  # its value is the pid of the test that started the program
PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)
_Popen = subprocess.Popen


class TiedPopen(_Popen):
    """subprocess.Popen, the program tied to this test."""

    def __init__(self, args, **kwargs):
        test = os.getpid()

        def tie():
            _libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)
            if os.getppid() != test:  # the test died before the signal was set
                os._exit(127)
        kwargs.setdefault("preexec_fn", tie)
        kwargs["env"] = dict(os.environ if kwargs.get("env") is None else kwargs["env"], **{MARK: str(test)})
        super().__init__(args, **kwargs)


def proc_file(pid, name):
    """The bytes of /proc/PID/NAME, empty when the process is gone or hidden."""
    try:
        with open("/proc/%d/%s" % (pid, name), "rb") as f:
            return f.read()
    except OSError:
        return b""


def _parent(pid):
    """From /proc/PID/stat: the field after the state, which follows the last ')'; 0 when gone."""
    stat = proc_file(pid, "stat")
    fields = stat[stat.rfind(b")") + 2:].split()
    return int(fields[1]) if len(fields) > 1 else 0


def marked(mark=MARK):
    """(pid, name, the mark's value) of every process that carries the mark, but this one."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        for setting in proc_file(int(entry), "environ").split(b"\0"):
            if setting.startswith(mark.encode() + b"="):
                name = proc_file(int(entry), "comm").decode(errors="replace").strip()
                found.append((int(entry), name, setting.split(b"=", 1)[1].decode(errors="replace")))
    return found


def descends_from(pid, ancestor):
    parent = _parent(pid)
    while parent > 1:
        if parent == ancestor:
            return True
        parent = _parent(parent)
    return False


def stop_leftovers():
    """Stops every marked program whose test is no longer among its ancestors, saying so for each;
    programs of tests still running are left alone. How many it stopped."""
    stopped = 0
    for pid, name, test in marked():
        if test.isdigit() and descends_from(pid, int(test)):
            continue
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            continue
        print("found a leftover %s (pid %d) from an earlier run; stopped" % (name, pid), flush=True)
        stopped += 1
    return stopped


def tie_children_to_this_test():
    """Stops what earlier runs left, then ties every program this test starts through subprocess."""
    stop_leftovers()
    subprocess.Popen = TiedPopen
