// The conversion job's scheduling with fake converters whose ends the test
// decides: how many run at once, which starts first, the order of the
// outcomes, stopping (also with a worker that hangs), and the final message.

#include "Audio.h"
#include "Files.h"
#include "conversion/ConversionJob.h"
#include "conversion/RunSummary.h"
#include "platform/Processors.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

class FakeProcess : public platform::ChildProcess {
public:
    std::optional<platform::ProcessEnd> end() override { return end_; }
    void waitForEnd(int) override {}
    void sendSignal(int signal) override
    {
        signals_ << signal;
        if (signalled)
            (*signalled)[input] << signal;
        if (endsOnSignal_)
            finish({0, signal});
    }
    QByteArray errorOutput() const override { return errorOutput_; }

    // Ends the process; the job hears of it from the event loop.
    void finish(platform::ProcessEnd end, const QByteArray &errorOutput = {})
    {
        if (end_)
            return;
        end_ = end;
        errorOutput_ = errorOutput;
        QMetaObject::invokeMethod(
            this, [this] { emit ended(); }, Qt::QueuedConnection);
    }

    QString input;
    QList<int> signals_;
    QHash<QString, QList<int>> *signalled = nullptr;
    bool endsOnSignal_ = true;

private:
    std::optional<platform::ProcessEnd> end_;
    QByteArray errorOutput_;
};

class FakeStarter : public platform::ProcessStarter {
public:
    Expected<std::unique_ptr<platform::ChildProcess>> startProcess(const Path &program,
                                                                   const QByteArrayList &arguments,
                                                                   const QByteArrayList &) override
    {
        programs << program.text();
        // --no-glob INPUT -c 1 --no-glob OUTPUT ...
        const QString input = Path::FromBytes(arguments.value(1)).fileName().text();
        if (input.startsWith("cannot-start"))
            return Failure::OfErrno(ENOENT);
        if (!output.isEmpty())
            WriteFile(QString::fromUtf8(arguments.value(5)), output);
        auto process = std::make_unique<FakeProcess>();
        process->input = input;
        process->signalled = &signalled;
        process->endsOnSignal_ = endOnSignal;
        mostAtOnce = std::max(mostAtOnce, running() + 1);
        started << process.get();
        inputs << input;
        if (input.startsWith("ends-at-once"))
            process->finish({1, 0});
        return std::unique_ptr<platform::ChildProcess>(std::move(process));
    }
    // Every process started, in order (owned by the job).
    QList<QPointer<FakeProcess>> started;
    bool endOnSignal = true;
    QByteArray output; // what each converter writes, when anything
    int mostAtOnce = 0;

    // The process started for `input`; the first files may start in any
    // order, as each waits for its frames to be walked.
    FakeProcess *of(const QString &input) const
    {
        for (const auto &process : started)
            if (process && process->input == input)
                return process;
        return nullptr;
    }
    int running() const
    {
        int count = 0;
        for (const auto &process : started)
            count += process && !process->end();
        return count;
    }
    QStringList inputs;                   // of every process started, in order
    QStringList programs;                 // the program each was started with
    QHash<QString, QList<int>> signalled; // by input, even once the process is gone
};

// The turns of files in `inputs` (a folder) written to `outputs`.
class ListSource : public conversion::FileSource {
public:
    ListSource(const QStringList &names, const QString &inputs, const QString &outputs)
        : outputs_(AsPath(outputs))
    {
        for (const QString &name : names)
            add(name, inputs);
    }
    void add(const QString &name, const QString &inputs)
    {
        conversion::FileTurn turn;
        turn.item = ++lastItem;
        turn.inputPath = AsPath(inputs + "/" + name);
        turn.outputFolder = outputs_;
        turn.mode = conversion::ChannelMode::Mix;
        turns << turn;
    }
    std::optional<conversion::FileTurn> nextTurn() override
    {
        if (turns.isEmpty())
            return std::nullopt;
        return turns.takeFirst();
    }
    int waitingCount() const override { return static_cast<int>(turns.size()); }
    bool stillListed(filelist::ItemId) const override { return true; }
    conversion::FileChoices currentChoices() override
    {
        return {outputs_, conversion::ChannelMode::Mix, {}};
    }

