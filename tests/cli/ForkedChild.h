#pragma once
// Runs a piece of the program in a forked child so that a crash, a runaway allocation or a
// process-wide limit (file size, address space) stays out of the test process. The child hands
// back two texts through pipes and its exit status; the parent sees how it ended and the child's
// peak memory.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>
#include <sstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define BRENVIK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRENVIK_TEST_ASAN 1
#endif
#endif

namespace brenvik::test {

// Exit statuses of a child that did not get to report normally.
constexpr int kChildAllocationFailed = 90;  // an allocation hit the address-space bound
constexpr int kChildThrew = 91;             // an exception left the body

// Room the program may take beyond what the process already maps.
constexpr rlim_t kAddressSpaceRoom = rlim_t{512} << 20;
// A child still running after this long has hung; it is stopped by SIGALRM.
constexpr unsigned kHangGuardSeconds = 120;

struct ChildLimits {
    std::optional<rlim_t> fileSize;  // RLIMIT_FSIZE, with SIGXFSZ ignored so writes fail instead
    bool boundMemory = true;         // RLIMIT_AS = mapped now + kAddressSpaceRoom
};

struct ChildEnd {
    bool exited = false;  // ended through exit, not by a signal
    int status = -1;      // exit status, or the signal number when killed
    std::string out, err;
    long maxRssKiB = 0;
};

namespace detail {

inline void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t k = ::write(fd, text.data() + done, text.size() - done);
        if (k <= 0) return;
        done += static_cast<size_t>(k);
    }
}

inline std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t k;
    while ((k = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(k));
    return text;
}

inline rlim_t mappedBytes() {
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

[[noreturn]] inline void childMain(const std::function<int(std::ostream&, std::ostream&)>& body,
                                   const ChildLimits& limits, int outFd, int errFd) {
    if (limits.fileSize) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{*limits.fileSize, *limits.fileSize};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(kChildThrew);
    }
    if (limits.boundMemory) {
#ifndef BRENVIK_TEST_ASAN  // the sanitizer reserves its shadow memory up front
        const rlim_t bound = mappedBytes() + kAddressSpaceRoom;
        const rlimit space{bound, bound};
        if (::setrlimit(RLIMIT_AS, &space) != 0) ::_exit(kChildThrew);
#endif
        // A failed allocation would otherwise become the program's own catch-all message.
        std::set_new_handler([] { ::_exit(kChildAllocationFailed); });
    }
    ::alarm(kHangGuardSeconds);
    int status = kChildThrew;
    std::ostringstream out, err;
    try {
        status = body(out, err);
    } catch (...) {
        ::_exit(kChildThrew);
    }
    writeAll(outFd, out.str());
    ::close(outFd);
    writeAll(errFd, err.str());
    ::close(errFd);
    ::_exit(status);  // no destructors: the parent owns the temporary folders
}

}  // namespace detail

// body gets two streams for its texts and returns the exit status.
inline ChildEnd runInChild(const std::function<int(std::ostream&, std::ostream&)>& body,
                           const ChildLimits& limits = {}) {
    ChildEnd end;
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) return end;
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return end;
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        detail::childMain(body, limits, outPipe[1], errPipe[1]);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (pid > 0) {
        // The child writes its out text whole before its err text, so reading them in this
        // order cannot block both sides.
        end.out = detail::readAll(outPipe[0]);
        end.err = detail::readAll(errPipe[0]);
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    if (pid < 0) return end;
    int wstatus = 0;
    rusage usage{};
    while (::wait4(pid, &wstatus, 0, &usage) < 0)
        if (errno != EINTR) return end;
    end.exited = WIFEXITED(wstatus);
    end.status = end.exited ? WEXITSTATUS(wstatus) : WTERMSIG(wstatus);
    end.maxRssKiB = usage.ru_maxrss;
    return end;
}

// How a child ended, for a failure message: "exit 1", "signal 11".
inline std::string describe(const ChildEnd& end) {
    return (end.exited ? "exit " : "signal ") + std::to_string(end.status);
}

}  // namespace brenvik::test
