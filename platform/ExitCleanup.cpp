#include "platform/ExitCleanup.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <poll.h>
#include <set>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace velunor::platform::ExitCleanup {

namespace {

constexpr std::chrono::milliseconds kKilledLeadersWait{500};

struct Action {
    const void *owner;
    std::function<void()> run;
};

struct Registry {
    // A child made by fork() inherits the atexit hook; only this process
    // cleans up.
    const pid_t owner = ::getpid();
    std::mutex mutex;
    // Kept encoded, so that deleting them at exit needs nothing of Qt that
    // may already be gone.
    std::set<QByteArray> files;
    std::vector<Action> actions;
    std::set<pid_t> groups;
};

Registry &TheRegistry();

void RunAtExit()
{
    if (::getpid() == TheRegistry().owner)
        RunNow();
}

Registry &TheRegistry()
{
    // Never destroyed: the atexit hook and threads still at work during the
    // exit use it after every static object has gone.
    static Registry *const registry = [] {
        auto *made = new Registry;
        std::atexit(RunAtExit);
        return made;
    }();
    return *registry;
}

// True once the process has ended (it may not be reaped yet), or when it
// cannot be watched at all.
bool HasEnded(pid_t pid)
{
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno != EINTR; // not a child any more: reaped already
    return info.si_pid == pid;
}

// Waits until every leader has ended or the time is up. A process killed in
// the middle of a system call finishes that call first: an open() of its
// output could otherwise create the file again after it was deleted.
void WaitForLeaders(const std::set<pid_t> &leaders)
{
    const auto deadline = std::chrono::steady_clock::now() + kKilledLeadersWait;
    for (const pid_t leader : leaders) {
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, leader, 0));
        while (!HasEnded(leader)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            if (pidfd >= 0) {
                pollfd ended{pidfd, POLLIN, 0};
                ::poll(&ended, 1, static_cast<int>(left.count()));
            } else {
                ::usleep(5000);
            }
        }
        if (pidfd >= 0)
            ::close(pidfd);
    }
}

} // namespace

void AddFile(const Path &path)
{
    Registry &registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.files.insert(path.bytes());
}

void RemoveFile(const Path &path)
{
    Registry &registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.files.erase(path.bytes());
}

void AddAction(const void *owner, std::function<void()> action)
{
    Registry &registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    std::erase_if(registry.actions, [owner](const Action &noted) { return noted.owner == owner; });
    registry.actions.push_back({owner, std::move(action)});
}

void RemoveAction(const void *owner)
{
    Registry &registry = TheRegistry();
    std::function<void()> removed;
    const std::lock_guard lock(registry.mutex);
    const auto found = std::find_if(registry.actions.begin(), registry.actions.end(),
                                    [owner](const Action &noted) { return noted.owner == owner; });
    if (found == registry.actions.end())
        return;
    // Destroyed after the lock is let go: what it holds may note or forget
    // something itself.
    removed = std::move(found->run);
    registry.actions.erase(found);
}

void AddProcessGroup(pid_t group)
{
    Registry &registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.groups.insert(group);
}

void RemoveProcessGroup(pid_t group)
{
    Registry &registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.groups.erase(group);
}

void RunNow()
{
    Registry &registry = TheRegistry();
    std::set<pid_t> groups;
    std::set<QByteArray> files;
    std::vector<Action> actions;
    {
        const std::lock_guard lock(registry.mutex);
        groups.swap(registry.groups);
        files.swap(registry.files);
        actions.swap(registry.actions);
    }
    for (const pid_t group : groups)
        ::kill(-group, SIGKILL);
    WaitForLeaders(groups);
    for (const QByteArray &file : files)
        ::unlink(file.constData());
    for (Action &action : actions)
        action.run();
}

} // namespace velunor::platform::ExitCleanup
