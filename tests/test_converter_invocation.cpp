// The converter's command lines and RunAndWait, with the real SoX staged from
// the executable's own resources and stereo MP3s made for each test.

#include "Audio.h"
#include "ScriptedPlatform.h"
#include "conversion/CommandLine.h"
#include "conversion/ConverterFiles.h"
#include "conversion/Shell32.h"
#include "platform/ProgressBar.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>

using namespace velunor;
using namespace velunor::testing;

namespace {

// Every bar text a poll leaves for the window to draw, in order.
class BarTexts : public QObject {
public:
    explicit BarTexts(ProgressBar &bar) : bar_(bar)
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (seen.isEmpty() || seen.last() != bar_.text())
                seen << bar_.text();
        });
        timer_.start();
    }
    QStringList seen;

private:
    ProgressBar &bar_;
    QTimer timer_;
};

} // namespace

class ConverterInvocationTest : public QObject {
    Q_OBJECT

    QTemporaryDir staging_;
    QTemporaryDir work_;
    ScriptedPlatform platform_;
    ProgressBar bar_;

    QString converter() const { return StagedPath(staging_.path(), ConverterProgram()); }

    qint32 convert(ChannelMode mode, const QString &input, const QString &output)
    {
        return Shell32::RunAndWait(
            platform_, bar_, CommandLine(converter(), ArgumentString::ForMode(mode, input, output)),
            0);
    }

    static CommandLine Program(const QString &path, const QStringList &words = {})
    {
        ArgumentString arguments;
        for (const QString &word : words)
            arguments.word(word);
        return CommandLine(path, arguments);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(staging_.isValid() && work_.isValid());
        for (const ConverterFile &file : ConverterFileSet())
            WriteResourceFile(LoadConverterResource(file.resourceId),
                              StagedPath(staging_.path(), file), file.executable);
        QCOMPARE(MakeStereoMp3(work_.filePath("stereo.mp3")), QString());
    }

    // ---- command lines ---------------------------------------------------

