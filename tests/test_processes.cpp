// Started processes hold nothing of this program's, never outlive it, and
// are ended on time; signals reach the event loop; the exit clean-up ends and
// removes what was noted.

#include "Files.h"
#include "ProcessTable.h"
#include "platform/BackgroundWork.h"
#include "platform/ExitCleanup.h"
#include "platform/Processes.h"
#include "platform/SignalWatcher.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QByteArrayList kEnvironment = {"PATH=/usr/bin:/bin"};

// A sleep no test waits for to end, told apart from any other by its length;
// and its command line as the process has it (the program by its file name).
const Path kSleeperProgram = Path::FromBytes("/bin/sleep");
const QByteArrayList kSleeperArguments = {"86399.5"};
const QStringList kSleeperWords = {QStringLiteral("sleep"), QStringLiteral("86399.5")};

// Kills the processes at the end of the scope, so that a failing test
// leaves none behind.
struct KillAtEnd {
    QList<pid_t> pids;
    ~KillAtEnd()
    {
        for (const pid_t pid : pids)
            if (IsAlive(pid))
                ::kill(pid, SIGKILL);
    }
};

struct sigaction Disposition(int signalNumber)
{
    struct sigaction current {};
    ::sigaction(signalNumber, nullptr, &current);
    return current;
}

void SetDisposition(int signalNumber, void (*handler)(int))
{
    struct sigaction wanted {};
    wanted.sa_handler = handler;
    ::sigaction(signalNumber, &wanted, nullptr);
}

} // namespace

class ProcessesTest : public QObject {
    Q_OBJECT

private slots:
    void aChildHoldsOnlyTheStandardDescriptorsAndDefaultSignals()
    {
        // Opened the way a careless library does, without O_CLOEXEC; and
        // SIGPIPE ignored, as many programs have it.
        const int inherited = ::open("/etc/passwd", O_RDONLY);
        QVERIFY(inherited > STDERR_FILENO);
        const struct sigaction pipeBefore = Disposition(SIGPIPE);
        SetDisposition(SIGPIPE, SIG_IGN);
        const Expected<std::unique_ptr<platform::ChildProcess>> started =
            platform::SpawnProcess(kSleeperProgram, kSleeperArguments, kEnvironment);
        ::sigaction(SIGPIPE, &pipeBefore, nullptr);
        ::close(inherited);
        QVERIFY2(started, qPrintable(started ? QString() : started.failure().words));
        const std::unique_ptr<platform::ChildProcess> &process = *started;
        // Its command line shows once the exec is complete.
        QList<pid_t> found;
        QTRY_VERIFY_WITH_TIMEOUT(!(found = ChildrenRunning(::getpid(), kSleeperWords)).isEmpty(),
                                 30000);
        KillAtEnd cleanup{found};
        QCOMPARE(found.size(), 1);
        const pid_t child = found.front();

        const QString fds = QStringLiteral("/proc/%1/fd").arg(child);
        QCOMPARE(QDir(fds).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList({"0", "1", "2"}));
        QCOMPARE(QFile::symLinkTarget(fds + "/0"), QStringLiteral("/dev/null"));
        QCOMPARE(StatusField(child, "SigBlk"), QByteArray("0000000000000000"));
        QCOMPARE(StatusField(child, "SigIgn"), QByteArray("0000000000000000"));
        // A session of its own.
        QCOMPARE(::getsid(child), child);

        process->sendSignal(SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(process->end().has_value(), 30000);
        QCOMPARE(process->end()->signal, SIGKILL);
    }

    void aChildDiesWithTheProgramThatStartedIt()
    {
        QProcess program;
        program.start(QCoreApplication::applicationDirPath() + "/spawn_and_wait",
                      {kSleeperWords[1]});
        QVERIFY(program.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine() || program.state() != QProcess::Running,
                                 60000);
        const pid_t sleeper = program.readLine().trimmed().toInt();
        KillAtEnd cleanup{{sleeper}};
        QVERIFY2(sleeper > 0, program.readAllStandardError().constData());
        // The thread that asked for it has ended, and it still runs.
        QVERIFY(IsAlive(sleeper));

        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(30000));
        QTRY_VERIFY_WITH_TIMEOUT(!IsAlive(sleeper), 30000);
    }

    void runForOutputGivesTheOutputOfAGoodEndOnly()
    {
        const std::optional<QByteArray> good = platform::RunForOutput(
            Path::FromBytes("/bin/sh"), {"-c", "echo out; echo noise >&2"}, kEnvironment, 60000);
        QVERIFY(good);
        QCOMPARE(*good, QByteArray("out\n"));
        QVERIFY(!platform::RunForOutput(Path::FromBytes("/bin/sh"), {"-c", "echo out; exit 3"},
                                        kEnvironment, 60000));
        QVERIFY(
            !platform::RunForOutput(Path::FromBytes("/no/such/program"), {}, kEnvironment, 60000));
    }