    QList<conversion::FileTurn> turns;
    filelist::ItemId lastItem = 0;

private:
    Path outputs_;
};

// Plans each turn as it comes, without looking at the disk: the output takes
// the input's name, and a name that starts with "skip" is skipped.
conversion::FilePlan PlanAsNamed(const conversion::FileTurn &turn)
{
    conversion::FilePlan plan;
    plan.item = turn.item;
    plan.inputPath = turn.inputPath;
    plan.outputFolder = turn.outputFolder;
    plan.outputFolderKey = turn.outputFolder;
    plan.outputPath = turn.outputFolder.child(turn.inputPath.fileName());
    plan.mode = turn.mode.value_or(conversion::ChannelMode::Mix);
    if (turn.inputPath.fileName().bytes().startsWith("skip"))
        plan.skipReason = QStringLiteral("a reason");
    return plan;
}

QStringList Names(const QList<conversion::FileOutcome> &outcomes)
{
    QStringList names;
    for (const conversion::FileOutcome &outcome : outcomes)
        names << outcome.inputPath.fileName().text() + ": " + outcome.reason();
    return names;
}

} // namespace

class ConversionJobTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> inputs_;
    std::unique_ptr<QTemporaryDir> outputs_;

    std::unique_ptr<conversion::ConversionJob> makeJob(FakeStarter &starter, ListSource &source,
                                                       int parallel)
    {
        conversion::JobSetup setup;
        setup.converter.path = Path::FromBytes("/stage/sox");
        setup.parallel = parallel;
        setup.plan = PlanAsNamed;
        return std::make_unique<conversion::ConversionJob>(starter, setup, source);
    }
    // A job whose converter is still being staged.
    static conversion::JobSetup StagingSetup(int parallel)
    {
        conversion::JobSetup setup;
        setup.parallel = parallel;
        setup.plan = PlanAsNamed;
        setup.stagingPending = true;
        return setup;
    }
    ListSource source(const QStringList &names)
    {
        return ListSource(names, inputs_->path(), outputs_->path());
    }
    QStringList leftovers() const { return Entries(outputs_->path()); }

