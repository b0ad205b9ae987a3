// Processes started by one spawning thread that lives as long as the program,
// killed by the kernel when the program ends, and watched through a pidfd, so
// that the end of a process reaches the event loop the moment it happens.

#include "platform/Processes.h"

#include "platform/ExitCleanup.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace velunor::platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Kept of a process's error output: enough for its last lines.
constexpr qsizetype kErrorTailBytes = 4096;
// Kept of RunForOutput's output; the rest is read and dropped.
constexpr qsizetype kOutputBytes = 65536;
// Where pidfds are missing (kernels before 5.3), the end is looked for this
// often instead; RunForOutput also looks at its cancel flag this often.
constexpr int kLookMilliseconds = 10;
// How long RunForOutput waits for a process it has killed.
constexpr milliseconds kKilledProcessWait{2000};

// Closes a descriptor at the end of the scope unless it was handed on.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

// Moves a descriptor to 3 or above. A program started with its standard
// descriptors closed gets its first pipes there, and a child's dup2() onto
// 0, 1 and 2 would then overwrite one source with another.
int AboveStandard(int fd)
{
    if (fd < 0 || fd > STDERR_FILENO)
        return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

// A pipe closed on exec, both ends at 3 or above. Returns errno or 0.
int MakePipe(Descriptor &readEnd, Descriptor &writeEnd)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return errno;
    readEnd.fd = AboveStandard(ends[0]);
    writeEnd.fd = AboveStandard(ends[1]);
    return readEnd.fd >= 0 && writeEnd.fd >= 0 ? 0 : EMFILE;
}

int OpenPidfd(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// How the process ended, reaping it, or none while it runs. It is forgotten
// as a process group to kill at exit before it is reaped, while its number
// is still its own.
std::optional<ProcessEnd> ReapIfEnded(pid_t pid)
{
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != ECHILD)
            return std::nullopt;
        // Reaped elsewhere: nothing is known of how it ended.
        ExitCleanup::RemoveProcessGroup(pid);
        return ProcessEnd{};
    }
    if (info.si_pid != pid)
        return std::nullopt;
    ExitCleanup::RemoveProcessGroup(pid);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return ProcessEnd{};
    }
    if (WIFSIGNALED(status))
        return ProcessEnd{0, WTERMSIG(status)};
    return ProcessEnd{WIFEXITED(status) ? WEXITSTATUS(status) : 0, 0};
}

class SpawnedProcess : public ChildProcess {
public:
    SpawnedProcess(pid_t pid, int errorPipe) : pid_(pid), errorPipe_(errorPipe)
    {
        pidfd_ = OpenPidfd(pid);
        if (pidfd_ >= 0) {
            endNotifier_ = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
            connect(endNotifier_, &QSocketNotifier::activated, this, [this] { notice(); });
        } else {
            endPoll_ = new QTimer(this);
            endPoll_->setInterval(kLookMilliseconds);
            connect(endPoll_, &QTimer::timeout, this, [this] { notice(); });
            endPoll_->start();
        }
        if (errorPipe_ >= 0) {
            errorNotifier_ = new QSocketNotifier(errorPipe_, QSocketNotifier::Read, this);
            connect(errorNotifier_, &QSocketNotifier::activated, this, [this] { readErrors(); });
        }
    }

    ~SpawnedProcess() override
    {
        // Reaps a process that has ended but was not asked about; one still
        // running is left alone and never stopped.
        reap();
        if (pidfd_ >= 0)
            ::close(pidfd_);
        if (errorPipe_ >= 0)
            ::close(errorPipe_);
    }

    std::optional<ProcessEnd> end() override
    {
        reap();
        return end_;
    }

    void waitForEnd(int milliseconds) override
    {
        if (end())
            return;
        if (pidfd_ >= 0) {
            pollfd watched{pidfd_, POLLIN, 0};
            ::poll(&watched, 1, milliseconds);
            return;
        }
        for (int waited = 0; waited < milliseconds && !end(); waited += 5)
            ::usleep(5000);
    }

    void sendSignal(int signal) override
    {
        // Until it is reaped the process keeps its number, so the signal can
        // never reach another process that took the number over.
        if (reaped_)
            return;
        // The process leads a session and group of its own: whatever it
        // started itself ends with it.
        ::kill(-pid_, signal);
        if (pidfd_ >= 0 && ::syscall(SYS_pidfd_send_signal, pidfd_, signal, nullptr, 0) == 0)
            return;
        ::kill(pid_, signal);
    }

