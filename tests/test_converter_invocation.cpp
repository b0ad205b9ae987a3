// The converter's arguments and its start, with the real SoX staged from the
// executable's own resources and stereo MP3s made for each test.

#include "Audio.h"
#include "CountingProcessStarter.h"
#include "Files.h"
#include "conversion/CommandLine.h"
#include "conversion/ConverterFiles.h"
#include "conversion/Shell32.h"
#include "platform/SystemProcessStarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
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

    QString converter() const
    {
        return conversion::StagedPath(AsPath(staging_.path()), conversion::ConverterProgram())
            .text();
    }

    // Runs `program` with `arguments` in the converter's environment until it
    // ends; its exit code (128 + the signal that ended it), or minus the
    // errno value when it could not be started.
    int run(const QString &program, const QByteArrayList &arguments,
            std::optional<QByteArrayList> environment = std::nullopt)
    {
        Expected<std::unique_ptr<platform::ChildProcess>> started =
            processes_.startProcess(AsPath(program), arguments,
                                    environment.value_or(conversion::Shell32::ConverterEnvironment(
                                        AsPath(staging_.path()))));
        if (!started)
            return -started.failure().code;
        const std::unique_ptr<platform::ChildProcess> &process = *started;
        process->waitForEnd(120000);
        return process->end() ? process->end()->code() : -ETIMEDOUT;
    }

    int convert(conversion::ChannelMode mode, const QString &input, const QString &output)
    {
        return run(
            converter(),
            conversion::ArgumentString::ForMode(mode, AsPath(input), AsPath(output)).arguments());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(staging_.isValid() && work_.isValid());
        StageConverter(staging_.path());
        QCOMPARE(MakeStereoMp3(work_.filePath("stereo.mp3")), QString());
    }

    // ---- command lines ---------------------------------------------------

    void theArgumentsOfEachMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("encoding");
        QTest::addColumn<QStringList>("arguments");
        const QStringList common = {"--no-glob", "/in/a b.mp3", "-c",
                                    "1",         "--no-glob",   "/out/a b.mp3"};
        QTest::newRow("mix") << int(conversion::ChannelMode::Mix) << QStringList() << common;
        QTest::newRow("left") << int(conversion::ChannelMode::LeftOnly) << QStringList()
                              << common + QStringList{"remix", "1"};
        QTest::newRow("right") << int(conversion::ChannelMode::RightOnly) << QStringList()
                               << common + QStringList{"remix", "2"};
        QTest::newRow("right, VBR")
            << int(conversion::ChannelMode::RightOnly) << QStringList{"-C", "-4"}
            << QStringList{"--no-glob", "/in/a b.mp3", "-c",           "1",     "-C",
                           "-4",        "--no-glob",   "/out/a b.mp3", "remix", "2"};
    }

    void theArgumentsOfEachMode()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, encoding);
        QFETCH(QStringList, arguments);
        const conversion::ArgumentString words = conversion::ArgumentString::ForMode(
            conversion::ChannelMode(mode), AsPath("/in/a b.mp3"), AsPath("/out/a b.mp3"), encoding);
        QByteArrayList bytes;
        for (const QString &argument : arguments)
            bytes << argument.toUtf8();
        QCOMPARE(words.arguments(), bytes);
    }

    // ---- real conversions --------------------------------------------------

    void eachModeGivesTheExpectedMonoFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        // The source has 440 Hz left and 1000 Hz right, each at half scale.
        QTest::newRow("mix") << int(conversion::ChannelMode::Mix) << 0.25 << 0.25;
        QTest::newRow("left") << int(conversion::ChannelMode::LeftOnly) << 0.5 << 0.0;
        QTest::newRow("right") << int(conversion::ChannelMode::RightOnly) << 0.0 << 0.5;
    }

    void eachModeGivesTheExpectedMonoFile()
    {
        QFETCH(int, mode);
        QFETCH(double, left);
        QFETCH(double, right);
        const QString output = work_.filePath(QString("mode %1.mp3").arg(mode));
        QCOMPARE(convert(conversion::ChannelMode(mode), work_.filePath("stereo.mp3"), output), 0);
        QCOMPARE(ChannelCount(output), 1);
        const QVector<double> levels = ToneAmplitudes(output, {440, 1000});
        QCOMPARE(levels.size(), 2);
        QVERIFY2(qAbs(levels[0] - left) < 0.05, qPrintable(QString::number(levels[0])));
        QVERIFY2(qAbs(levels[1] - right) < 0.05, qPrintable(QString::number(levels[1])));
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
        QCOMPARE(convert(conversion::ChannelMode::LeftOnly, in.filePath(name), out.filePath(name)),
                 0);
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
        const qint32 result = convert(conversion::ChannelMode::Mix, input, output);
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
        const qint32 result = convert(conversion::ChannelMode::Mix, "-n.mp3", "-out.mp3");
        QDir::setCurrent(previous);
        QCOMPARE(result, 0);
        QCOMPARE(ChannelCount(folder.filePath("-out.mp3")), 1);
    }

    void theStagedLibrariesAreTheOnesLoaded()
    {
        QTemporaryDir trace;
        qputenv("LD_DEBUG", "libs");
        qputenv("LD_DEBUG_OUTPUT", QFile::encodeName(trace.filePath("loader")));
        const qint32 result = convert(conversion::ChannelMode::Mix, work_.filePath("stereo.mp3"),
                                      work_.filePath("traced.mp3"));
        qunsetenv("LD_DEBUG");
        qunsetenv("LD_DEBUG_OUTPUT");
        QCOMPARE(result, 0);
        QString log;
        for (const QString &name : QDir(trace.path()).entryList(QDir::Files)) {
            QFile file(trace.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            log += QString::fromLocal8Bit(file.readAll());
        }
        for (const conversion::ConverterFile &file : conversion::ConverterFileSet()) {
            if (file.executable)
                continue;
            const QString loaded =
                "calling init: " + conversion::StagedPath(AsPath(staging_.path()), file).text();
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
            for (const QByteArray &entry :
                 conversion::Shell32::ConverterEnvironment(Path::FromBytes(folder)))
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

    void anMp3InputLeavesSoxItsMp3ModuleAlone()
    {
        const QByteArrayList plain =
            conversion::Shell32::ConverterEnvironment(AsPath(staging_.path()));
        const QByteArrayList mp3 = conversion::Shell32::Mp3ConverterEnvironment(
            plain + QByteArrayList{"LD_PRELOAD=/x.so"});
        const QByteArray module = QFile::encodeName(QCoreApplication::applicationDirPath()) +
                                  "/modules/velunor-sox-formats.so";
        QVERIFY(mp3.contains("LD_PRELOAD=/x.so " + module));
        QVERIFY(mp3.contains("VELUNOR_SOX_FORMATS=mp3"));

        // SoX reads FLAC through a module of its own, which it no longer opens.
        const QString flac = work_.filePath("tone.flac");
        QCOMPARE(run(converter(), {"-n", "-r", "44100", "-c", "2", QFile::encodeName(flac), "synth",
                                   "1", "sine", "440"}),
                 0);
        const QString fromFlac = work_.filePath("from flac.mp3");
        QVERIFY(run(converter(), {QFile::encodeName(flac), "-c", "1", QFile::encodeName(fromFlac)},
                    mp3) != 0);
        QCOMPARE(
            run(converter(), {QFile::encodeName(flac), "-c", "1", QFile::encodeName(fromFlac)}), 0);

        const QString output = work_.filePath("through the mp3 module.mp3");
        QCOMPARE(run(converter(),
                     conversion::ArgumentString::ForMode(conversion::ChannelMode::RightOnly,
                                                         AsPath(work_.filePath("stereo.mp3")),
                                                         AsPath(output))
                         .arguments(),
                     mp3),
                 0);
        QCOMPARE(ChannelCount(output), 1);
        const QVector<double> levels = ToneAmplitudes(output, {440, 1000});
        QVERIFY2(levels.value(0) < 0.05 && qAbs(levels.value(1) - 0.5) < 0.05,
                 qPrintable(QString::number(levels.value(1))));
    }

    // ---- ending ------------------------------------------------------------

    void aSignalEndingTheProcessIsAFailure()
    {
        // sh ends itself with SIGTERM (15).
        QCOMPARE(run("/bin/sh", {"-c", "kill $$"}), 128 + 15);
    }

    void anIgnoredChildSignalDoesNotHideAFailure()
    {
        // Inherited from a parent that ignores SIGCHLD, the system would drop
        // every exit status and a failure would read as success.
        struct sigaction ignore {};
        struct sigaction previous {};
        ignore.sa_handler = SIG_IGN;
        QVERIFY(::sigaction(SIGCHLD, &ignore, &previous) == 0);
        const int result = run("/bin/false", {});
        ::sigaction(SIGCHLD, &previous, nullptr);
        QCOMPARE(result, 1);
    }

    void aProcessThatCannotStartTellsWhy()
    {
        QCOMPARE(run(work_.filePath("no-such-program"), {}), -ENOENT);
        // A file without execute permission.
        QVERIFY(WriteFile(work_.filePath("not-a-program"), ""));
        QCOMPARE(run(work_.filePath("not-a-program"), {}), -EACCES);
    }

    void theLastErrorLineIsKeptAndAChattyProcessNeverBlocks()
    {
        // Far more than a pipe holds: a process whose error output is not
        // read would block for ever on it.
        Expected<std::unique_ptr<platform::ChildProcess>> started = processes_.startProcess(
            Path::FromBytes("/bin/sh"),
            {"-c", "i=0; while [ $i -lt 20000 ]; do echo \"line $i of chatter\" >&2; "
                   "i=$((i+1)); done; echo 'sox FAIL formats: last words' >&2; exit 2"},
            QByteArrayList{"PATH=/usr/bin:/bin"});
        QVERIFY(started);
        const std::unique_ptr<platform::ChildProcess> &process = *started;
        QTRY_VERIFY_WITH_TIMEOUT(process->end().has_value() && !process->errorOutput().isEmpty() &&
                                     process->errorOutput().endsWith("last words\n"),
                                 20000);
        QCOMPARE(process->end()->exitStatus, 2);
        QVERIFY(process->errorOutput().size() <= 4096);
        QCOMPARE(platform::LastErrorLine(process->errorOutput()),
                 QStringLiteral("sox FAIL formats: last words"));
    }
};

QTEST_MAIN(ConverterInvocationTest)
#include "test_converter_invocation.moc"
