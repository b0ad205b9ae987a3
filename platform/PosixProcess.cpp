// Processes started with posix_spawn and watched through a pidfd, so that the
// end of a process reaches the event loop the moment it happens.

#include "platform/Processes.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace velunor {

namespace {

// Kept of a process's error output: enough for its last lines.
constexpr qsizetype kErrorTailBytes = 4096;
// Where pidfds are missing (kernels before 5.3), the end is looked for this
// often instead.
constexpr int kFallbackPollMilliseconds = 10;

class SpawnedProcess : public ChildProcess {
public:
    SpawnedProcess(pid_t pid, int errorPipe) : pid_(pid), errorPipe_(errorPipe)
    {
        pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
        if (pidfd_ >= 0) {
            endNotifier_ = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
            connect(endNotifier_, &QSocketNotifier::activated, this, [this] { notice(); });
        } else {
            auto *poll = new QTimer(this);
            poll->setInterval(kFallbackPollMilliseconds);
            connect(poll, &QTimer::timeout, this, [this] { notice(); });
            poll->start();
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
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            if (WIFSIGNALED(status))
                end_ = ProcessEnd{0, WTERMSIG(status)};
            else
                end_ = ProcessEnd{WIFEXITED(status) ? WEXITSTATUS(status) : 0, 0};
        } else if (done < 0 && errno == ECHILD) {
            // Reaped elsewhere: nothing is known of how it ended.
            reaped_ = true;
            end_ = ProcessEnd{};
        }
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
        for (QTimer *poll : findChildren<QTimer *>())
            poll->stop();
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
    bool reaped_ = false;
    bool announced_ = false;
    std::optional<ProcessEnd> end_;
    QByteArray errorTail_;
};

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

// A program, its arguments and its environment as posix_spawn takes them.
class CommandWords {
public:
    CommandWords(const QString &program, const QStringList &arguments,
                 const QStringList &environment)
        : path_(QFile::encodeName(program))
    {
        // The program is named by its file name alone, as a shell would name
        // a program found on its search path: SoX puts that name before every
        // message, which the user may get to read.
        words_.push_back(path_.mid(path_.lastIndexOf('/') + 1));
        for (const QString &argument : arguments)
            words_.push_back(QFile::encodeName(argument));
        for (const QString &entry : environment)
            entries_.push_back(QFile::encodeName(entry));
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

// Starts the command in a session of its own, its standard input on
// /dev/null and its output and error output on the descriptors given (-1:
// /dev/null). Returns 0, or the errno value of the failure.
//
// The program gets no terminal of its own: a Ctrl+C meant for this program
// does not reach it, and a terminal set to stop background writers ("stty
// tostop") cannot stop it on its first message, which would keep a run
// waiting for ever.
int SpawnInSession(const CommandWords &words, int outputFd, int errorFd, pid_t &pid)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    for (const auto &[fd, target] :
         {std::pair{outputFd, STDOUT_FILENO}, {errorFd, STDERR_FILENO}}) {
        if (fd >= 0)
            posix_spawn_file_actions_adddup2(&actions, fd, target);
        else
            posix_spawn_file_actions_addopen(&actions, target, "/dev/null", O_WRONLY, 0);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    // An ignored SIGCHLD, inherited from whoever started this program, would
    // make the system discard every exit status, and a failed conversion
    // would look like a successful one.
    struct sigaction childSignal {};
    if (::sigaction(SIGCHLD, nullptr, &childSignal) == 0 && childSignal.sa_handler == SIG_IGN) {
        childSignal.sa_handler = SIG_DFL;
        childSignal.sa_flags = 0;
        ::sigaction(SIGCHLD, &childSignal, nullptr);
    }

    const int result =
        ::posix_spawn(&pid, words.path(), &actions, &attributes, words.argv(), words.envp());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

} // namespace

std::unique_ptr<ChildProcess> SpawnProcess(const QString &program, const QStringList &arguments,
                                           const QStringList &environment, int &error)
{
    const CommandWords words(program, arguments, environment);
    int errorPipe[2] = {-1, -1};
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        error = errno;
        return nullptr;
    }
    Descriptor readEnd{errorPipe[0]};
    const Descriptor writeEnd{errorPipe[1]};
    ::fcntl(readEnd.fd, F_SETFL, ::fcntl(readEnd.fd, F_GETFL) | O_NONBLOCK);

    pid_t pid = 0;
    error = SpawnInSession(words, -1, writeEnd.fd, pid);
    if (error != 0)
        return nullptr;
    return std::make_unique<SpawnedProcess>(pid, readEnd.release());
}

std::optional<QByteArray> RunForOutput(const QString &program, const QStringList &arguments,
                                       const QStringList &environment, int timeoutMs)
{
    const CommandWords words(program, arguments, environment);
    int outputPipe[2] = {-1, -1};
    if (::pipe2(outputPipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const Descriptor readEnd{outputPipe[0]};
    Descriptor writeEnd{outputPipe[1]};
    pid_t pid = 0;
    if (SpawnInSession(words, writeEnd.fd, -1, pid) != 0)
        return std::nullopt;
    ::close(writeEnd.release());

    QByteArray output;
    bool timedOut = false;
    for (int waited = 0;;) {
        pollfd readable{readEnd.fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, 50);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            if ((waited += 50) < timeoutMs)
                continue;
            timedOut = true;
            ::kill(-pid, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ready > 0 ? ::read(readEnd.fd, buffer, sizeof buffer) : -1;
        if (got > 0) {
            if (output.size() < 65536)
                output.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        break; // the end of the output, or a failure to read it
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

QString LastErrorLine(const QByteArray &errorOutput, int maxChars)
{
    const QList<QByteArray> lines = errorOutput.split('\n');
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const QString text = QString::fromLocal8Bit(*line).trimmed();
        if (!text.isEmpty())
            return text.size() > maxChars ? text.left(maxChars - 3) + QStringLiteral("...") : text;
    }
    return QString();
}

} // namespace velunor
