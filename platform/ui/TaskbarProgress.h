#pragma once

#include <QTimer>

#include <memory>
#include <optional>

// Only the window library links Qt DBus: whoever merely holds a progress
// needs none of its headers.
class QDBusConnection;

namespace velunor::platform {

// Shows a run's progress on the program's taskbar entry or dock icon: the
// launcher entry signal (com.canonical.Unity.LauncherEntry.Update) that
// Plasma's task manager and the GNOME docks read, for the program's desktop
// entry. Only a change the dock would show is sent, and at most one update
// per gap; the latest value follows when the gap is over, and the end is
// sent at once. Sending never waits on the bus, and without a bus nothing is
// sent at all.
class TaskbarProgress {
public:
    // On the session bus, at most four updates a second.
    TaskbarProgress();
    // On `bus`, at most one update per `minimumGapMs` milliseconds. (The
    // tests stretch and shrink the gap to see what it holds back.)
    TaskbarProgress(const QDBusConnection &bus, int minimumGapMs);
    // Hides what is still shown: a dock never keeps a finished run's bar.
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress &) = delete;
    TaskbarProgress &operator=(const TaskbarProgress &) = delete;

    // `fraction` of the run done (0 to 1), `filesLeft` files still to go.
    void show(double fraction, int filesLeft);
    // Takes the bar and the count off the entry.
    void hide();

private:
    // What the dock shows: the whole percent done and the files left, or
    // nothing.
    struct Shown {
        int percent = 0;
        int filesLeft = 0;
        bool visible = false;
        friend bool operator==(const Shown &, const Shown &) = default;
    };

    void sendWanted();

    std::unique_ptr<QDBusConnection> bus_;
    QTimer gap_; // runs from one update until the next may be sent
    Shown wanted_;
    std::optional<Shown> sent_;
};

} // namespace velunor::platform