    QByteArray errorOutput() const override { return errorTail_; }

private:
    void reap()
    {
        if (reaped_)
            return;
        end_ = ReapIfEnded(pid_);
        reaped_ = end_.has_value();
    }

    // Reads whatever the process has written to its standard error, keeping
    // the tail. Returns false once the pipe has reached its end.
    bool readErrors()
    {
        if (errorPipe_ < 0)
            return false;
        char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(errorPipe_, buffer, sizeof buffer);
            if (got > 0) {
                errorTail_.append(buffer, got);
                if (errorTail_.size() > 2 * kErrorTailBytes)
                    errorTail_ = errorTail_.right(kErrorTailBytes);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return true;
            // End of the pipe (or an error on it): nothing more will come.
            if (errorNotifier_) {
                errorNotifier_->setEnabled(false);
                errorNotifier_->deleteLater();
                errorNotifier_ = nullptr;
            }
            ::close(errorPipe_);
            errorPipe_ = -1;
            return false;
        }
    }

    void notice()
    {
        if (announced_ || !end())
            return;
        announced_ = true;
        if (endNotifier_)
            endNotifier_->setEnabled(false);
        if (endPoll_)
            endPoll_->stop();
        // The process is gone, so whatever it wrote is in the pipe already;
        // anything that still holds the pipe open is not waited for.
        readErrors();
        if (errorTail_.size() > kErrorTailBytes)
            errorTail_ = errorTail_.right(kErrorTailBytes);
        emit ended();
    }

    pid_t pid_;
    int pidfd_ = -1;
    int errorPipe_ = -1;
    QSocketNotifier *endNotifier_ = nullptr;
    QSocketNotifier *errorNotifier_ = nullptr;
    QTimer *endPoll_ = nullptr; // where there is no pidfd
    bool reaped_ = false;
    bool announced_ = false;
    std::optional<ProcessEnd> end_;
    QByteArray errorTail_;
};

// A program, its arguments and its environment as execve takes them.
class CommandWords {
public:
    CommandWords(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment)
        : path_(program.bytes())
    {
        // The program is named by its file name alone, as a shell would name
        // a program found on its search path: SoX puts that name before every
        // message, which the user may get to read.
        words_.push_back(path_.mid(path_.lastIndexOf('/') + 1));
        for (const QByteArray &argument : arguments)
            words_.push_back(argument);
        for (const QByteArray &entry : environment)
            entries_.push_back(entry);
        for (QByteArray &word : words_)
            argv_.push_back(word.data());
        argv_.push_back(nullptr);
        for (QByteArray &entry : entries_)
            envp_.push_back(entry.data());
        envp_.push_back(nullptr);
    }
    CommandWords(const CommandWords &) = delete;
    CommandWords &operator=(const CommandWords &) = delete;

    const char *path() const { return path_.constData(); }
    char *const *argv() const { return argv_.data(); }
    char *const *envp() const { return envp_.data(); }

private:
    QByteArray path_;
    std::vector<QByteArray> words_;
    std::vector<QByteArray> entries_;
    std::vector<char *> argv_;
    std::vector<char *> envp_;
};

// ---- The child, between the clone and the exec ---------------------------
//
// It runs in this program's memory on a stack of its own, while the spawning
// thread waits (CLONE_VM | CLONE_VFORK), so it may only make system calls
// with what was prepared for it; the sanitizers' bookkeeping is kept out of
// it.
#define VELUNOR_CHILD_CODE __attribute__((no_sanitize("address", "undefined")))

struct ChildSetup {
    const char *path = nullptr;
    char *const *argv = nullptr;
    char *const *envp = nullptr;
    // The child's standard input, output and error; each at 3 or above.
    int input = -1;
    int output = -1;
    int errorOutput = -1;
    // The write end of the pipe that carries the errno of a failure.
    int report = -1;
    pid_t parent = 0;
    // Where closing descriptors one by one stops, where close_range is
    // missing (kernels before 5.9).
    int openMax = 0;
    struct sigaction defaultAction {};
    sigset_t emptyMask{};
};

