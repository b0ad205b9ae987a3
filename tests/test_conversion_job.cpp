// The conversion job's scheduling with fake converters whose ends the test
// decides: how many run at once, the order of the outcomes, stopping, and
// converters that end at once or never start.

#include "conversion/ConversionJob.h"
#include "conversion/RunSummary.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace velunor;

namespace {

class FakeProcess : public ChildProcess {
public:
    std::optional<ProcessEnd> end() override { return end_; }
    void waitForEnd(int) override {}
    void sendSignal(int signal) override
    {
        signals_ << signal;
        if (endsOnSignal_)
            finish({0, signal});
    }
    QByteArray errorOutput() const override { return errorOutput_; }

    // Ends the process; the job hears of it from the event loop.
    void finish(ProcessEnd end, const QByteArray &errorOutput = {})
    {
        if (end_)
            return;
        end_ = end;
        errorOutput_ = errorOutput;
        QMetaObject::invokeMethod(
            this, [this] { emit ended(); }, Qt::QueuedConnection);
    }

    QStringList arguments;
    QList<int> signals_;
    bool endsOnSignal_ = true;

private:
    std::optional<ProcessEnd> end_;
    QByteArray errorOutput_;
};

class FakeStarter : public ProcessStarter {
public:
    std::unique_ptr<ChildProcess> startProcess(const QString &, const QStringList &arguments,
                                               const QStringList &, int &error) override
    {
        if (arguments.contains("cannot-start")) {
            error = ENOENT;
            return nullptr;
        }
        auto process = std::make_unique<FakeProcess>();
        process->arguments = arguments;
        process->endsOnSignal_ = endOnSignal;
        started << process.get();
        if (arguments.contains("ends-at-once"))
            process->finish({1, 0});
        return process;
    }
    // Every process started, in order (owned by the job).
    QList<QPointer<FakeProcess>> started;
    bool endOnSignal = true;

    int running() const
    {
        int count = 0;
        for (const auto &process : started)
            count += process && !process->end();
        return count;
    }
};

class ListSource : public FileSource {
public:
    explicit ListSource(const QStringList &names, const QString &folder)
    {
        for (const QString &name : names) {
            FilePlan plan;
            plan.inputPath = "/in/" + name;
            plan.outputPath = folder + "/" + name;
            plan.outputKey = plan.outputPath;
            plan.temporaryPath = folder + "/.tmp-" + name;
            plan.arguments.word(name);
            if (name.startsWith("skip"))
                plan.skipReason = "a reason";
            plans << plan;
        }
    }
    std::optional<FilePlan> nextFile() override
    {
        ++asked;
        if (duringTurn)
            duringTurn();
        if (plans.isEmpty())
            return std::nullopt;
        return plans.takeFirst();
    }
    QString replaceProblem(const FilePlan &) override { return QString(); }

    QList<FilePlan> plans;
    std::function<void()> duringTurn;
    int asked = 0;
};

QStringList Names(const QList<FileOutcome> &outcomes)
{
    QStringList names;
    for (const FileOutcome &outcome : outcomes)
        names << outcome.inputPath.mid(4) + ": " + outcome.reason();
    return names;
}

} // namespace

class ConversionJobTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    std::unique_ptr<ConversionJob> makeJob(FakeStarter &starter, ListSource &source, int parallel)
    {
        return std::make_unique<ConversionJob>(starter, "/stage/sox", QStringList(), parallel,
                                               source);
    }

