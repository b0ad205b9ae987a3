// The command line for scripts, run as the real program with no display and
// with its home, settings, staging and runtime folders in temporary folders:
// its exit statuses, the folder search, the defaults from the stored
// choices, what it prints with and without a terminal, and a stop by a
// signal in the middle of a long file.

#include "Audio.h"
#include "Files.h"
#include "ProcessTable.h"
#include "cli/StatusLine.h"
#include "shell/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kProgram = QStringLiteral(VELUNOR_PROGRAM_DIR "/velunor");
constexpr int kRunTimeoutMs = 300000;

struct Ended {
    int status = -1;
    QString out;
    QString err;
};

// Which of the two tones of the test inputs an output holds: the left
// channel's 440 Hz, the right one's 1000 Hz, or both.
enum class Tones { Left, Right, Both };

bool Holds(const QString &path, Tones tones)
{
    if (ChannelCount(path) != 1)
        return false;
    const QVector<double> amplitudes = ToneAmplitudes(path, {440, 1000});
    if (amplitudes.size() != 2)
        return false;
    const bool left = amplitudes[0] > 0.1;
    const bool right = amplitudes[1] > 0.1;
    switch (tones) {
    case Tones::Left:
        return left && !right;
    case Tones::Right:
        return right && !left;
    case Tones::Both:
        break;
    }
    return left && right;
}

// The processes still running, this test's or not, whose command line names
// something inside `folder`: the converters of a run in it.
QStringList ProcessesWorkingIn(const QString &folder)
{
    QStringList found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!number || !commandLine.open(QIODevice::ReadOnly))
            continue;
        const QByteArray words = commandLine.readAll();
        if (words.contains(QFile::encodeName(folder + u'/')) && IsAlive(pid))
            found << entry + u' ' + QString::fromLocal8Bit(words).replace(u'\0', u' ');
    }
    return found;
}

// The modification time in nanoseconds and the inode of a file; zeros when
// it cannot be looked up.
QPair<qint64, quint64> TimeAndInode(const QByteArray &path)
{
    struct stat facts {};
    if (::stat(path.constData(), &facts) != 0)
        return {};
    return {qint64(facts.st_mtim.tv_sec) * 1000000000 + facts.st_mtim.tv_nsec,
            quint64(facts.st_ino)};
}

QPair<qint64, quint64> TimeAndInode(const QString &path)
{
    return TimeAndInode(QFile::encodeName(path));
}

// The lines of a run's standard output that tell a file, sorted.
QStringList FileLines(const QString &out)
{
    QStringList lines = out.split(u'\n').filter(QStringLiteral(": /"));
    lines.sort();
    return lines;
}