    void commandLineText_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        const QStringList common = {"--no-glob", "/in/a b.mp3", "-c", "1", "/out/a b.mp3"};
        QTest::newRow("mix") << int(ChannelMode::Mix)
                             << R"("/t/sox"  --no-glob "/in/a b.mp3" -c 1 "/out/a b.mp3")"
                             << common;
        QTest::newRow("left") << int(ChannelMode::LeftOnly)
                              << R"("/t/sox"  --no-glob "/in/a b.mp3" -c 1 "/out/a b.mp3" remix 1)"
                              << common + QStringList{"remix", "1"};
        QTest::newRow("right") << int(ChannelMode::RightOnly)
                               << R"("/t/sox"  --no-glob "/in/a b.mp3" -c 1 "/out/a b.mp3" remix 2)"
                               << common + QStringList{"remix", "2"};
    }

    void commandLineText()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QStringList, arguments);
        const CommandLine line(
            "/t/sox", ArgumentString::ForMode(ChannelMode(mode), "/in/a b.mp3", "/out/a b.mp3"));
        QCOMPARE(line.text(), text);
        QCOMPARE(line.program(), QStringLiteral("/t/sox"));
        QCOMPARE(line.arguments(), arguments);
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
        QCOMPARE(bar_.text(), QStringLiteral("Progress Bar"));
    }

    void wildcardCharactersAreJustCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("neighbour");
        QTest::newRow("brackets") << "song [live].mp3"
                                  << "song l.mp3";
        QTest::newRow("braces") << "hits {2020}.mp3"
                                << "hits 2020.mp3";
    }

    void wildcardCharactersAreJustCharacters()
    {
        QFETCH(QString, name);
        QFETCH(QString, neighbour);
        // The neighbour, which a pattern reading of the name would pick,
        // holds other tones.
        QCOMPARE(MakeStereoMp3(work_.filePath(name)), QString());
        QCOMPARE(MakeStereoMp3(work_.filePath(neighbour), 1.0, 300, 300), QString());
        const QString output = work_.filePath("picked.mp3");
        QCOMPARE(convert(ChannelMode::LeftOnly, work_.filePath(name), output), 0);
        const QVector<double> levels = ToneAmplitudes(output, {440, 300});
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
            const QString loaded = "calling init: " + StagedPath(staging_.path(), file);
            QVERIFY2(log.contains(loaded), qPrintable(loaded));
        }
    }

    // ---- the environment ---------------------------------------------------

    void environmentDropsSoxOptionsAndPutsTheStagingFolderFirst()
    {
        qputenv("SOX_OPTS", "--norm");
        qputenv("LD_LIBRARY_PATH", "/opt/lib");
        QStringList environment = Shell32::ConverterEnvironment("/stage/");
        QVERIFY(environment.filter(QRegularExpression("^SOX_OPTS=")).isEmpty());
        QCOMPARE(environment.filter(QRegularExpression("^LD_LIBRARY_PATH=")),
                 QStringList({"LD_LIBRARY_PATH=/stage/:/opt/lib"}));
        // An empty entry would add the current folder to the search.
        qputenv("LD_LIBRARY_PATH", "");
        environment = Shell32::ConverterEnvironment("/stage");
        QCOMPARE(environment.filter(QRegularExpression("^LD_LIBRARY_PATH=")),
                 QStringList({"LD_LIBRARY_PATH=/stage"}));
        qunsetenv("SOX_OPTS");
        qunsetenv("LD_LIBRARY_PATH");
    }

    // ---- waiting ------------------------------------------------------------

    void aProcessEndingAtOnceShowsOneCount()
    {
        BarTexts texts(bar_);
        QCOMPARE(Shell32::RunAndWait(platform_, bar_, Program("/bin/true")), 0);
        QCOMPARE(texts.seen, QStringList({"Please wait.. 1"}));
        QCOMPARE(bar_.text(), QStringLiteral("Progress Bar"));
        QCOMPARE(Shell32::RunAndWait(platform_, bar_, Program("/bin/false")), 1);
    }

    void aTwoSecondProcessCountsAboutTwentyPolls()
    {
        BarTexts texts(bar_);
        QCOMPARE(Shell32::RunAndWait(platform_, bar_, Program("/bin/sleep", {"2"})), 0);
        texts.seen.removeAll("Progress Bar");
        const qsizetype polls = texts.seen.size();
        QVERIFY2(polls >= 10 && polls <= 21, qPrintable(texts.seen.join(", ")));
        for (qsizetype i = 0; i < polls; ++i)
            QCOMPARE(texts.seen[i], "Please wait.. " + QString::number(i + 1));
        QCOMPARE(bar_.text(), QStringLiteral("Progress Bar"));
    }

    void aSignalEndingTheProcessIsAFailure()
    {
        // sh ends itself with SIGTERM (15).
        QCOMPARE(Shell32::RunAndWait(platform_, bar_, Program("/bin/sh", {"-c", "kill\t$$"})),
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
        const qint32 result = Shell32::RunAndWait(platform_, bar_, Program("/bin/false"));
        ::sigaction(SIGCHLD, &previous, nullptr);
        QCOMPARE(result, 1);
    }

    void aProcessThatCannotStartReturnsTheErrorAndLeavesTheBar()
    {
        bar_.setText("Processing: x.mp3");
        const qint32 missing =
            Shell32::RunAndWait(platform_, bar_, Program(work_.filePath("no-such-program")));
        QCOMPARE(missing, Shell32::StartFailureCode(ENOENT));
        QVERIFY(missing < 0);
        QCOMPARE(missing, qint32(0x80040002u));
        QCOMPARE(bar_.text(), QStringLiteral("Processing: x.mp3"));

        // A file without execute permission.
        QFile plain(work_.filePath("not-a-program"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(Shell32::RunAndWait(platform_, bar_, Program(plain.fileName())),
                 Shell32::StartFailureCode(EACCES));
        QVERIFY(platform_.messages.isEmpty());
    }

    void windowStylesOutOfRangeBecomeSix()
    {
        QCOMPARE(Shell32::WindowStyleOf(std::nullopt), 6);
        QCOMPARE(Shell32::WindowStyleOf(7), 6);
        QCOMPARE(Shell32::WindowStyleOf(-1), 6);
        QCOMPARE(Shell32::WindowStyleOf(0), 0);
        QCOMPARE(Shell32::WindowStyleOf(5), 5);
    }
};

QTEST_MAIN(ConverterInvocationTest)
#include "test_converter_invocation.moc"