[[noreturn]] VELUNOR_CHILD_CODE void FailInChild(const ChildSetup &setup, int error)
{
    // At most PIPE_BUF bytes: written whole or not at all.
    while (::write(setup.report, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

VELUNOR_CHILD_CODE bool CloseRange(unsigned first, unsigned last)
{
    if (first > last)
        return true;
#ifdef SYS_close_range
    return ::syscall(SYS_close_range, first, last, 0U) == 0;
#else
    return false;
#endif
}

// Everything from 3 up goes but the report pipe, which the exec closes. A
// descriptor this program inherited without close-on-exec, or one another
// thread opened just now, would otherwise stay open in the converter.
VELUNOR_CHILD_CODE void CloseInheritedDescriptors(const ChildSetup &setup)
{
    const auto report = static_cast<unsigned>(setup.report);
    if (CloseRange(STDERR_FILENO + 1, report - 1) && CloseRange(report + 1, ~0U))
        return;
    for (int fd = STDERR_FILENO + 1; fd < setup.openMax; ++fd)
        if (fd != setup.report)
            ::close(fd);
}

VELUNOR_CHILD_CODE int ChildMain(void *argument)
{
    const ChildSetup &setup = *static_cast<const ChildSetup *>(argument);
    // Every signal is blocked here (the spawning thread's mask). Each goes
    // back to its default first: this program's handlers are in memory the
    // child shares until the exec, and an ignored signal (SIGPIPE) would be
    // ignored by the converter too.
    for (int signal = 1; signal < NSIG; ++signal)
        if (signal != SIGKILL && signal != SIGSTOP)
            ::sigaction(signal, &setup.defaultAction, nullptr);
    // A session of its own: no terminal, so neither a Ctrl+C meant for this
    // program nor "stty tostop" on the terminal can reach or stop it.
    if (::setsid() < 0)
        FailInChild(setup, errno);
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        FailInChild(setup, errno);
    // The program may have ended before the line above; no death signal
    // would come then.
    if (::getppid() != setup.parent)
        ::_exit(127);
    if (::dup2(setup.input, STDIN_FILENO) < 0 || ::dup2(setup.output, STDOUT_FILENO) < 0 ||
        ::dup2(setup.errorOutput, STDERR_FILENO) < 0)
        FailInChild(setup, errno);
    CloseInheritedDescriptors(setup);
    ::sigprocmask(SIG_SETMASK, &setup.emptyMask, nullptr);
    ::execve(setup.path, setup.argv, setup.envp);
    FailInChild(setup, errno);
}

// ---- The spawning thread ---------------------------------------------------

// Starts the processes that other threads than the main one ask for, from
// one thread of its own. The kernel sends the death signal when the thread
// that started a process ends, not the program, so such processes cannot be
// started by the threads that ask for them (a worker of a pool may end
// before the process does). The main thread lives as long as the program and
// starts its own.
class Spawner {
public:
    // Made at the first start; never destroyed, so that it still serves
    // while the program exits.
    static Spawner &Instance()
    {
        static Spawner *const spawner = new Spawner;
        return *spawner;
    }

    // Starts the command with its standard output and error on the
    // descriptors given (-1: /dev/null) and its standard input on /dev/null.
    // Returns 0, or the errno value of the failure.
    int spawn(const CommandWords &words, int output, int errorOutput, pid_t &pid)
    {
        Request request{&words, output, errorOutput};
        // The program's main thread lives as long as the program too: it
        // starts its processes itself. Handing them to the spawning thread
        // would wait for that thread to be scheduled, and with every
        // processor busy converting, that wait is what each start costs.
        if (::gettid() == ::getpid() && brokenError_ == 0) {
            sigset_t all;
            sigset_t previous;
            ::sigfillset(&all);
            ::pthread_sigmask(SIG_SETMASK, &all, &previous);
            request.error = start(request, mainChildStack_);
            ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            pid = request.pid;
            return request.error;
        }
        std::unique_lock lock(mutex_);
        if (brokenError_ != 0)
            return brokenError_;
        if (const int error = startServing(); error != 0)
            return error;
        requests_.push_back(&request);
        requested_.notify_one();
        answered_.wait(lock, [&request] { return request.done; });
        pid = request.pid;
        return request.error;
    }

private:
    static constexpr size_t kChildStackBytes = 256 * 1024;

    struct Request {
        const CommandWords *words;
        int output;
        int errorOutput;
        pid_t pid = 0;
        int error = 0;
        bool done = false;
    };

    Spawner()
    {
        devNull_ = AboveStandard(::open("/dev/null", O_RDWR | O_CLOEXEC));
        // One stack for the children of the spawning thread, one for those of
        // the main thread: both may start a process at the same moment.
        void *stack = ::mmap(nullptr, 2 * kChildStackBytes, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
        if (devNull_ < 0 || stack == MAP_FAILED) {
            brokenError_ = errno != 0 ? errno : ENOMEM;
            return;
        }
        childStack_ = static_cast<char *>(stack) + kChildStackBytes;
        mainChildStack_ = static_cast<char *>(stack) + 2 * kChildStackBytes;
    }

    // Starts the spawning thread, with `mutex_` held, the first time another
    // thread than the main one asks for a process: a run whose converters
    // the main thread starts never needs it. Returns 0, or the errno value
    // of the failure (the next request tries again).
    int startServing()
    {
        if (serving_)
            return 0;
        // The thread starts with every signal blocked and keeps them so: a
        // handler must never run while a child shares its memory, and the
        // signals meant for the program go to its other threads.
        sigset_t all;
        sigset_t previous;
        ::sigfillset(&all);
        ::pthread_sigmask(SIG_SETMASK, &all, &previous);
        int error = 0;
        try {
            std::thread([this] { serve(); }).detach();
            serving_ = true;
        } catch (const std::system_error &failure) {
            error = failure.code().value() != 0 ? failure.code().value() : EAGAIN;
        }
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return error;
    }

    [[noreturn]] void serve()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            requested_.wait(lock, [this] { return !requests_.empty(); });
            Request *request = requests_.front();
            requests_.pop_front();
            lock.unlock();
            request->error = start(*request, childStack_);
            lock.lock();
            request->done = true;
            answered_.notify_all();
        }
    }

    // Starts the request's process with `stackTop` as its stack until the
    // exec, from the calling thread, which must have every signal blocked.
    int start(Request &request, char *stackTop)
    {
        Descriptor reportRead;
        Descriptor reportWrite;
        if (const int error = MakePipe(reportRead, reportWrite); error != 0)
            return error;

        ChildSetup setup;
        setup.path = request.words->path();
        setup.argv = request.words->argv();
        setup.envp = request.words->envp();
        setup.input = devNull_;
        setup.output = request.output >= 0 ? request.output : devNull_;
        setup.errorOutput = request.errorOutput >= 0 ? request.errorOutput : devNull_;
        setup.report = reportWrite.fd;
        setup.parent = ::getpid();
        const long openMax = ::sysconf(_SC_OPEN_MAX);
        setup.openMax = openMax > 0 && openMax < INT_MAX ? static_cast<int>(openMax) : 65536;
        setup.defaultAction.sa_handler = SIG_DFL;
        ::sigemptyset(&setup.defaultAction.sa_mask);
        ::sigemptyset(&setup.emptyMask);

        // An ignored SIGCHLD, inherited from whoever started this program,
        // would make the system discard every exit status, and a failed
        // conversion would look like a successful one.
        struct sigaction childSignal {};
        if (::sigaction(SIGCHLD, nullptr, &childSignal) == 0 && childSignal.sa_handler == SIG_IGN) {
            childSignal.sa_handler = SIG_DFL;
            childSignal.sa_flags = 0;
            ::sigaction(SIGCHLD, &childSignal, nullptr);
        }

        // Returns once the child has called execve or ended.
        const pid_t child = ::clone(ChildMain, stackTop, CLONE_VM | CLONE_VFORK | SIGCHLD, &setup);
        if (child < 0)
            return errno;
        ::close(reportWrite.release());
        int childError = 0;
        ssize_t got = 0;
        while ((got = ::read(reportRead.fd, &childError, sizeof childError)) < 0 &&
               errno == EINTR) {
        }
        if (got != 0) {
            while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
            return got == sizeof childError && childError != 0 ? childError : EIO;
        }
        ExitCleanup::AddProcessGroup(child);
        request.pid = child;
        return 0;
    }

    std::mutex mutex_;
    std::condition_variable requested_;
    std::condition_variable answered_;
    std::deque<Request *> requests_;
    int brokenError_ = 0;
    bool serving_ = false; // the spawning thread runs
    int devNull_ = -1;
    char *childStack_ = nullptr; // the top of each stack
    char *mainChildStack_ = nullptr;
};

// Reads what the pipe holds now into `output`, keeping at most kOutputBytes.
// Returns false once the pipe has reached its end.
bool ReadAvailable(int fd, QByteArray &output)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, std::min<qsizetype>(got, kOutputBytes - output.size()));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<qint64>(left, 0, INT_MAX));
}