    void runForOutputEndsAProcessThatNeverEnds_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("cancelled");
        // The shell starts a sleep of its own, which must go too, and notes
        // both numbers.
        const QString sleeps =
            "sleep 86399.5 & echo $$ $! >\"$0.part\"; mv \"$0.part\" \"$0\"; wait";
        QTest::newRow("time is up while it writes") << sleeps << false;
        QTest::newRow("time is up after it closed its output") << "exec >&-; " + sleeps << false;
        QTest::newRow("cancelled") << sleeps << true;
    }

    void runForOutputEndsAProcessThatNeverEnds()
    {
        QFETCH(QString, script);
        QFETCH(bool, cancelled);
        QTemporaryDir folder;
        const QString pidFile = folder.filePath("pids");
        std::atomic<bool> cancel{false};
        std::atomic<bool> returned{false};
        std::optional<QByteArray> result;
        std::thread running([&] {
            result = platform::RunForOutput(Path::FromBytes("/bin/sh"),
                                            {"-c", script.toUtf8(), pidFile.toUtf8()}, kEnvironment,
                                            cancelled ? 3600000 : 1000, &cancel);
            returned = true;
        });
        const bool started =
            !cancelled || QTest::qWaitFor([&] { return QFile::exists(pidFile); }, 60000);
        cancel = cancelled;
        const bool ended = QTest::qWaitFor([&] { return returned.load(); }, 60000);
        QList<pid_t> pids;
        for (const QByteArray &pid : Contents(pidFile).simplified().split(' '))
            if (pid.toInt() > 0)
                pids << pid.toInt();
        // Lets the thread end before the test does.
        for (const pid_t pid : pids)
            if (!ended)
                ::kill(pid, SIGKILL);
        running.join();
        QVERIFY(started && ended);
        QVERIFY(!result);
        for (const pid_t pid : pids)
            QVERIFY2(!IsAlive(pid), qPrintable(QString::number(pid)));
    }

    void workNeverWaitsBehindWorkThatHangs()
    {
        // Work given one right after the other, the first of which never
        // ends by itself (a disk that stopped answering).
        std::atomic<bool> release{false};
        std::atomic<int> done{0};
        platform::RunDetached([&release] {
            while (!release)
                std::this_thread::yield();
        });
        for (int i = 0; i < 3; ++i)
            platform::RunDetached([&done] { ++done; });
        QTRY_COMPARE(done.load(), 3);
        release = true;
        // The threads are there for the next work.
        platform::RunDetached([&done] { ++done; });
        QTRY_COMPARE(done.load(), 4);
    }

    void theExitCleanUpEndsProcessesRemovesFilesAndRunsActionsOnce()
    {
        QTemporaryDir folder;
        const QString noted = folder.filePath("noted");
        const QString forgotten = folder.filePath("forgotten");
        QVERIFY(WriteFile(noted, "x") && WriteFile(forgotten, "x"));
        platform::ExitCleanup::AddFile(AsPath(noted));
        platform::ExitCleanup::AddFile(AsPath(forgotten));
        platform::ExitCleanup::RemoveFile(AsPath(forgotten));
        int runs = 0;
        int otherRuns = 0;
        platform::ExitCleanup::AddAction(&runs, [&runs] { ++runs; });
        platform::ExitCleanup::AddAction(&otherRuns, [&otherRuns] { ++otherRuns; });
        platform::ExitCleanup::RemoveAction(&otherRuns);
        const Expected<std::unique_ptr<platform::ChildProcess>> started =
            platform::SpawnProcess(kSleeperProgram, kSleeperArguments, kEnvironment);
        QVERIFY(started);
        const std::unique_ptr<platform::ChildProcess> &process = *started;

        platform::ExitCleanup::RunNow();
        QVERIFY(!QFile::exists(noted));
        QVERIFY(QFile::exists(forgotten));
        QCOMPARE(runs, 1);
        QCOMPARE(otherRuns, 0);
        QTRY_VERIFY_WITH_TIMEOUT(process->end().has_value(), 30000);
        QCOMPARE(process->end()->signal, SIGKILL);

        platform::ExitCleanup::RunNow();
        QCOMPARE(runs, 1);
    }

    void theSignalWatcherDeliversARaisedSignalThroughTheEventLoop()
    {
        const struct sigaction before = Disposition(SIGHUP);
        SetDisposition(SIGHUP, SIG_DFL);
        {
            platform::SignalWatcher watcher({SIGHUP});
            QCOMPARE(watcher.watched(), QList<int>({SIGHUP}));
            QSignalSpy received(&watcher, &platform::SignalWatcher::received);
            ::raise(SIGHUP);
            // Nothing is done inside the handler.
            QCOMPARE(received.count(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 30000);
            QCOMPARE(received.at(0).at(0).toInt(), SIGHUP);
        }
        QVERIFY(Disposition(SIGHUP).sa_handler == SIG_DFL);
        ::sigaction(SIGHUP, &before, nullptr);
    }

    void aSignalStartedIgnoredStaysIgnored()
    {
        const struct sigaction before = Disposition(SIGHUP);
        SetDisposition(SIGHUP, SIG_IGN);
        {
            platform::SignalWatcher watcher({SIGHUP, SIGUSR1});
            QCOMPARE(watcher.watched(), QList<int>({SIGUSR1}));
            QVERIFY(Disposition(SIGHUP).sa_handler == SIG_IGN);
        }
        QVERIFY(Disposition(SIGUSR1).sa_handler == SIG_DFL);
        ::sigaction(SIGHUP, &before, nullptr);
    }
};

QTEST_MAIN(ProcessesTest)
#include "test_processes.moc"
