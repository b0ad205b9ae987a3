#pragma once

#include <QList>
#include <QObject>

#include <csignal>
#include <utility>
#include <vector>

class QSocketNotifier;

namespace velunor::platform {

// Turns Unix signals (SIGTERM from the session manager, SIGHUP when the
// terminal goes, SIGINT for Ctrl+C) into a Qt signal from the event loop,
// where the program may do what it likes; the handler itself only writes the
// signal's number into a pipe. A signal the program was started with
// ignored (nohup, a job in the background of a script) stays ignored: that
// is what whoever started the program asked for.
//
// One watcher at a time, made and destroyed on the thread of the event loop.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(const QList<int> &signalNumbers, QObject *parent = nullptr);
    // Gives each signal back the handling it had before.
    ~SignalWatcher() override;
    SignalWatcher(const SignalWatcher &) = delete;
    SignalWatcher &operator=(const SignalWatcher &) = delete;

    // The signals caught: those asked for that were not ignored.
    QList<int> watched() const;

signals:
    // Once for each signal that arrived, from the event loop.
    void received(int signalNumber);

private:
    void readArrived();

    int readEnd_ = -1;
    int writeEnd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
    std::vector<std::pair<int, struct sigaction>> previous_;
};

} // namespace velunor::platform