// Waits for the end of a process until `deadline`, reaping it.
std::optional<ProcessEnd> AwaitEnd(pid_t pid, int pidfd, Clock::time_point deadline)
{
    for (;;) {
        if (std::optional<ProcessEnd> end = ReapIfEnded(pid))
            return end;
        const int left = MillisecondsUntil(deadline);
        if (left == 0)
            return std::nullopt;
        pollfd ended{pidfd, POLLIN, 0};
        ::poll(&ended, pidfd >= 0 ? 1 : 0, pidfd >= 0 ? left : std::min(left, kLookMilliseconds));
    }
}

} // namespace

Expected<std::unique_ptr<ChildProcess>> SpawnProcess(const Path &program,
                                                     const QByteArrayList &arguments,
                                                     const QByteArrayList &environment)
{
    const CommandWords words(program, arguments, environment);
    Descriptor readEnd;
    Descriptor writeEnd;
    if (const int error = MakePipe(readEnd, writeEnd); error != 0)
        return Failure::OfErrno(error);
    ::fcntl(readEnd.fd, F_SETFL, ::fcntl(readEnd.fd, F_GETFL) | O_NONBLOCK);

    pid_t pid = 0;
    if (const int error = Spawner::Instance().spawn(words, -1, writeEnd.fd, pid); error != 0)
        return Failure::OfErrno(error);
    return std::unique_ptr<ChildProcess>(std::make_unique<SpawnedProcess>(pid, readEnd.release()));
}

