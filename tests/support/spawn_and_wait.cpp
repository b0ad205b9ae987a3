// Starts `sleep SECONDS` through SpawnProcess from a thread that ends at
// once, prints the number of the sleep once that thread is gone, and waits
// to be killed. A process started from a thread that has ended must go on.
//
// usage: spawn_and_wait SECONDS

#include "ProcessTable.h"
#include "platform/Processes.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

using namespace velunor;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: spawn_and_wait SECONDS\n");
        return 2;
    }
    const QByteArray seconds(argv[1]);
    pid_t askingThread = 0;
    int error = 0;
    std::unique_ptr<QThread> asking(QThread::create([&] {
        askingThread = ::gettid();
        // Destroying the object leaves the process running.
        const Expected<std::unique_ptr<platform::ChildProcess>> started =
            platform::SpawnProcess(Path::FromBytes("/bin/sleep"), {seconds}, {});
        if (!started)
            error = started.failure().code;
    }));
    asking->start();
    asking->wait();
    if (error != 0) {
        std::fprintf(stderr, "spawn_and_wait: sleep not started (%s)\n", std::strerror(error));
        return 1;
    }
    // Gone from the kernel's view too, which is when a death signal would
    // be sent.
    const QString task = QStringLiteral("/proc/self/task/%1").arg(askingThread);
    while (QFile::exists(task))
        ::usleep(1000);

    // Its command line shows once its exec is complete; a sleep that was
    // killed never shows, and the test gives up waiting.
    QList<pid_t> sleepers;
    while ((sleepers = testing::ChildrenRunning(::getpid(), {QStringLiteral("sleep"), seconds}))
               .isEmpty())
        ::usleep(1000);
    std::printf("%d\n", int(sleepers.front()));
    std::fflush(stdout);
    for (;;)
        ::pause();
}
