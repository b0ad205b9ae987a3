// The converter's command lines and RunAndWait, with the real SoX staged from
// the executable's own resources and stereo MP3s made for each test.

#include "Audio.h"
#include "CountingProcessStarter.h"
#include "Files.h"
#include "conversion/CommandLine.h"
#include "conversion/ConverterFiles.h"
#include "conversion/Shell32.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

class ConverterInvocationTest : public QObject {
    Q_OBJECT

    QTemporaryDir staging_;
    QTemporaryDir work_;
    CountingProcessStarter processes_;
    // Every status text RunAndWait showed, in order.
    QStringList shown_;
    Shell32::StatusText show_ = [this](const QString &text) { shown_ << text; };

    QString converter() const
    {
        return StagedPath(AsPath(staging_.path()), ConverterProgram()).text();
    }

    qint32 convert(ChannelMode mode, const QString &input, const QString &output)
    {
        return Shell32::RunAndWait(
            processes_,
            CommandLine(AsPath(converter()),
                        ArgumentString::ForMode(mode, AsPath(input), AsPath(output))),
            show_);
    }

    static CommandLine Program(const QString &path, const QStringList &words = {})
    {
        ArgumentString arguments;
        for (const QString &word : words)
            arguments.word(word);
        return CommandLine(AsPath(path), arguments);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(staging_.isValid() && work_.isValid());
        StageConverter(staging_.path());
        QCOMPARE(MakeStereoMp3(work_.filePath("stereo.mp3")), QString());
    }

    // ---- command lines ---------------------------------------------------