private slots:
    void init()
    {
        inputs_ = std::make_unique<QTemporaryDir>();
        outputs_ = std::make_unique<QTemporaryDir>();
    }

    void atMostNAtOnceAndOutcomesInListOrder()
    {
        FakeStarter starter;
        ListSource files = source({"a", "b", "skip-c", "d", "e"});
        auto job = makeJob(starter, files, 2);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);

        // The second ends first; its place goes to the next file, the skipped
        // one passing by on the way.
        starter.of("b")->finish({2, 0}, "sox FAIL formats: can't open input file `b'\n");
        QTRY_COMPARE(starter.started.size(), 3);
        QCOMPARE(starter.started[2]->input, QStringLiteral("d"));
        QCOMPARE(starter.running(), 2);
        starter.started[2]->finish({0, 9});
        QTRY_COMPARE(starter.started.size(), 4);
        starter.of("a")->finish({1, 0});
        starter.started[3]->finish({0, 0}); // ended well, but wrote nothing
        QTRY_COMPARE(finished.size(), 1);

        QCOMPARE(
            Names(job->outcomes()),
            QStringList({"a: the converter failed (exit status 1)",
                         "b: formats: can't open input file `b'", "skip-c: a reason",
                         "d: ended by signal 9, Killed", "e: the converter wrote no output file"}));
        QCOMPARE(job->activeCount(), 0);
        QCOMPARE(starter.mostAtOnce, 2);
        QCOMPARE(leftovers(), QStringList());
    }

    // While the converter is being staged the files are planned, but none is
    // started before the job is told the converter, and then with it.
    void nothingStartsBeforeTheConverterIsStaged()
    {
        FakeStarter starter;
        ListSource files = source({"a", "skip-b"});
        conversion::ConversionJob job(starter, StagingSetup(2), files);
        QSignalSpy finished(&job, &conversion::ConversionJob::finished);
        job.start();
        // Planned in list order: "a" waits once "skip-b" is settled.
        QTRY_COMPARE(Names(job.outcomes()), QStringList({"skip-b: a reason"}));
        QCoreApplication::processEvents();
        QCOMPARE(starter.started.size(), 0);

        bool asked = false;
        job.converterStaged({Path::FromBytes("/stage/sox"), {}, {}}, [&asked]() -> Done {
            asked = true;
            return {};
        });
        QTRY_COMPARE(starter.started.size(), 1);
        QVERIFY(asked);
        QCOMPARE(starter.programs, QStringList({"/stage/sox"}));
        starter.started[0]->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(Names(job.outcomes()),
                 QStringList({"a: the converter failed (exit status 1)", "skip-b: a reason"}));
    }

    // The MP3s are measured while the converter is staged; any other kind
    // once it is, by the converter.
    void inputsAreMeasuredWhileTheConverterIsStaged()
    {
        QCOMPARE(MakeStereoMp3(inputs_->filePath("six.mp3"), 6.0), QString());
        QCOMPARE(MakeStereoAudio(inputs_->filePath("two.wav"), 2.0), QString());
        FakeStarter starter;
        ListSource files = source({"six.mp3", "two.wav"});
        conversion::ConversionJob job(starter, StagingSetup(1), files);
        job.start();
        // The WAV counts as long as the average of what is measured.
        QTRY_VERIFY(std::abs(job.progress().audioSeconds - 12.0) < 0.1);
        QCOMPARE(starter.started.size(), 0);

        QSignalSpy finished(&job, &conversion::ConversionJob::finished);
        const QString sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
        job.converterStaged({Path::FromBytes(QFile::encodeName(sox)), {}, {}},
                            []() -> Done { return {}; });
        QTRY_VERIFY(std::abs(job.progress().audioSeconds - 8.0) < 0.1);
        QTRY_COMPARE(starter.inputs, QStringList({"six.mp3"}));
        starter.started[0]->finish({1, 0});
        QTRY_COMPARE(starter.started.size(), 2);
        starter.started[1]->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
    }

    void converterThatEndsAtOnceOrCannotStart()
    {
        FakeStarter starter;
        ListSource files = source({"cannot-start", "ends-at-once", "x"});
        auto job = makeJob(starter, files, 1);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);
        starter.started[1]->finish({4, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(Names(job->outcomes()),
                 QStringList({"cannot-start: the converter could not be started (No such file "
                              "or directory)",
                              "ends-at-once: the converter failed (exit status 1)",
                              "x: the converter failed (exit status 4)"}));
        QCOMPARE(leftovers(), QStringList());
    }

    void theLongestFilesStartFirst()
    {
        // A shell would start these in list order and leave a core idle at
        // the end; the job starts the long one as soon as it knows of it.
        for (const auto &[name, seconds] :
             {std::pair{"short1.mp3", 1.0}, {"short2.mp3", 2.0}, {"long.mp3", 6.0}})
            QCOMPARE(MakeStereoMp3(inputs_->filePath(name), seconds), QString());
        FakeStarter starter;
        ListSource files = source({"short1.mp3", "short2.mp3", "long.mp3"});
        auto job = makeJob(starter, files, 1);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.inputs, QStringList({"short1.mp3"}));
        // Until every file is measured, the total counts unmeasured ones as
        // the average.
        QTRY_VERIFY(std::abs(job->progress().audioSeconds - 9.0) < 0.5);
        starter.started[0]->finish({1, 0});
        QTRY_COMPARE(starter.started.size(), 2);
        starter.started[1]->finish({1, 0});
        QTRY_COMPARE(starter.started.size(), 3);
        starter.started[2]->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.inputs, QStringList({"short1.mp3", "long.mp3", "short2.mp3"}));
        // What the user sees stays in list order.
        const QString failed = ": the converter failed (exit status 1)";
        QCOMPARE(Names(job->outcomes()),
                 QStringList({"short1.mp3" + failed, "short2.mp3" + failed, "long.mp3" + failed}));
    }

    void progressWeighsAudioAndTellsTheTimeLeft()
    {
        QCOMPARE(MakeStereoMp3(inputs_->filePath("long.mp3"), 6.0), QString());
        QCOMPARE(MakeStereoMp3(inputs_->filePath("short.mp3"), 1.0), QString());
        const QString mono = inputs_->filePath("mono.mp3");
        QCOMPARE(ConvertToMono(inputs_->filePath("long.mp3"), mono), QString());
        // Each converter has written half of a six-second output so far.
        FakeStarter starter;
        starter.output = Contents(mono).left(Contents(mono).size() / 2);
        ListSource files = source({"long.mp3", "short.mp3"});
        qint64 now = 0;
        conversion::JobSetup setup;
        setup.parallel = 2;
        setup.plan = PlanAsNamed;
        setup.clockMs = [&now] { return now; };
        conversion::ConversionJob job(starter, setup, files);
        QSignalSpy finished(&job, &conversion::ConversionJob::finished);
        job.start();
        QTRY_VERIFY(std::abs(job.progress().audioSeconds - 7.0) < 0.5 &&
                    starter.started.size() == 2);

        // The long file is half done and the short one nearly: about four of
        // seven seconds, whatever the count of files says.
        conversion::RunProgress progress = job.progress();
        QVERIFY2(progress.fraction > 0.5 && progress.fraction < 0.62,
                 qPrintable(QString::number(progress.fraction)));
        QCOMPARE(progress.secondsLeft, std::optional<qint64>());
        QCOMPARE(progress.atWork.text(), inputs_->filePath("long.mp3"));
        // Four seconds of audio in ten: three more take about seven and a half.
        now = 10000;
        progress = job.progress();
        QVERIFY(progress.secondsLeft && *progress.secondsLeft >= 6 && *progress.secondsLeft <= 9);

        // A file that fails counts as done: the bar never goes back.
        const double before = progress.fraction;
        starter.of("long.mp3")->finish({1, 0});
        QTRY_COMPARE(job.progress().atWork.text(), inputs_->filePath("short.mp3"));
        QVERIFY(job.progress().fraction >= before);
        QVERIFY(job.progress().fraction < 1.0);
        starter.of("short.mp3")->finish({1, 0});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(job.progress().fraction, 1.0);
    }

    void stopEndsEveryConverterAndStartsNothingMore()
    {
        FakeStarter starter;
        starter.endOnSignal = false; // they ignore SIGTERM: SIGKILL must follow
        ListSource files = source({"a", "b", "c", "d"});
        auto job = makeJob(starter, files, 2);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);
        QCOMPARE(leftovers().size(), 2); // each converter's hidden output
        job->stop();
        for (const auto &process : starter.started)
            QCOMPARE(process->signals_, QList<int>({SIGTERM}));
        QTRY_COMPARE(starter.started[0]->signals_, QList<int>({SIGTERM, SIGKILL}));
        starter.started[0]->finish({0, SIGKILL});
        starter.started[1]->finish({0, SIGKILL});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.started.size(), 2);
        QCOMPARE(Names(job->outcomes()), QStringList({"a: stopped before it was finished",
                                                      "b: stopped before it was finished",
                                                      "c: not started, the run was stopped",
                                                      "d: not started, the run was stopped"}));
        QCOMPARE(leftovers(), QStringList());
    }

    void aConverterThatEndedBeforeTheStopIsFinished()
    {
        // It ends well just before the press, and its end is still on the
        // way through the event loop: its whole output is kept.
        for (const QString name : {"a.mp3", "b.mp3"})
            QCOMPARE(MakeStereoMp3(inputs_->filePath(name), 1.0), QString());
        FakeStarter starter;
        starter.output = Contents(inputs_->filePath("a.mp3"));
        ListSource files = source({"a.mp3", "b.mp3"});
        auto job = makeJob(starter, files, 2);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);
        starter.of("a.mp3")->finish({0, 0});
        job->stop();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.signalled.value("a.mp3"), QList<int>());
        QCOMPARE(starter.signalled.value("b.mp3"), QList<int>({SIGTERM}));
        QCOMPARE(Names(job->outcomes()),
                 QStringList({"a.mp3: ", "b.mp3: stopped before it was finished"}));
        QCOMPARE(leftovers(), QStringList({"a.mp3"}));
    }

    void aWorkerThatHangsIsGivenUpOnWhenStopped()
    {
        // The input stands for a disk that stopped answering once its
        // converter started: reading it never returns until the test lets it.
        const QString input = inputs_->filePath("hangs.mp3");
        QCOMPARE(MakeStereoMp3(inputs_->filePath("real.mp3"), 1.0), QString());
        QVERIFY(QFile::copy(inputs_->filePath("real.mp3"), input));
        FakeStarter starter;
        starter.output = Contents(inputs_->filePath("real.mp3"));
        ListSource files = source({"hangs.mp3"});
        auto job = makeJob(starter, files, 1);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 1);
        QVERIFY(QFile::remove(input) && ::mkfifo(QFile::encodeName(input).constData(), 0600) == 0);
        starter.started[0]->finish({0, 0});
        QTRY_COMPARE(job->progress().atWork, Path()); // its output is being checked
        job->stop();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(Names(job->outcomes()),
                 QStringList({"hangs.mp3: stopped before it was finished"}));
        QCOMPARE(leftovers(), QStringList());
        // Lets the stuck readers go.
        const int fd = ::open(QFile::encodeName(input).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }

    // A worker given up on while it waited to claim its output's name (the
    // folder held by another run) goes on once the job is gone: it touches
    // only what it owns or shares, and never the final name.
    void aWorkerThatWakesAfterTheJobIsGoneTouchesNothing()
    {
        QCOMPARE(MakeStereoMp3(inputs_->filePath("a.mp3"), 1.0), QString());
        const QString mono = inputs_->filePath("mono.mp3");
        QCOMPARE(ConvertToMono(inputs_->filePath("a.mp3"), mono), QString());
        FakeStarter starter;
        starter.output = Contents(mono);
        ListSource files = source({"a.mp3"});
        conversion::JobSetup setup;
        setup.plan = PlanAsNamed;
        setup.names = std::make_shared<conversion::OutputNames>();
        auto listedAsked = std::make_shared<std::atomic<bool>>(false);
        setup.listed = [listedAsked](const platform::FileIdentity &, const std::atomic<bool> *) {
            *listedAsked = true;
            return std::optional<bool>(false);
        };
        // A file of the user's own at the output's name: the list is asked
        // about it before the name is claimed.
        QVERIFY(WriteFile(outputs_->filePath("a.mp3"), "mine"));
        const int held = ::open(QFile::encodeName(outputs_->path()).constData(), O_RDONLY);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        auto job = std::make_unique<conversion::ConversionJob>(starter, setup, files);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 1);
        starter.started[0]->finish({0, 0});
        QTRY_VERIFY(*listedAsked); // the worker looked the list up, then met the lock
        job->stop();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        job.reset();
        setup = conversion::JobSetup();
        ::close(held);
        QTRY_COMPARE(leftovers(), QStringList({"a.mp3"}));
        QCOMPARE(Contents(outputs_->filePath("a.mp3")), QByteArray("mine"));
    }

    void aStopWhileFilesAreBeingPlannedStartsNothing()
    {
        FakeStarter starter;
        ListSource files = source({"a", "b"});
        auto job = makeJob(starter, files, 1);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        job->stop();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(starter.started.size(), 0);
        QCOMPARE(Names(job->outcomes()), QStringList({"a: not started, the run was stopped",
                                                      "b: not started, the run was stopped"}));
    }

    void filesAddedDuringTheRunJoinInListOrder()
    {
        FakeStarter starter;
        ListSource files = source({"a", "b"});
        auto job = makeJob(starter, files, 2);
        QSignalSpy finished(job.get(), &conversion::ConversionJob::finished);
        job->start();
        QTRY_COMPARE(starter.started.size(), 2);
        for (const QString name : {"c", "d", "e", "f"})
            files.add(name, inputs_->path());
        for (int started = 0; started < 6; ++started) {
            QTRY_VERIFY(starter.started.size() > started);
            starter.started[started]->finish({1, 0});
        }
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(starter.mostAtOnce <= 2);
        QStringList names;
        for (const conversion::FileOutcome &outcome : job->outcomes())
            names << outcome.inputPath.fileName().text();
        QCOMPARE(names, QStringList({"a", "b", "c", "d", "e", "f"}));
    }

    void theSummaryNamesEveryFileAndWhereItWent()
    {
        conversion::RunSummary summary;
        conversion::FileOutcome same;
        same.inputPath = AsPath("/B/01.mp3");
        same.outputPath = AsPath("/out/01 (2).mp3");
        same.nameChanges = conversion::NameChange::SameNameInList;
        summary.add(same);
        conversion::FileOutcome trashed;
        trashed.inputPath = AsPath("/in/track.mp3");
        trashed.outputPath = AsPath("/out/track.mp3");
        trashed.trashedPath = AsPath("/out/track.mp3");
        summary.add(trashed);
        for (int i = 0; i < 12; ++i)
            summary.addNotConverted(AsPath(QStringLiteral("/in/%1.mp3").arg(i)), "a reason");
        QCOMPARE(summary.counts(), QStringLiteral("12 of 14 files were not converted."));

        const QString message = summary.message();
        QVERIFY2(message.startsWith("Done.\r\n\r\n12 files were not converted:\r\n/in/0.mp3 - a "
                                    "reason\r\n"),
                 qPrintable(message));
        QVERIFY(message.contains("/in/9.mp3 - a reason\r\n... and 2 more.\r\n\r\n"));
        QVERIFY(!message.contains("/in/10.mp3"));
        QVERIFY(message.endsWith(
            "2 files were saved under another name or in place of a file of yours:\r\n"
            "/B/01.mp3 -> /out/01 (2).mp3 - another file in the list has the same name\r\n"
            "/in/track.mp3 -> /out/track.mp3 - your file of that name was moved to the Trash"));
        // The details hold every file.
        const QString details = summary.details();
        QVERIFY(details.contains("/in/11.mp3 - a reason\r\n\r\n2 files were saved"));
        QVERIFY(!details.contains("more."));

        conversion::RunSummary clean;
        conversion::FileOutcome converted;
        converted.inputPath = AsPath("/in/a.mp3");
        clean.add(converted);
        QCOMPARE(clean.message(), QStringLiteral("Done."));
        QCOMPARE(clean.details(), QString());
    }

    // A container started with --cpus has a CPU quota rather than fewer
    // processors: the smallest quota of its group and those above counts.
    void aCpuQuotaLimitsTheConversionsAtOnce()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("box/run"));
        QVERIFY(WriteFile(root.filePath("box/cpu.max"), "250000 100000\n"));
        QVERIFY(WriteFile(root.filePath("box/run/cpu.max"), "max 100000\n"));
        const Path at = AsPath(root.path());
        QCOMPARE(platform::QuotaProcessors("1:cpu:/\n0::/box/run\n", at), std::optional<int>(3));
        QVERIFY(WriteFile(root.filePath("box/run/cpu.max"), "50000 100000\n"));
        QCOMPARE(platform::QuotaProcessors("0::/box/run\n", at), std::optional<int>(1));
        // No quota anywhere, or only the old hierarchy: the processors decide.
        QCOMPARE(platform::QuotaProcessors("0::/elsewhere\n", at), std::nullopt);
        QCOMPARE(platform::QuotaProcessors("1:cpu:/box\n", at), std::nullopt);
    }
};

QTEST_MAIN(ConversionJobTest)
#include "test_conversion_job.moc"