QStringList HiddenEntries(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".velunor-*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *root_ = nullptr;
    QString longInput_; // twenty minutes of audio, made once

    QString at(const QString &relative) const { return root_->filePath(relative); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), at(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        environment.insert(QStringLiteral("TEMP"), at(QStringLiteral("staging")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), at(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), at(QStringLiteral("home/data")));
        return environment;
    }

    void startProgram(QProcess &process, const QStringList &arguments) const
    {
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(root_->path());
        process.start(kProgram, arguments);
    }

    Ended run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        startProgram(process, arguments);
        if (!input.isNull()) {
            process.write(input);
            process.closeWriteChannel();
        }
        if (!process.waitForFinished(kRunTimeoutMs))
            return {};
        return finished(process);
    }

    // Runs the program through a shell script that names it "$VELUNOR": for
    // arguments that are not text and for redirections.
    Ended runShell(const QString &script) const
    {
        QProcess process;
        QProcessEnvironment shell = environment();
        shell.insert(QStringLiteral("VELUNOR"), kProgram);
        process.setProcessEnvironment(shell);
        process.setWorkingDirectory(root_->path());
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
        if (!process.waitForFinished(kRunTimeoutMs))
            return {};
        return finished(process);
    }

    // The extended attribute naming an output's input.
    QByteArray MarkOf(const QString &output) const
    {
        QByteArray value(4096, '\0');
        const ssize_t size = ::getxattr(QFile::encodeName(output).constData(), "user.velunor.input",
                                        value.data(), value.size());
        return size < 0 ? QByteArray() : value.left(size);
    }

    static Ended finished(QProcess &process)
    {
        Ended ended;
        ended.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        ended.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        ended.err = QString::fromLocal8Bit(process.readAllStandardError());
        return ended;
    }

    QString settingsPath() const { return at(QStringLiteral("config/Tarvenic.conf")); }

    void store(const QString &outputFolder, bool option1, bool option2, bool option3) const
    {
        const auto settings = shell::SettingsStore::AtPath(settingsPath());
        settings->write(shell::StoredChoices::Section, shell::StoredChoices::OutputFolder,
                        outputFolder);
        settings->write(shell::StoredChoices::Section, shell::StoredChoices::Option1,
                        shell::BooleanToText(option1));
        settings->write(shell::StoredChoices::Section, shell::StoredChoices::Option2,
                        shell::BooleanToText(option2));
        settings->write(shell::StoredChoices::Section, shell::StoredChoices::Option3,
                        shell::BooleanToText(option3));
    }

    void makeInput(const QString &relative, double seconds = 1.0) const
    {
        QDir().mkpath(QFileInfo(at(relative)).absolutePath());
        const QString problem = MakeStereoMp3(at(relative), seconds);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

private slots:
    void initTestCase()
    {
        // A minute of audio twenty times over: frames simply follow each other
        // in an MP3, and so the long file costs a minute to make.
        static QTemporaryDir shared;
        const QString minute = shared.filePath(QStringLiteral("minute.mp3"));
        const QString problem = MakeStereoMp3(minute, 60.0);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        longInput_ = shared.filePath(QStringLiteral("long.mp3"));
        QVERIFY(WriteFile(longInput_, Contents(minute).repeated(20)));
    }

    void init()
    {
        root_ = new QTemporaryDir;
        for (const char *folder : {"home", "config", "staging", "runtime", "in", "out"})
            QVERIFY(QDir().mkpath(at(QString::fromLatin1(folder))));
        QVERIFY(QFile::setPermissions(at(QStringLiteral("staging")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void cleanup()
    {
        ::umount2(QFile::encodeName(at(QStringLiteral("locked"))).constData(), MNT_DETACH);
        // Qt cannot name what is not UTF-8, and so cannot remove it.
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root_->path()});
        delete root_;
        root_ = nullptr;
    }

    void wrongCommandLinesConvertNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option")
            << QStringList{"--batch", "--fast", "in"} << "unknown option --fast";
        QTest::newRow("bad mode") << QStringList{"--batch", "--mode", "both", "in"}
                                  << "unknown mode \"both\"";
        QTest::newRow("bad jobs") << QStringList{"--batch", "--jobs=0", "in"}
                                  << "--jobs needs a whole number";
        QTest::newRow("jobs not a number")
            << QStringList{"--batch", "--jobs", "two", "in"} << "--jobs needs a whole number";
        QTest::newRow("bad quality") << QStringList{"--batch", "--quality", "100", "in"}
                                     << "--quality 100: MPEG audio has no bit rate of 100 kbps";
        QTest::newRow("missing output folder")
            << QStringList{"--batch", "--output", "nowhere", "in"}
            << "the output folder \"nowhere\" does not exist";
        QTest::newRow("output folder that is a file")
            << QStringList{"--batch", "--output", "in/a.mp3", "in"}
            << "the output folder \"in/a.mp3\" is not a folder";
        QTest::newRow("empty path, as an unset variable gives")
            << QStringList{"--batch", "--output", "out", ""} << "an empty path was given";
        QTest::newRow("list of paths missing")
            << QStringList{"--batch", "--output", "out", "--files-from", "gone.txt"}
            << "the list of paths \"gone.txt\" cannot be read (No such file or directory)";
        QTest::newRow("list of paths with an empty one")
            << QStringList{"--batch", "--output", "out", "--files-from", "holes.txt"}
            << "the list of paths \"holes.txt\" holds an empty path (line 2)";
        QTest::newRow("unwritable output folder")
            << QStringList{"--batch", "--output", "locked", "in"}
            << "the output folder \"locked\" cannot be written";
        QTest::newRow("missing path") << QStringList{"--batch", "--output", "out", "in", "gone.mp3"}
                                      << "no such file or folder: \"gone.mp3\"";
        QTest::newRow("no files found") << QStringList{"--batch", "--output", "out", "empty"}
                                        << "no MP3 files were found in \"empty\"";
        QTest::newRow("no paths") << QStringList{"--batch", "--output", "out"}
                                  << "no file or folder to convert was given";
        QTest::newRow("option without --batch")
            << QStringList{"--mode", "left", "in/a.mp3"} << "--mode works only with --batch";
    }

    void wrongCommandLinesConvertNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        makeInput(QStringLiteral("in/a.mp3"));
        QVERIFY(QDir().mkpath(at(QStringLiteral("empty/deeper"))));
        QVERIFY(WriteFile(at(QStringLiteral("empty/deeper/notes.txt")), "not audio"));
        QVERIFY(WriteFile(at(QStringLiteral("holes.txt")), "in/a.mp3\n\nin/a.mp3\n"));
        // A folder nobody may write to, even the superuser: a read-only mount.
        QVERIFY(QDir().mkpath(at(QStringLiteral("locked"))));
        const QByteArray locked = QFile::encodeName(at(QStringLiteral("locked")));
        if (::geteuid() != 0)
            QVERIFY(QFile::setPermissions(at(QStringLiteral("locked")),
                                          QFile::ReadOwner | QFile::ExeOwner));
        else if (::mount("tmpfs", locked.constData(), "tmpfs", MS_RDONLY, nullptr) != 0 &&
                 QByteArray(QTest::currentDataTag()) == "unwritable output folder")
            QSKIP("no read-only folder can be made here");

        const Ended ended = run(arguments);
        QCOMPARE(ended.status, 2);
        QCOMPARE(ended.out, QString());
        const QStringList lines = ended.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("velunor: ") + reason), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("Try 'velunor --help' for more information."));
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList());
        // Staging may have begun with the start; nothing of it stays.
        QCOMPARE(Entries(at(QStringLiteral("staging"))), QStringList());
    }

    // The folders are searched with their subfolders as the window searches
    // them; the stored output folder and mode are used and never written, and
    // the options win over them.
    void convertsWithTheStoredChoices()
    {
        makeInput(QStringLiteral("in/top.mp3"));
        makeInput(QStringLiteral("in/deeper/down.MP3"));
        makeInput(QStringLiteral("in/deeper/.working.mp3")); // a program's own working file
        QVERIFY(WriteFile(at(QStringLiteral("in/deeper/notes.txt")), "not audio"));
        makeInput(QStringLiteral("solo/one.mp3"));
        store(at(QStringLiteral("out/")), false, false, true);
        const QByteArray stored = Contents(settingsPath());

        Ended ended = run({"--batch", "in", "solo/one.mp3"});
        QCOMPARE(ended.status, 0);
        QCOMPARE(ended.err, QString());
        const QString in = at(QStringLiteral("in/")), out = at(QStringLiteral("out/"));
        // A line for each file as it ends, in whatever order they end.
        QStringList lines = ended.out.split(u'\n');
        QCOMPARE(lines.mid(3), QStringList({"Done.", ""}));
        lines = lines.mid(0, 3);
        lines.sort();
        QCOMPARE(lines,
                 QStringList({"converted: " + in + "deeper/down.MP3 -> " + out + "down.mp3",
                              "converted: " + in + "top.mp3 -> " + out + "top.mp3",
                              "converted: " + at("solo/one.mp3") + " -> " + out + "one.mp3"}));
        QCOMPARE(Entries(out), QStringList({"down.mp3", "one.mp3", "top.mp3"}));
        for (const QString &name : Entries(out))
            QVERIFY2(Holds(out + name, Tones::Right), qPrintable(name));

        QVERIFY(QDir().mkpath(at(QStringLiteral("elsewhere"))));
        ended = run({"--batch", "--mode", "left", "--output=elsewhere", "solo/one.mp3"});
        QCOMPARE(ended.status, 0);
        QVERIFY(Holds(at(QStringLiteral("elsewhere/one.mp3")), Tones::Left));
        QCOMPARE(Contents(settingsPath()), stored);

        // Nothing stored: the window's own defaults, mix into the desktop folder.
        QVERIFY(QFile::remove(settingsPath()));
        QVERIFY(QDir().mkpath(at(QStringLiteral("home/Desktop"))));
        ended = run({"--batch", "solo/one.mp3"});
        QCOMPARE(ended.status, 0);
        QVERIFY(Holds(at(QStringLiteral("home/Desktop/one.mp3")), Tones::Both));
        QVERIFY(!QFileInfo::exists(settingsPath()));

        // A folder typed in the window from "~" is in the home folder.
        QVERIFY(QDir().mkpath(at(QStringLiteral("home/Music"))));
        store(QStringLiteral("~/Music/"), true, false, false);
        ended = run({"--batch", "solo/one.mp3"});
        QCOMPARE(ended.status, 0);
        QVERIFY(Holds(at(QStringLiteral("home/Music/one.mp3")), Tones::Both));

        // Every mode button stored as off leaves no mode to convert with.
        store(at(QStringLiteral("out/")), false, false, false);
        ended = run({"--batch", "solo/one.mp3"});
        QCOMPARE(ended.status, 2);
        QVERIFY2(ended.err.startsWith(QStringLiteral("velunor: no channel mode is stored")),
                 qPrintable(ended.err));
    }

    // An output never takes the place of an output of another input, in
    // runs one after another (a script that splits its list over several)
    // or at the same time: each input keeps one output of its own, and the
    // mark on it names that input with its size and time.
    void outputsOfOtherInputsKeepTheirNames()
    {
        makeInput(QStringLiteral("a/01.mp3"));
        QVERIFY(QDir().mkpath(at(QStringLiteral("b"))));
        QCOMPARE(MakeStereoMp3(at(QStringLiteral("b/01.mp3")), 1.0, 440, 440), QString());
        const QStringList options = {"--batch", "--mode", "left", "--output", "out"};
        QCOMPARE(run(options + QStringList{"a/01.mp3"}).status, 0);
        Ended second = run(options + QStringList{"--files-from", "-"}, "b/01.mp3\n");
        QCOMPARE(second.status, 0);
        QVERIFY2(second.out.contains(at("b/01.mp3") + " -> " + at("out/01 (2).mp3") +
                                     " - a file of that name holds the output of another input"),
                 qPrintable(second.out));
        struct stat a {};
        QCOMPARE(::stat(QFile::encodeName(at("a/01.mp3")).constData(), &a), 0);
        QCOMPARE(MarkOf(at(QStringLiteral("out/01.mp3"))),
                 QFile::encodeName(QFileInfo(at("a/01.mp3")).canonicalFilePath()) + '\0' +
                     "size=" + QByteArray::number(qint64(a.st_size)) + '\0' + "mtime=" +
                     QByteArray::number(qint64(a.st_mtim.tv_sec) * 1000000000 + a.st_mtim.tv_nsec) +
                     '\0' + "made=left");
        // Again, both at once: each replaces its own output and nothing else.
        QProcess first;
        QProcess other;
        startProgram(first, options + QStringList{"a/01.mp3"});
        startProgram(other, options + QStringList{"b/01.mp3"});
        QVERIFY(first.waitForFinished(kRunTimeoutMs) && other.waitForFinished(kRunTimeoutMs));
        QCOMPARE(finished(first).status, 0);
        QCOMPARE(finished(other).status, 0);
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList({"01 (2).mp3", "01.mp3"}));
        QVERIFY(Holds(at(QStringLiteral("out/01.mp3")), Tones::Left));
        const QVector<double> b = ToneAmplitudes(at(QStringLiteral("out/01 (2).mp3")), {1000});
        QVERIFY(b.size() == 1 && b[0] < 0.1);

        // Two new inputs of one name, converted at the same time into a
        // folder that holds neither: each takes a name of its own.
        QCOMPARE(MakeStereoMp3(at(QStringLiteral("a/02.mp3")), 1.0, 440, 440), QString());
        QCOMPARE(MakeStereoMp3(at(QStringLiteral("b/02.mp3")), 1.0, 1000, 1000), QString());
        startProgram(first, options + QStringList{"a/02.mp3"});
        startProgram(other, options + QStringList{"b/02.mp3"});
        QVERIFY(first.waitForFinished(kRunTimeoutMs) && other.waitForFinished(kRunTimeoutMs));
        QCOMPARE(Entries(at(QStringLiteral("out"))),
                 QStringList({"01 (2).mp3", "01.mp3", "02 (2).mp3", "02.mp3"}));
        QCOMPARE(
            QSet<QByteArray>({MarkOf(at("out/02.mp3")).split('\0').value(0),
                              MarkOf(at("out/02 (2).mp3")).split('\0').value(0)}),
            QSet<QByteArray>({QFile::encodeName(QFileInfo(at("a/02.mp3")).canonicalFilePath()),
                              QFile::encodeName(QFileInfo(at("b/02.mp3")).canonicalFilePath())}));
    }

    // A name that is not UTF-8 is converted like any other, given directly,
    // found by the search or listed (with --null, or in a list written on
    // Windows), and shown with \xHH.
    void namesThatAreNotTextAreConverted()
    {
        makeInput(QStringLiteral("in/x.mp3"));
        makeInput(QStringLiteral("in/y.mp3"));
        QVERIFY(::rename(QFile::encodeName(at("in/x.mp3")).constData(),
                         QFile::encodeName(at("in/")) + "caf\xe9.mp3") == 0);
        QVERIFY(::mkdir(QFile::encodeName(at("in/")) + "\xff", 0755) == 0);
        QVERIFY(::rename(QFile::encodeName(at("in/y.mp3")).constData(),
                         QFile::encodeName(at("in/")) + "\xff/y.mp3") == 0);
        Ended ended = runShell(QStringLiteral("\"$VELUNOR\" --batch --output out \"$(printf "
                                              "'in/caf\\351.mp3')\" in/"));
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains("converted: " + at("in/caf\\xE9.mp3") + " -> " +
                                    at("out/caf\\xE9.mp3")),
                 qPrintable(ended.out));
        QVERIFY2(ended.out.contains(at("in/\\xFF/y.mp3")), qPrintable(ended.out));
        // (Qt lists no name that is not UTF-8: the bytes are asked for.)
        QCOMPARE(::access(QFile::encodeName(at("out/")) + "caf\xe9.mp3", F_OK), 0);
        QCOMPARE(::access(QFile::encodeName(at("out/y.mp3")).constData(), F_OK), 0);

        ended = run({"--batch", "--output", "out", "--null", "--files-from", "-"},
                    "in/\xff/y.mp3" + QByteArray(1, '\0'));
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains(at("in/\\xFF/y.mp3") + " -> " + at("out/y.mp3")),
                 qPrintable(ended.out));
        // A list written on Windows: a UTF-8 mark first, lines ending in CR LF.
        ended = run({"--batch", "--output", "out", "--files-from", "-"},
                    "\xef\xbb\xbfin/\xff/y.mp3\r\nin/caf\xe9.mp3\r\n");
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains(at("in/\\xFF/y.mp3") + " -> " + at("out/y.mp3")),
                 qPrintable(ended.out));
    }

    // The output folder inside the searched one is never searched, linked
    // folders are, each once; a folder that cannot be read is named, the
    // rest converted, and the status is 1.
    void theSearchSkipsTheOutputsAndNamesWhatItCannotRead()
    {
        makeInput(QStringLiteral("music/a.mp3"));
        makeInput(QStringLiteral("elsewhere/b.mp3"));
        QVERIFY(QDir().mkpath(at(QStringLiteral("music/mono"))));
        QVERIFY(QFile::link(at("elsewhere"), at("music/linked")));
        QVERIFY(QFile::link(at("music"), at("music/loop")));
        const QStringList arguments = {"--batch", "--output", "music/mono", "music"};
        for (int night = 1; night <= 2; ++night) {
            const Ended ended = run(arguments);
            QCOMPARE(ended.status, 0);
            QCOMPARE(ended.err, QString());
        }
        QCOMPARE(Entries(at(QStringLiteral("music/mono"))), QStringList({"a.mp3", "b.mp3"}));
        const Ended inside = run({"--batch", "--output", "music", "music/mono"});
        QCOMPARE(inside.status, 2);
        QVERIFY2(inside.err.contains("not searched: " + at("music/mono") +
                                     " - it is the output folder or lies in it"),
                 qPrintable(inside.err));

        makeInput(QStringLiteral("music/locked/c.mp3"));
        QVERIFY(QFile::setPermissions(at("music/locked"), {}));
        // The superuser reads any folder: the run is made as nobody then.
        QString script = QStringLiteral("\"$VELUNOR\" --batch --output music/mono music");
        if (::geteuid() == 0) {
            QVERIFY(QProcess::execute("chmod", {"-R", "a+rwX", root_->path()}) == 0);
            QVERIFY(QFile::setPermissions(at("music/locked"), {}));
            QVERIFY(QFile::setPermissions(at("staging"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY(::chown(QFile::encodeName(at("staging")).constData(), 65534, 65534) == 0);
            QVERIFY(QProcess::execute("chmod", {"a+x", QFileInfo(root_->path()).path()}) == 0);
            script = "setpriv --reuid=65534 --regid=65534 --clear-groups " + script;
        }
        const Ended ended = runShell(script);
        QVERIFY(QFile::setPermissions(at("music/locked"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(ended.status, 1);
        QVERIFY2(
            ended.err.contains("not searched: " + at("music/locked/") + " - Permission denied"),
            qPrintable(ended.err));
        QVERIFY2(ended.err.contains("1 folder could not be searched:\n" + at("music/locked/") +
                                    " - Permission denied"),
                 qPrintable(ended.err));
    }

    // Each file found in a folder goes to the same folder below the output
    // folder, made as needed, with the names, marks and Trash of that folder;
    // a file given goes to the output folder itself.
    void keepFoldersMirrorsTheTree()
    {
        makeInput(QStringLiteral("music/01.mp3"));
        makeInput(QStringLiteral("music/Jazz/Live/01.mp3"));
        makeInput(QStringLiteral("music/Rock/01.MP3"));
        makeInput(QStringLiteral("solo/01.mp3"));
        QVERIFY(WriteFile(at(QStringLiteral("out/Rock/01.mp3")), "the user's own"));
        const Ended ended = run({"--batch", "--mode", "left", "--keep-folders", "--output", "out",
                                 "music", "solo/01.mp3"});
        QCOMPARE(ended.status, 0);
        QCOMPARE(Entries(at("out")), QStringList({"01 (2).mp3", "01.mp3", "Jazz", "Rock"}));
        for (const QString name : {"01.mp3", "01 (2).mp3", "Jazz/Live/01.mp3", "Rock/01.mp3"})
            QVERIFY2(Holds(at("out/" + name), Tones::Left), qPrintable(name));
        QCOMPARE(MarkOf(at("out/Jazz/Live/01.mp3")).split('\0').value(0),
                 QFile::encodeName(QFileInfo(at("music/Jazz/Live/01.mp3")).canonicalFilePath()));
        QVERIFY2(ended.out.contains(at("solo/01.mp3") + " -> " + at("out/01 (2).mp3")),
                 qPrintable(ended.out));
        QCOMPARE(Contents(at("home/data/Trash/files/01.mp3")), QByteArray("the user's own"));

        // A file that fails leaves no folder made for it behind; one that was
        // there before stays.
        QVERIFY(WriteFile(at("broken/Deep/Er/bad.mp3"), "no audio") &&
                WriteFile(at("broken/Rock/bad.mp3"), "no audio"));
        QCOMPARE(run({"--batch", "--keep-folders", "--output", "out", "broken"}).status, 1);
        QCOMPARE(Entries(at("out")), QStringList({"01 (2).mp3", "01.mp3", "Jazz", "Rock"}));
        QCOMPARE(Entries(at("out/Rock")), QStringList({"01.mp3"}));

        // A folder's name that a FAT stick refuses is made fit, as a file's.
        FatStick stick(8192);
        if (!stick.isMounted())
            QSKIP("no FAT file system can be mounted here (needs root, FUSE and fusefat)");
        makeInput(QStringLiteral("tricky/Live: 1999/01.mp3"));
        const Ended fat = run({"--batch", "--keep-folders", "--output", stick.path(), "tricky"});
        QCOMPARE(fat.status, 0);
        QVERIFY2(fat.out.contains(" -> " + stick.path() +
                                  "/Live_ 1999/01.mp3 - the output's file "
                                  "system refuses the name as it is"),
                 qPrintable(fat.out));
        QCOMPARE(ChannelCount(stick.path() + "/Live_ 1999/01.mp3"), 1);
    }

    // The nightly mirror: the outputs keep their inputs' dates, a second run
    // converts nothing that is up to date and says so with status 0, and an
    // input changed since is converted again.
    void aSecondRunConvertsOnlyWhatChanged()
    {
        makeInput(QStringLiteral("music/a.mp3"));
        makeInput(QStringLiteral("music/sub/b.mp3"));
        const struct timespec old[2] = {{0, UTIME_OMIT}, {981173106, 123456789}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(at("music/a.mp3")).constData(), old, 0),
                 0);
        const QStringList mirror = {"--batch",      "--keep-folders", "--skip-existing",
                                    "--keep-dates", "--output",       "out",
                                    "music"};
        QCOMPARE(run(mirror).status, 0);
        const auto a = TimeAndInode(at("out/a.mp3"));
        const auto b = TimeAndInode(at("out/sub/b.mp3"));
        QCOMPARE(a.first, TimeAndInode(at("music/a.mp3")).first);
        QCOMPARE(b.first, TimeAndInode(at("music/sub/b.mp3")).first);

        Ended ended = run(mirror);
        QCOMPARE(ended.status, 0);
        QCOMPARE(
            FileLines(ended.out),
            QStringList({"up to date: " + at("music/a.mp3") + " -> " + at("out/a.mp3"),
                         "up to date: " + at("music/sub/b.mp3") + " -> " + at("out/sub/b.mp3")}));
        QVERIFY2(ended.out.endsWith("Done.\n\n2 files were up to date and not converted again.\n"),
                 qPrintable(ended.out));
        QCOMPARE(TimeAndInode(at("out/a.mp3")), a);

        QCOMPARE(MakeStereoMp3(at("music/sub/b.mp3"), 2.0, 440, 440), QString());
        ended = run(mirror);
        QCOMPARE(ended.status, 0);
        QCOMPARE(FileLines(ended.out),
                 QStringList({"converted: " + at("music/sub/b.mp3") + " -> " + at("out/sub/b.mp3"),
                              "up to date: " + at("music/a.mp3") + " -> " + at("out/a.mp3")}));
        QVERIFY(Holds(at("out/sub/b.mp3"), Tones::Left)); // 440 Hz alone, as the new input
        QCOMPARE(TimeAndInode(at("out/sub/b.mp3")).first,
                 TimeAndInode(at("music/sub/b.mp3")).first);

        // Another channel mode or quality makes another output.
        ended = run(QStringList(mirror) << "--mode"
                                        << "right");
        QCOMPARE(ended.out.count("converted: "), 2);
        QVERIFY(Holds(at("out/a.mp3"), Tones::Right));
        ended = run(QStringList(mirror) << "--mode"
                                        << "right"
                                        << "--quality"
                                        << "96");
        QCOMPARE(ended.out.count("converted: "), 2);
        ended = run(QStringList(mirror) << "--mode"
                                        << "right"
                                        << "--quality"
                                        << "96");
        QCOMPARE(ended.out.count("up to date: "), 2);
    }

    // An input goes to the Trash once its output is in place, never when the
    // output failed. In its own folder a tree is converted in place, and a
    // second run finds it up to date unless a file was copied over it. An
    // input no Trash can take stays, and the line says so.
    void trashInputsMakesRoomForTheOutputs()
    {
        makeInput(QStringLiteral("in/good.mp3"));
        QVERIFY(WriteFile(at(QStringLiteral("in/bad.mp3")), "no audio in here"));
        Ended ended = run({"--batch", "--trash-inputs", "--output", "out", "in"});
        QCOMPARE(ended.status, 1);
        QCOMPARE(ended.out, "converted: " + at("in/good.mp3") + " -> " + at("out/good.mp3") +
                                " (input moved to the Trash)\n");
        QVERIFY2(ended.err.contains("Done.\n\n1 input was moved to the Trash.\n\n1 file was not"),
                 qPrintable(ended.err));
        QCOMPARE(Entries(at("in")), QStringList({"bad.mp3"}));
        const QString trash = at(QStringLiteral("home/data/Trash/files/"));
        QCOMPARE(ChannelCount(trash + "good.mp3"), 2);

        makeInput(QStringLiteral("place/a.mp3"));
        makeInput(QStringLiteral("place/sub/b.mp3"));
        const QStringList inPlace = {"--batch",        "--mode",          "left",
                                     "--keep-folders", "--skip-existing", "--trash-inputs",
                                     "--output",       "place",           "place"};
        ended = run(inPlace);
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains("converted: " + at("place/sub/b.mp3") + " -> " +
                                    at("place/sub/b.mp3") + " (input moved to the Trash)"),
                 qPrintable(ended.out));
        QVERIFY2(ended.out.endsWith("Done.\n\n2 inputs were moved to the Trash.\n"),
                 qPrintable(ended.out));
        QCOMPARE(Entries(at("place")), QStringList({"a.mp3", "sub"}));
        QVERIFY(Holds(at("place/a.mp3"), Tones::Left) && Holds(at("place/sub/b.mp3"), Tones::Left));
        QCOMPARE(ChannelCount(trash + "a.mp3"), 2);
        QCOMPARE(ChannelCount(trash + "b.mp3"), 2);

        // A stereo file copied over an output (its mark stays) is new.
        QFile copied(at("place/a.mp3"));
        QVERIFY(copied.open(QIODevice::WriteOnly | QIODevice::Truncate));
        copied.write(Contents(trash + "a.mp3"));
        copied.close();
        ended = run(inPlace);
        QCOMPARE(ended.status, 0);
        QCOMPARE(
            FileLines(ended.out),
            QStringList({"converted: " + at("place/a.mp3") + " -> " + at("place/a.mp3") +
                             " (input moved to the Trash)",
                         "up to date: " + at("place/sub/b.mp3") + " -> " + at("place/sub/b.mp3")}));
        QVERIFY(Holds(at("place/a.mp3"), Tones::Left));

        // A name that is not UTF-8 goes as its bytes, noted as the Trash
        // notes names: percent-encoded.
        makeInput(QStringLiteral("odd/x.mp3"));
        const QByteArray odd = QFile::encodeName(at("odd/")) + "caf\xe9.mp3";
        QCOMPARE(::rename(QFile::encodeName(at("odd/x.mp3")).constData(), odd.constData()), 0);
        ended = run({"--batch", "--trash-inputs", "--output", "out", "odd"});
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.endsWith("Done.\n\n1 input was moved to the Trash.\n"),
                 qPrintable(ended.out));
        const QByteArray trashed = QFile::encodeName(trash) + "caf\xe9.mp3";
        QCOMPARE(::access(trashed.constData(), F_OK), 0);
        const QByteArray notePath =
            QFile::encodeName(at("home/data/Trash/info/")) + "caf\xe9.mp3.trashinfo";
        QFile note;
        QVERIFY(note.open(::open(notePath.constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
                          QFileDevice::AutoCloseHandle));
        QVERIFY(note.readAll().contains(
            "\nPath=" + QFile::encodeName(at("odd/")).toPercentEncoding("/") + "caf%E9.mp3\n"));
        QCOMPARE(::rename(trashed.constData(), odd.constData()), 0);

        // Where no Trash can be had, the input stays, and so does the user's
        // file that an output's name would need.
        QVERIFY(QFile::rename(at("home/data/Trash"), at("home/data/Trash.kept")) &&
                WriteFile(at("home/data/Trash"), "in the way"));
        ended = run({"--batch", "--trash-inputs", "--output", "out", "odd"});
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains("(input kept: no Trash could be had for it)\n"),
                 qPrintable(ended.out));
        QVERIFY2(ended.out.contains("1 input stays where it was, not in the Trash:\n" +
                                    at("odd/caf\\xE9.mp3") + " - no Trash could be had for it"),
                 qPrintable(ended.out));
        makeInput(QStringLiteral("mine/song.mp3"));
        QVERIFY(WriteFile(at("out/song.mp3"), "the user's own"));
        ended = run({"--batch", "--output", "out", "mine"});
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains(at("mine/song.mp3") + " -> " + at("out/song (2).mp3") +
                                    " - your file of that name stays, as no Trash could take it"),
                 qPrintable(ended.out));
        QCOMPARE(Contents(at("out/song.mp3")), QByteArray("the user's own"));
        QCOMPARE(ChannelCount(at("out/song (2).mp3")), 1);
        // In place, such a file is not converted: the input keeps its name.
        const auto before = TimeAndInode(odd);
        QVERIFY(before.second != 0);
        ended = run({"--batch", "--trash-inputs", "--output", "odd", "odd"});
        QCOMPARE(ended.status, 1);
        QVERIFY2(ended.err.contains("no Trash could be had for it; it was left as it is"),
                 qPrintable(ended.err));
        QCOMPARE(TimeAndInode(odd), before);
    }

    // Output that cannot be written fails the run, as GNU tools fail.
    void anOutputThatCannotBeWrittenIsAFailure()
    {
        makeInput(QStringLiteral("in/a.mp3"));
        const Ended ended =
            runShell(QStringLiteral("\"$VELUNOR\" --batch --output out in >/dev/full"));
        QCOMPARE(ended.status, 1);
        QVERIFY2(ended.err.contains("velunor: write error: No space left on device"),
                 qPrintable(ended.err));
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList({"a.mp3"}));
    }

    // Files that are not converted are told as they end and all listed at the
    // end, even more of them than the window's message lists.
    void unconvertedFilesGiveOne()
    {
        makeInput(QStringLiteral("in/good.mp3"));
        QStringList bad;
        for (int i = 1; i <= 10; ++i) {
            bad << at(QStringLiteral("in/bad %1.mp3").arg(i, 2, 10, QLatin1Char('0')));
            QVERIFY(WriteFile(bad.last(), "no audio in here"));
        }
        // A link in the collection whose file has gone is no file converted.
        bad << at(QStringLiteral("in/gone.mp3"));
        QVERIFY(QFile::link(at("moved/away.mp3"), bad.last()));
        const Ended ended = run({"--batch", "--mode", "mix", "--output", "out", "in"});
        QCOMPARE(ended.status, 1);
        QCOMPARE(ended.out, "converted: " + at("in/good.mp3") + " -> " + at("out/good.mp3") + "\n");
        QVERIFY(!ended.err.contains(u'\r'));
        const QString told = ended.err.section(QStringLiteral("Done.\n\n"), 0, 0);
        const QString summary = ended.err.section(QStringLiteral("Done.\n\n"), 1);
        for (const QString &path : bad) {
            QVERIFY2(told.contains(QStringLiteral("not converted: ") + path + " - "),
                     qPrintable(told));
            QVERIFY2(summary.contains(u'\n' + path + " - "), qPrintable(summary));
        }
        QVERIFY2(summary.startsWith(QStringLiteral("11 files were not converted:\n")),
                 qPrintable(summary));
        QVERIFY2(summary.contains(bad.last() + " - it is a link to " + at("moved/away.mp3") +
                                  ", which does not exist"),
                 qPrintable(summary));
        QVERIFY(!summary.contains(QStringLiteral("more.")));
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList{"good.mp3"});
    }

    // A signal in the middle of a long file stops the run as Stop does: the
    // converter ends, its temporary file goes, the earlier output of that
    // file stays as it was and the file finished before is kept. Then the
    // program ends by that signal, so that a shell's loop stops at Ctrl+C.
    void aSignalStopsTheRun_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void aSignalStopsTheRun()
    {
        QFETCH(int, signalNumber);
        makeInput(QStringLiteral("in/long.mp3"));
        QCOMPARE(run({"--batch", "--mode", "mix", "--output", "out", "in/long.mp3"}).status, 0);
        const QByteArray earlier = Contents(at(QStringLiteral("out/long.mp3")));
        QVERIFY(QFile::remove(at(QStringLiteral("in/long.mp3"))));
        QVERIFY(QFile::copy(longInput_, at(QStringLiteral("in/long.mp3"))));
        makeInput(QStringLiteral("in/short.mp3"));

        QProcess process;
        startProgram(process, {"--batch", "--mode", "mix", "--jobs", "2", "--output", "out",
                               "in/short.mp3", "in/long.mp3"});
        QVERIFY(process.waitForStarted());
        // The short file is done and the long one is being written.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(at(QStringLiteral("out/short.mp3"))) &&
                                     !HiddenEntries(at(QStringLiteral("out"))).isEmpty(),
                                 kRunTimeoutMs);
        QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
        QVERIFY(process.waitForFinished(kRunTimeoutMs));
        const Ended ended = finished(process);

        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), signalNumber);
        QCOMPARE(ProcessesWorkingIn(root_->path()), QStringList());
        QCOMPARE(HiddenEntries(at(QStringLiteral("out"))), QStringList());
        QCOMPARE(Contents(at(QStringLiteral("out/long.mp3"))), earlier);
        QVERIFY(Holds(at(QStringLiteral("out/short.mp3")), Tones::Both));
        QCOMPARE(ended.out,
                 "converted: " + at("in/short.mp3") + " -> " + at("out/short.mp3") + "\n");
        const QString summary = ended.err.section(QStringLiteral("Stopped.\n\n"), 1);
        QVERIFY2(summary.startsWith("1 file was not converted:\n" + at("in/long.mp3") + " - "),
                 qPrintable(ended.err));
    }

    // On a terminal one status line is redrawn in place and cleared before
    // the final message.
    void aTerminalShowsOneStatusLine()
    {
        makeInput(QStringLiteral("in/a.mp3"));
        makeInput(QStringLiteral("in/b.mp3"));
        QStringList quoted;
        for (const QString &word : {kProgram, QStringLiteral("--batch"), QStringLiteral("--output"),
                                    at(QStringLiteral("out")), at(QStringLiteral("in"))})
            quoted << u'\'' + word + u'\'';
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral("script"),
                      {QStringLiteral("-qec"), quoted.join(u' '), QStringLiteral("/dev/null")});
        QVERIFY(process.waitForFinished(kRunTimeoutMs));
        const Ended ended = finished(process);
        QCOMPARE(ended.status, 0);
        const QString erase = QStringLiteral("\r\x1b[K");
        QVERIFY2(ended.out.startsWith(erase + QStringLiteral("[--------------------]   0%  0/2 "
                                                             "files")),
                 qPrintable(ended.out));
        QVERIFY2(ended.out.endsWith(erase + QStringLiteral("Done.\r\n")), qPrintable(ended.out));
        QVERIFY(!ended.out.contains(QStringLiteral("converted")));
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList({"a.mp3", "b.mp3"}));
    }

    // A run confined to some of the processors (taskset, a container's
    // cpuset) starts a converter for each of those, not for each the machine
    // has.
    void conversionsAtOnceFollowTheProcessorsAllowed()
    {
        const Ended ended = runShell(QStringLiteral("taskset -c 0 \"$VELUNOR\" --help"));
        QCOMPARE(ended.status, 0);
        QVERIFY2(ended.out.contains(QStringLiteral("by default one per processor (1 here)")),
                 qPrintable(ended.out));
    }

    // Without --batch the program becomes the window program found beside
    // its real executable, not beside a link to it, with the same arguments
    // (bytes that are not text among them) and leaves with its status; one
    // that cannot be started is named, and so is a display that is missing.
    void withoutBatchTheWindowProgramBesideTheExecutableTakesOver()
    {
        QTemporaryDir installed, elsewhere;
        const QString program = QDir(installed.path()).filePath(QStringLiteral("velunor"));
        const QString link = QDir(elsewhere.path()).filePath(QStringLiteral("velunor"));
        QVERIFY(QFile::copy(kProgram, program) && QFile::link(program, link));
        const QString window = QDir(installed.path()).filePath(QStringLiteral("velunor-window"));
        // No display at all (a console, ssh), or an X display of this machine
        // that nobody answers: the user learns how to convert without the
        // window, rather than finding a core dump. A display that answers
        // is tried.
        QProcess process;
        QProcessEnvironment display = environment();
        const auto startWith = [&](const QString &variable, const QString &value) {
            if (!variable.isEmpty())
                display.insert(variable, value);
            process.setProcessEnvironment(display);
            process.start(link, {QStringLiteral("a song.mp3")});
            return process.waitForFinished(kRunTimeoutMs);
        };
        const QString hint = QStringLiteral("velunor --batch --output FOLDER FILE...");
        QVERIFY(startWith(QString(), QString()));
        Ended ended = finished(process);
        QCOMPARE(ended.status, 1);
        QVERIFY2(ended.err.contains(QStringLiteral("no display is named")) &&
                     ended.err.contains(hint),
                 qPrintable(ended.err));

        const int number = 4000 + int(::getpid() % 1000);
        const QString xDisplay = QStringLiteral(":%1.0").arg(number);
        QVERIFY(startWith(QStringLiteral("DISPLAY"), xDisplay));
        ended = finished(process);
        QCOMPARE(ended.status, 1);
        QVERIFY2(ended.err.contains(xDisplay + QStringLiteral(" does not answer")) &&
                     ended.err.contains(hint),
                 qPrintable(ended.err));

        const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = "/tmp/.X11-unix/X" + QByteArray::number(number);
        std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
        QVERIFY(::bind(server, reinterpret_cast<sockaddr *>(&address),
                       socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0);
        QVERIFY(::listen(server, 4) == 0);
        QVERIFY(startWith(QString(), QString()));
        ::close(server);
        ended = finished(process);
        QCOMPARE(ended.status, 127);
        QVERIFY2(ended.err.contains(window + QStringLiteral(" cannot be started")),
                 qPrintable(ended.err));

        // A display ssh forwards to a port of this machine: told once its
        // session has gone (the port is taken, but nobody listens), tried
        // while it answers.
        const int tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in loopback{};
        loopback.sin_family = AF_INET;
        loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof loopback;
        QVERIFY(::bind(tcp, reinterpret_cast<sockaddr *>(&loopback), length) == 0 &&
                ::getsockname(tcp, reinterpret_cast<sockaddr *>(&loopback), &length) == 0);
        const QString forwarded =
            QStringLiteral("localhost:%1.0").arg(ntohs(loopback.sin_port) - 6000);
        QVERIFY(startWith(QStringLiteral("DISPLAY"), forwarded));
        ended = finished(process);
        QVERIFY2(ended.status == 1 &&
                     ended.err.contains(forwarded + QStringLiteral(" does not answer")),
                 qPrintable(ended.err));
        QVERIFY(::listen(tcp, 4) == 0);
        QVERIFY(startWith(QString(), QString()));
        ::close(tcp);
        QCOMPARE(finished(process).status, 127);

        display.remove(QStringLiteral("DISPLAY"));
        display.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(display);
        QVERIFY(WriteFile(window, "#!/bin/sh\nprintf '%s|' \"$@\"\nexit 3\n",
                          QFile::ReadOwner | QFile::ExeOwner));
        process.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" 'a song.mp3' \"$(printf '\\377.mp3')\" -- --batch"),
             link});
        QVERIFY(process.waitForFinished(kRunTimeoutMs));
        QCOMPARE(process.exitCode(), 3);
        QCOMPARE(process.readAllStandardOutput(), QByteArray("a song.mp3|\xff.mp3|--|--batch|"));
    }

    // The reader of other formats' tags is loaded beside the program when an
    // input needs it: without it, MP3 inputs convert as ever and a WAV input
    // is not converted, with the reason, rather than losing its tags.
    void withoutTheTagReaderOnlyOtherFormatsFail()
    {
        QTemporaryDir installed;
        const QString program = QDir(installed.path()).filePath(QStringLiteral("velunor"));
        QVERIFY(QFile::copy(kProgram, program));
        makeInput(QStringLiteral("in/a.mp3"));
        QCOMPARE(MakeStereoAudio(at(QStringLiteral("in/b.wav"))), QString());
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(root_->path());
        process.start(program,
                      {"--batch", "--mode", "mix", "--output", "out", "in/a.mp3", "in/b.wav"});
        QVERIFY(process.waitForFinished(kRunTimeoutMs));
        const Ended ended = finished(process);
        QCOMPARE(ended.status, 1);
        const QString reason = QStringLiteral("not converted: ") + at(QStringLiteral("in/b.wav")) +
                               QStringLiteral(" - its tags cannot be read: the program's part that "
                                              "reads them cannot be loaded (") +
                               QDir(installed.path()).filePath("modules/velunor-foreign-tags.so");
        QVERIFY2(ended.err.contains(reason), qPrintable(ended.err));
        QCOMPARE(Entries(at(QStringLiteral("out"))), QStringList{"a.mp3"});
        QVERIFY(Holds(at(QStringLiteral("out/a.mp3")), Tones::Both));
    }

    // The status line never wraps, whatever the width and the name.
    void theStatusLineFitsTheTerminal()
    {
        conversion::RunProgress progress;
        progress.fraction = 0.427;
        progress.secondsLeft = 3725;
        const QString wideName = QString(30, QChar(0x58f0)) + QStringLiteral(".mp3");
        for (const QString &name :
             {QStringLiteral("short.mp3"), QString(200, u'x') + ".mp3", wideName}) {
            progress.atWork = AsPath(QStringLiteral("/music/") + name);
            const QString full = cli::StatusLine(progress, 5, 12, 400);
            QCOMPARE(full,
                     QStringLiteral("[########------------]  42%  5/12 files  1:02:05 left  ") +
                         name);
            for (int columns : {80, 50, 36, 20, 5, 0}) {
                const QString line = cli::StatusLine(progress, 5, 12, columns);
                QVERIFY2(cli::DisplayWidth(line) <= std::max(columns - 1, 0), qPrintable(line));
                if (columns >= 80)
                    QVERIFY2(line.endsWith(QStringLiteral(".mp3")), qPrintable(line));
            }
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