private slots:
    void atMostNAtOnceAndOutcomesInListOrder()
    {
        FakeStarter starter;
        ListSource source({"a", "b", "skip-c", "d", "e"}, folder_.path());
        auto job = makeJob(starter, source, 2);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        job->start();
        QCOMPARE(starter.started.size(), 2);

        // The second ends first; its place goes to the next file, the skipped
        // one passing by on the way.
        starter.started[1]->finish({2, 0}, "sox FAIL formats: can't open input file `b'\n");
        QTRY_COMPARE(starter.started.size(), 3);
        QCOMPARE(starter.started[2]->arguments, QStringList({"d"}));
        QCOMPARE(starter.running(), 2);
        starter.started[2]->finish({0, 9});
        QTRY_COMPARE(starter.started.size(), 4);
        starter.started[0]->finish({1, 0});
        starter.started[3]->finish({3, 0});
        QTRY_COMPARE(finished.size(), 1);

        QCOMPARE(Names(job->outcomes()),
                 QStringList({"a: the converter failed (exit status 1)",
                              "b: sox FAIL formats: can't open input file `b'", "skip-c: a reason",
                              "d: ended by signal 9, Killed",
                              "e: the converter failed (exit status 3)"}));
        QCOMPARE(job->activeCount(), 0);
    }

    void converterThatEndsAtOnceOrCannotStart()
    {
        FakeStarter starter;
        ListSource source({"cannot-start", "ends-at-once", "x"}, folder_.path());
        auto job = makeJob(starter, source, 1);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);
        starter.started[1]->finish({4, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(Names(job->outcomes()),
                 QStringList({"cannot-start: the converter could not be started (No such file "
                              "or directory)",
                              "ends-at-once: the converter failed (exit status 1)",
                              "x: the converter failed (exit status 4)"}));
    }

    void stopEndsEveryConverterAndStartsNothingMore()
    {
        FakeStarter starter;
        starter.endOnSignal = false; // they ignore SIGTERM: SIGKILL must follow
        ListSource source({"a", "b", "c", "d"}, folder_.path());
        for (const FilePlan &plan : source.plans)
            QVERIFY(QFile(plan.temporaryPath).open(QIODevice::WriteOnly));
        auto job = makeJob(starter, source, 2);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        job->start();
        QCOMPARE(starter.started.size(), 2);
        job->stop(50);
        for (const auto &process : starter.started)
            QCOMPARE(process->signals_, QList<int>({SIGTERM}));
        QTRY_COMPARE(starter.started[0]->signals_, QList<int>({SIGTERM, SIGKILL}));
        starter.started[0]->finish({0, SIGKILL});
        starter.started[1]->finish({0, SIGKILL});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.started.size(), 2);
        QCOMPARE(Names(job->outcomes()), QStringList({"a: stopped before it was finished",
                                                      "b: stopped before it was finished"}));
        // The stopped converters' unfinished outputs are gone; the files
        // never reached are the source's to tell.
        QVERIFY(!QFile::exists(folder_.filePath(".tmp-a")));
        QVERIFY(!QFile::exists(folder_.filePath(".tmp-b")));
        QCOMPARE(source.plans.size(), 2);
    }

    void stopBetweenFilesFinishesAtOnce()
    {
        FakeStarter starter;
        ListSource source({"a", "b"}, folder_.path());
        auto job = makeJob(starter, source, 1);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        // The user stops while the second file's turn is decided (a message
        // of that turn lets the window handle the click).
        source.duringTurn = [&] {
            if (source.asked == 2)
                job->stop();
        };
        job->start();
        starter.started[0]->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.started.size(), 1);
        QCOMPARE(Names(job->outcomes()), QStringList({"a: the converter failed (exit status 1)",
                                                      "b: not started, the run was stopped"}));
    }

    void aFileWaitsForTheEarlierOneWithTheSameOutput()
    {
        FakeStarter starter;
        ListSource source({"a", "b", "c"}, folder_.path());
        source.plans[1].outputKey = source.plans[0].outputKey; // same name, other folder
        auto job = makeJob(starter, source, 3);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        job->start();
        QCOMPARE(starter.started.size(), 1);
        starter.started[0]->finish({1, 0});
        QTRY_COMPARE(starter.started.size(), 3);
        QCOMPARE(starter.started[1]->arguments, QStringList({"b"}));
        starter.started[1]->finish({1, 0});
        starter.started[2]->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
    }

    void theNoticeCountsEveryFile()
    {
        RunSummary summary;
        summary.addConverted();
        summary.addConverted();
        summary.addNotConverted("/in/a.mp3", "a reason");
        QCOMPARE(summary.counts(), QStringLiteral("1 of 3 files was not converted."));
        summary.addNotConverted("/in/b.mp3", "a reason");
        QCOMPARE(summary.counts(), QStringLiteral("2 of 4 files were not converted."));
    }

    void turnsThatLetEventsRunNeverStartTooMany()
    {
        FakeStarter starter;
        ListSource source({"a", "b", "c", "d", "e", "f"}, folder_.path());
        auto job = makeJob(starter, source, 2);
        QSignalSpy finished(job.get(), &ConversionJob::finished);
        int most = 0;
        // Each turn shows something that lets other converters end meanwhile.
        source.duringTurn = [&] {
            for (const auto &process : starter.started)
                if (process && !process->end())
                    process->finish({1, 0});
            QCoreApplication::processEvents();
            most = std::max(most, starter.running());
        };
        job->start();
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(most <= 2);
        QCOMPARE(job->outcomes().size(), 6);
    }
};

QTEST_MAIN(ConversionJobTest)
#include "test_conversion_job.moc"
