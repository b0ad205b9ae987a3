#include "platform/SignalWatcher.h"

#include <QByteArray>
#include <QPointer>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velunor::platform {

namespace {

// Where the handler writes; -1 while no watcher exists.
std::atomic<int> arrivalPipe{-1};

void NoteArrival(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = arrivalPipe.load();
    if (fd >= 0) {
        const auto number = static_cast<unsigned char>(signalNumber);
        // A full pipe drops the signal: hundreds of the same kind are waiting
        // to be read already.
        [[maybe_unused]] const ssize_t written = ::write(fd, &number, 1);
    }
    errno = savedErrno;
}

} // namespace

SignalWatcher::SignalWatcher(const QList<int> &signalNumbers, QObject *parent) : QObject(parent)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("SignalWatcher: no pipe for signals (%s)", std::strerror(errno));
        return;
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    arrivalPipe.store(writeEnd_);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readArrived);

    for (const int signalNumber : signalNumbers) {
        struct sigaction before {};
        if (::sigaction(signalNumber, nullptr, &before) != 0 || before.sa_handler == SIG_IGN)
            continue;
        struct sigaction catching {};
        catching.sa_handler = NoteArrival;
        ::sigemptyset(&catching.sa_mask);
        // Slow system calls on the other threads go on after the handler.
        catching.sa_flags = SA_RESTART;
        if (::sigaction(signalNumber, &catching, nullptr) == 0)
            previous_.emplace_back(signalNumber, before);
    }
}

SignalWatcher::~SignalWatcher()
{
    for (const auto &[signalNumber, before] : previous_)
        ::sigaction(signalNumber, &before, nullptr);
    arrivalPipe.store(-1);
    if (readEnd_ >= 0)
        ::close(readEnd_);
    if (writeEnd_ >= 0)
        ::close(writeEnd_);
}

QList<int> SignalWatcher::watched() const
{
    QList<int> numbers;
    for (const auto &[signalNumber, before] : previous_)
        numbers.append(signalNumber);
    return numbers;
}

void SignalWatcher::readArrived()
{
    QByteArray arrived;
    char buffer[64];
    for (;;) {
        const ssize_t got = ::read(readEnd_, buffer, sizeof buffer);
        if (got > 0)
            arrived.append(buffer, got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    // A receiver may end the watcher's life.
    const QPointer<SignalWatcher> alive(this);
    for (const char number : std::as_const(arrived)) {
        if (!alive)
            return;
        emit received(static_cast<unsigned char>(number));
    }
}

} // namespace velunor::platform