std::optional<QByteArray> RunForOutput(const Path &program, const QByteArrayList &arguments,
                                       const QByteArrayList &environment, int timeoutMs,
                                       const std::atomic<bool> *cancel)
{
    const CommandWords words(program, arguments, environment);
    Descriptor readEnd;
    Descriptor writeEnd;
    if (MakePipe(readEnd, writeEnd) != 0)
        return std::nullopt;
    ::fcntl(readEnd.fd, F_SETFL, ::fcntl(readEnd.fd, F_GETFL) | O_NONBLOCK);
    pid_t pid = 0;
    if (Spawner::Instance().spawn(words, writeEnd.fd, -1, pid) != 0)
        return std::nullopt;
    ::close(writeEnd.release());
    const Descriptor pidfd{OpenPidfd(pid)};

    const Clock::time_point deadline = Clock::now() + milliseconds(std::max(timeoutMs, 0));
    auto stopped = [&] { return (cancel && cancel->load()) || MillisecondsUntil(deadline) == 0; };
    QByteArray output;
    bool outputOpen = true;
    std::optional<ProcessEnd> end;
    for (;;) {
        if (outputOpen)
            outputOpen = ReadAvailable(readEnd.fd, output);
        end = ReapIfEnded(pid);
        if (end || stopped())
            break;
        // Waits for output or the end; without a pidfd, or with a flag to
        // look at, only a moment at a time.
        pollfd watched[2];
        nfds_t count = 0;
        if (outputOpen)
            watched[count++] = {readEnd.fd, POLLIN, 0};
        if (pidfd.fd >= 0)
            watched[count++] = {pidfd.fd, POLLIN, 0};
        const int left = MillisecondsUntil(deadline);
        ::poll(watched, count, cancel || pidfd.fd < 0 ? std::min(left, kLookMilliseconds) : left);
    }
    if (end) {
        // What it wrote just before it ended. Anything it started that holds
        // the pipe open is not waited for.
        if (outputOpen)
            ReadAvailable(readEnd.fd, output);
        return end->succeeded() ? std::optional(output) : std::nullopt;
    }
    ::kill(-pid, SIGKILL);
    // A process that does not end even now (stuck in the kernel) is given
    // up; it stays noted for the clean-up at exit.
    AwaitEnd(pid, pidfd.fd, Clock::now() + kKilledProcessWait);
    return std::nullopt;
}

QString LastErrorLine(const QByteArray &errorOutput, int maxChars)
{
    const QList<QByteArray> lines = errorOutput.split('\n');
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        // Names in the line are bytes: shown as every path is shown.
        const QString text = ShownText(line->trimmed());
        if (!text.isEmpty())
            return text.size() > maxChars ? text.left(maxChars - 3) + QStringLiteral("...") : text;
    }
    return QString();
}

} // namespace velunor::platform