    void commandLineText_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        const QStringList common = {"--no-glob", "/in/a b.mp3", "-c",
                                    "1",         "--no-glob",   "/out/a b.mp3"};
        const QString mix = R"("/t/sox"  --no-glob "/in/a b.mp3" -c 1 --no-glob "/out/a b.mp3")";
        QTest::newRow("mix") << int(ChannelMode::Mix) << QStringList() << mix << common;
        QTest::newRow("left") << int(ChannelMode::LeftOnly) << QStringList() << mix + " remix 1"
                              << common + QStringList{"remix", "1"};
        QTest::newRow("right") << int(ChannelMode::RightOnly) << QStringList() << mix + " remix 2"
                               << common + QStringList{"remix", "2"};
        QTest::newRow("right, VBR")
            << int(ChannelMode::RightOnly) << QStringList{"-C", "-4"}
            << R"("/t/sox"  --no-glob "/in/a b.mp3" -c 1 -C -4 --no-glob "/out/a b.mp3" remix 2)"
            << QStringList{"--no-glob", "/in/a b.mp3", "-c",           "1",     "-C",
                           "-4",        "--no-glob",   "/out/a b.mp3", "remix", "2"};
    }

    void commandLineText()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, encoding);
        QFETCH(QString, text);
        QFETCH(QStringList, arguments);
        const CommandLine line(Path::FromBytes("/t/sox"),
                               ArgumentString::ForMode(ChannelMode(mode), AsPath("/in/a b.mp3"),
                                                       AsPath("/out/a b.mp3"), encoding));
        QCOMPARE(line.text(), text);
        QCOMPARE(line.program().text(), QStringLiteral("/t/sox"));
        QByteArrayList bytes;
        for (const QString &argument : arguments)
            bytes << argument.toUtf8();
        QCOMPARE(line.arguments(), bytes);
    }

    // ---- real conversions --------------------------------------------------

    void eachModeGivesTheExpectedMonoFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        // The source has 440 Hz left and 1000 Hz right, each at half scale.
        QTest::newRow("mix") << int(ChannelMode::Mix) << 0.25 << 0.25;
        QTest::newRow("left") << int(ChannelMode::LeftOnly) << 0.5 << 0.0;
        QTest::newRow("right") << int(ChannelMode::RightOnly) << 0.0 << 0.5;
    }

    void eachModeGivesTheExpectedMonoFile()
    {
        QFETCH(int, mode);
        QFETCH(double, left);
        QFETCH(double, right);
        const QString output = work_.filePath(QString("mode %1.mp3").arg(mode));
        QCOMPARE(convert(ChannelMode(mode), work_.filePath("stereo.mp3"), output), 0);
        QCOMPARE(ChannelCount(output), 1);
        const QVector<double> levels = ToneAmplitudes(output, {440, 1000});
        QCOMPARE(levels.size(), 2);
        QVERIFY2(qAbs(levels[0] - left) < 0.05, qPrintable(QString::number(levels[0])));
        QVERIFY2(qAbs(levels[1] - right) < 0.05, qPrintable(QString::number(levels[1])));
        QCOMPARE(shown_.last(), QStringLiteral("Progress Bar"));
    }

    void wildcardCharactersAreJustCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("neighbour");
        QTest::newRow("brackets") << "song [live].mp3"
                                  << "song l.mp3";
        QTest::newRow("braces") << "hits {2020}.mp3"
                                << "hits 2020.mp3";
        QTest::newRow("question mark") << "q?.mp3"
                                       << "qa.mp3";
    }

    void wildcardCharactersAreJustCharacters()
    {
        QFETCH(QString, name);
        QFETCH(QString, neighbour);
        // The neighbour, which a pattern reading of the name would pick,
        // holds other tones.
        // The same holds for the output: the neighbour beside it is the
        // user's own file and stays as it was.
        QTemporaryDir in;
        QTemporaryDir out;
        QCOMPARE(MakeStereoMp3(in.filePath(name)), QString());
        QCOMPARE(MakeStereoMp3(in.filePath(neighbour), 1.0, 300, 300), QString());
        QVERIFY(QFile::copy(in.filePath(neighbour), out.filePath(neighbour)));
        const QByteArray untouched = Contents(out.filePath(neighbour));
        QCOMPARE(convert(ChannelMode::LeftOnly, in.filePath(name), out.filePath(name)), 0);
        QCOMPARE(Contents(out.filePath(neighbour)), untouched);
        const QVector<double> levels = ToneAmplitudes(out.filePath(name), {440, 300});
        QCOMPARE(levels.size(), 2);
        QVERIFY(levels[0] > 0.4);
        QVERIFY(levels[1] < 0.05);
    }

    void aHostileNameConvertsAndNothingElseRuns()
    {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const QString name = R"(it's "a" $(touch dollar) `touch backquote` ;touch semicolon;b)";
        const QString input = folder.filePath(name + ".mp3");
        QCOMPARE(MakeStereoMp3(input), QString());
        const QString output = folder.filePath(name + " out.mp3");
        const qint32 result = convert(ChannelMode::Mix, input, output);
        QDir::setCurrent(previous);
        QCOMPARE(result, 0);
        QCOMPARE(ChannelCount(output), 1);
        for (const char *planted : {"dollar", "backquote", "semicolon"})
            QVERIFY2(!QFile::exists(folder.filePath(planted)), planted);
    }

    void aRelativeNameWithALeadingDashIsAFile()
    {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        QCOMPARE(MakeStereoMp3(folder.filePath("-n.mp3")), QString());
        const qint32 result = convert(ChannelMode::Mix, "-n.mp3", "-out.mp3");
        QDir::setCurrent(previous);
        QCOMPARE(result, 0);
        QCOMPARE(ChannelCount(folder.filePath("-out.mp3")), 1);
    }

    void theStagedLibrariesAreTheOnesLoaded()
    {
        QTemporaryDir trace;
        qputenv("LD_DEBUG", "libs");
        qputenv("LD_DEBUG_OUTPUT", QFile::encodeName(trace.filePath("loader")));
        const qint32 result =
            convert(ChannelMode::Mix, work_.filePath("stereo.mp3"), work_.filePath("traced.mp3"));
        qunsetenv("LD_DEBUG");
        qunsetenv("LD_DEBUG_OUTPUT");
        QCOMPARE(result, 0);
        QString log;
        for (const QString &name : QDir(trace.path()).entryList(QDir::Files)) {
            QFile file(trace.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            log += QString::fromLocal8Bit(file.readAll());
        }
        for (const ConverterFile &file : ConverterFileSet()) {
            if (file.executable)
                continue;
            const QString loaded =
                "calling init: " + StagedPath(AsPath(staging_.path()), file).text();
            QVERIFY2(log.contains(loaded), qPrintable(loaded));
        }
    }

    // ---- the environment ---------------------------------------------------

    void environmentDropsSoxOptionsAndPutsTheStagingFolderFirst()
    {
        qputenv("SOX_OPTS", "--norm");
        qputenv("LD_LIBRARY_PATH", "/opt/lib");
        const auto environment = [](const char *folder) {
            QStringList texts;
            for (const QByteArray &entry : Shell32::ConverterEnvironment(Path::FromBytes(folder)))
                texts << QString::fromUtf8(entry);
            return texts;
        };
        QVERIFY(environment("/stage/").filter(QRegularExpression("^SOX_OPTS=")).isEmpty());
        QCOMPARE(environment("/stage/").filter(QRegularExpression("^LD_LIBRARY_PATH=")),
                 QStringList({"LD_LIBRARY_PATH=/stage/:/opt/lib"}));
        // An empty entry would add the current folder to the search.
        qputenv("LD_LIBRARY_PATH", "");
        QCOMPARE(environment("/stage").filter(QRegularExpression("^LD_LIBRARY_PATH=")),
                 QStringList({"LD_LIBRARY_PATH=/stage"}));
        qunsetenv("SOX_OPTS");
        qunsetenv("LD_LIBRARY_PATH");
    }

    // ---- waiting ------------------------------------------------------------

    void aProcessEndingAtOnceShowsOneCount()
    {
        shown_.clear();
        QCOMPARE(Shell32::RunAndWait(processes_, Program("/bin/true"), show_), 0);
        QCOMPARE(shown_, QStringList({"Please wait.. 1", "Progress Bar"}));
        QCOMPARE(Shell32::RunAndWait(processes_, Program("/bin/false"), show_), 1);
    }

    void aLongerProcessCountsItsPollsUntilItsEnd()
    {
        // The process ends when the fifth count has been shown: it waits for
        // the other end of a FIFO, which the status opens and closes then,
        // and the status returns only once the process has ended. No count
        // may follow.
        QTemporaryDir folder;
        const QString fifo = folder.filePath("release");
        const QString pidFile = folder.filePath("pid");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QStringList shown;
        const Shell32::StatusText show = [&](const QString &text) {
            shown << text;
            if (text != QStringLiteral("Please wait.. 5"))
                return;
            // Blocks until the process has the FIFO open for reading.
            const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_CLOEXEC);
            QVERIFY(writer >= 0);
            ::close(writer);
            const pid_t pid = Contents(pidFile).trimmed().toInt();
            QVERIFY(pid > 0);
            siginfo_t info{};
            while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0)
                QCOMPARE(errno, EINTR);
        };
        // Tabs: a word of a command line holds no space.
        const qint32 result = Shell32::RunAndWait(
            processes_, Program("/bin/sh", {"-c", "echo\t$$\t>$0;\texec\tcat\t$1", pidFile, fifo}),
            show);
        QCOMPARE(result, 0);
        QCOMPARE(shown, QStringList({"Please wait.. 1", "Please wait.. 2", "Please wait.. 3",
                                     "Please wait.. 4", "Please wait.. 5", "Progress Bar"}));
    }

    void aSignalEndingTheProcessIsAFailure()
    {
        // sh ends itself with SIGTERM (15).
        QCOMPARE(Shell32::RunAndWait(processes_, Program("/bin/sh", {"-c", "kill\t$$"}), show_),
                 128 + 15);
    }

    void anIgnoredChildSignalDoesNotHideAFailure()
    {
        // Inherited from a parent that ignores SIGCHLD, the system would drop
        // every exit status and a failure would read as success.
        struct sigaction ignore {};
        struct sigaction previous {};
        ignore.sa_handler = SIG_IGN;
        QVERIFY(::sigaction(SIGCHLD, &ignore, &previous) == 0);
        const qint32 result = Shell32::RunAndWait(processes_, Program("/bin/false"), show_);
        ::sigaction(SIGCHLD, &previous, nullptr);
        QCOMPARE(result, 1);
    }

    void aProcessThatCannotStartReturnsTheErrorAndShowsNothing()
    {
        shown_.clear();
        const qint32 missing =
            Shell32::RunAndWait(processes_, Program(work_.filePath("no-such-program")), show_);
        QCOMPARE(missing, Shell32::StartFailureCode(ENOENT));
        QVERIFY(missing < 0);
        QCOMPARE(missing, qint32(0x80040002u));

        // A file without execute permission.
        QVERIFY(WriteFile(work_.filePath("not-a-program"), ""));
        QCOMPARE(Shell32::RunAndWait(processes_, Program(work_.filePath("not-a-program")), show_),
                 Shell32::StartFailureCode(EACCES));
        QCOMPARE(shown_, QStringList());
    }

    void theLastErrorLineIsKeptAndAChattyProcessNeverBlocks()
    {
        // Far more than a pipe holds: a process whose error output is not
        // read would block for ever on it.
        int error = 0;
        std::unique_ptr<ChildProcess> process = processes_.startProcess(
            Path::FromBytes("/bin/sh"),
            {"-c", "i=0; while [ $i -lt 20000 ]; do echo \"line $i of chatter\" >&2; "
                   "i=$((i+1)); done; echo 'sox FAIL formats: last words' >&2; exit 2"},
            QByteArrayList{"PATH=/usr/bin:/bin"}, error);
        QVERIFY(process);
        QTRY_VERIFY_WITH_TIMEOUT(process->end().has_value() && !process->errorOutput().isEmpty() &&
                                     process->errorOutput().endsWith("last words\n"),
                                 20000);
        QCOMPARE(process->end()->exitStatus, 2);
        QVERIFY(process->errorOutput().size() <= 4096);
        QCOMPARE(LastErrorLine(process->errorOutput()),
                 QStringLiteral("sox FAIL formats: last words"));
    }
};

QTEST_MAIN(ConverterInvocationTest)
#include "test_converter_invocation.moc"
