// "Start Converting" through the real window: the real SoX staged from the
// executable, real stereo MP3s, real mishaps (a full disk, a killed
// converter, a list changed mid-run), and the messages the user would see.

#include "Audio.h"
#include "Files.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"
#include "conversion/ConverterFiles.h"
#include "conversion/FilePlan.h"
#include "conversion/FinishOutput.h"
#include "shell/ui/ErrorReport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kDone = QStringLiteral("Done.");
const QString kNoFolder = QStringLiteral("Folder does not exist. Please select another folder.");
const QString kRunLocation = QStringLiteral("in Korvath2016/11/03.Form1.PushButton2_Click ");
const QString kStopQuestion =
    QStringLiteral("Stop converting now? Files already converted are kept.");

QString NotConverted(const QStringList &lines, const QString &first = kDone)
{
    return first + "\r\n\r\n" +
           (lines.size() == 1 ? QStringLiteral("1 file was not converted:")
                              : QStringLiteral("%1 files were not converted:").arg(lines.size())) +
           "\r\n" + lines.join("\r\n");
}

// Everything the bar and the title show during a run, each value as it is
// set, so that nothing shown is ever missed, however busy the machine.
class WindowRecorder : public QObject {
public:
    explicit WindowRecorder(app::Form1 &form)
    {
        connect(Controls(form).ProgressBar1, &QProgressBar::valueChanged, this,
                [this](int value) { values << value; });
        connect(Controls(form).ProgressBar1, &app::ProgressBar::textChanged, this,
                [this, &form](const QString &text) {
                    texts << text;
                    if (text.startsWith("Please wait.. ") || text.startsWith("Processing: "))
                        pointerBusyWhileWorking &= form.MousePointer().isBusy();
                });
        connect(&form, &QWidget::windowTitleChanged, this,
                [this](const QString &title) { titles << title; });
    }
    QList<int> values;
    QStringList texts;
    QStringList titles;
    bool pointerBusyWhileWorking = true;
};

// Runs `action` once, the first time the bar shows a converter at work.
class WhileConverting : public QObject {
public:
    WhileConverting(app::Form1 &form, std::function<void()> action)
    {
        connect(Controls(form).ProgressBar1, &app::ProgressBar::textChanged, this,
                [this, action](const QString &text) {
                    if (done_ ||
                        (!text.startsWith("Please wait.. ") && !text.startsWith("Processing: ")))
                        return;
                    done_ = true;
                    // Not from inside the bar's own signal.
                    QTimer::singleShot(0, this, action);
                });
    }

private:
    bool done_ = false;
};

QStringList SoxChildren()
{
    QStringList pids;
    for (const auto &[pid, name] : ChildProcesses())
        if (name == "sox")
            pids << QString::number(pid);
    return pids;
}

} // namespace

class ConversionRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> staging_;
    std::unique_ptr<QTemporaryDir> inputs_;
    std::unique_ptr<QTemporaryDir> outputs_;
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<TestWindow> window_;
    QByteArray home_before_;

    app::Form1 &form() { return window_->form(); }
    ScriptedPlatform &platform() { return window_->platform; }

    QString input(const QString &name, int left = 440, int right = 1000, double seconds = 1.0)
    {
        const QString path = inputs_->filePath(name);
        const QString problem = MakeStereoMp3(path, seconds, left, right);
        if (!problem.isEmpty())
            qWarning() << problem;
        return path;
    }
    QString output(const QString &name) const { return outputs_->path() + "/" + name; }
    // Where the desktop's Trash keeps the files moved there.
    QString trashFiles() const { return home_->path() + "/.qttest/share/Trash/files"; }
    void list(const QStringList &paths) { Controls(form()).ListView1->items().add(Paths(paths)); }
    void start() { QTest::mouseClick(Controls(form()).PushButton2, Qt::LeftButton); }
    // Starts a run and waits until it has ended.
    void convert()
    {
        start();
        QTRY_VERIFY_WITH_TIMEOUT(!form().isConverting(), 120000);
    }
    void chooseMode(app::OptionButton *option)
    {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        QVERIFY(option->isChecked());
    }
    // Nothing half-written is left beside the outputs, nothing in staging.
    void verifyNoLeftovers(const QString &folder)
    {
        for (const QString &name : Entries(folder))
            QVERIFY2(!name.startsWith(".velunor-"), qPrintable(name));
        QCOMPARE(Entries(staging_->path()), QStringList());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        home_before_ = qgetenv("HOME");
    }

    void init()
    {
        staging_ = std::make_unique<QTemporaryDir>();
        inputs_ = std::make_unique<QTemporaryDir>();
        outputs_ = std::make_unique<QTemporaryDir>();
        // A home of its own, so that the Trash is the test's; a new one, in
        // which not even the folder for the user's data exists yet.
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(home_->path()));
        qputenv("TEMP", QFile::encodeName(staging_->path()));
        window_ = std::make_unique<TestWindow>();
        window_->load();
        form().setConversionsAtOnce(2);
        Controls(form()).Text1->setText(outputs_->path() + "/");
    }

    void cleanup()
    {
        QVERIFY2(platform().unexpected.isEmpty(), qPrintable(platform().unexpected.join("; ")));
        window_.reset();
        qunsetenv("TEMP");
        qputenv("HOME", home_before_);
    }

    // ---- output names ------------------------------------------------------

    void outputNames_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("last dot only") << "/out/"
                                       << "/in/Live.Set.MP3"
                                       << "/out/Live.Set.mp3";
        QTest::newRow("no dot") << "/out/"
                                << "/in.d/track"
                                << "/out/track.mp3";
        QTest::newRow("folder typed without /") << "/out"
                                                << "/in/a.wav"
                                                << "/out/a.mp3";
        QTest::newRow("root folder") << "/"
                                     << "/in/a.mp3"
                                     << "/a.mp3";
    }

    void outputNames()
    {
        QFETCH(QString, folder);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(conversion::OutputPathFor(AsPath(folder), AsPath(input)).text(), expected);
    }

    // ---- a normal run ------------------------------------------------------

    void filesConvertTwoAtATimeInListOrder()
    {
        chooseMode(Controls(form()).Option2);
        list({input("a.mp3", 440, 1000, 5.0), input("Song.Live.MP3", 440, 1000, 5.0),
              input("c.mp3", 440, 1000, 5.0)});
        WindowRecorder shown(form());
        convert();

        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(platform().processes.mostAtOnce, 2);
        QCOMPARE(Entries(outputs_->path()), QStringList({"Song.Live.mp3", "a.mp3", "c.mp3"}));
        for (const QString &name : Entries(outputs_->path())) {
            QCOMPARE(ChannelCount(output(name)), 1);
            const QVector<double> levels = ToneAmplitudes(output(name), {440, 1000, 300});
            QVERIFY2(levels.size() == 3 && levels[0] > 0.4 && levels[1] < 0.05 && levels[2] < 0.05,
                     qPrintable(name));
        }
        // The bar only ever rises during the run and is reset at its end; it
        // names the file at work, with the hourglass the whole time.
        QVERIFY(!shown.values.isEmpty());
        QCOMPARE(shown.values.last(), 0);
        const QList<int> during = shown.values.mid(0, shown.values.size() - 1);
        QVERIFY2(std::is_sorted(during.begin(), during.end()),
                 qPrintable(QString::number(during.size())));
        // 100 only as the run ends.
        QVERIFY(!during.contains(100) || during.indexOf(100) == during.size() - 1);
        QVERIFY(shown.texts.contains("Processing: a.mp3"));
        QVERIFY(shown.pointerBusyWhileWorking);
        QCOMPARE(shown.titles.last(), QStringLiteral("Velunor"));
        QCOMPARE(Controls(form()).ProgressBar1->value(), 0);
        QCOMPARE(Controls(form()).ProgressBar1->text(), QStringLiteral("Progress Bar"));
        QCOMPARE(form().MousePointer().kind(), app::PointerKind::Default);
        verifyNoLeftovers(outputs_->path());
        QCOMPARE(Controls(form()).ListView1->items().count(), 3);
    }

    void theBarFollowsTheAudioOfALongFile()
    {
        // Listed first, so it starts at once; the short ones are done while it
        // is still at work, and the bar goes on rising with it alone.
        const QString longSong = inputs_->filePath("long.wav");
        QCOMPARE(MakeStereoAudio(longSong, 400.0), QString());
        list({longSong, input("a.mp3"), input("b.mp3"), input("c.mp3")});
        WindowRecorder shown(form());
        QList<int> whileAlone;
        connect(Controls(form()).ProgressBar1, &QProgressBar::valueChanged, this, [&](int value) {
            const QStringList done = Entries(outputs_->path());
            if (done.contains("a.mp3") && done.contains("b.mp3") && done.contains("c.mp3") &&
                !done.contains("long.mp3"))
                whileAlone << value;
        });
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QVERIFY2(whileAlone.size() >= 2, qPrintable(QString::number(whileAlone.size())));
        QVERIFY(std::is_sorted(whileAlone.begin(), whileAlone.end()));
        QVERIFY(whileAlone.last() < 100);
        // "42% – Velunor", or with the time left once it can be told; 100%
        // only as the run ends.
        const QRegularExpression during(
            "^(\\d{1,2}|100)% (\u00b7 \\d+:\\d\\d left )?\u2013 Velunor$");
        for (const QString &title : shown.titles.mid(0, shown.titles.size() - 1))
            QVERIFY2(during.match(title).hasMatch(), qPrintable(title));
        QVERIFY(shown.titles.indexOf(QRegularExpression("^100%")) < 0 ||
                shown.titles.indexOf(QRegularExpression("^100%")) >= shown.titles.size() - 2);
        QCOMPARE(shown.titles.last(), QStringLiteral("Velunor"));
    }

    void sameNamesFromManyFoldersEachKeepTheirOutput()
    {
        // Albums of one collection, the same track names in each, and a
        // track listed twice.
        QStringList songs;
        for (const QString name :
             {"A/01.mp3", "B/01.mp3", "C/01.MP3", "D/Intro.mp3", "E/intro.mp3"}) {
            QVERIFY(QDir(inputs_->path()).mkpath(QFileInfo(name).path()));
            songs << input(name);
        }
        list(songs);
        list({songs[0]});
        const QString sameName = " - another file in the list has the same name";
        const QString expected =
            "Done.\r\n\r\n3 files were saved under another name or in place of a file of "
            "yours:\r\n" +
            songs[1] + " -> " + output("01 (2).mp3") + sameName + "\r\n" + songs[2] + " -> " +
            output("01 (3).mp3") + sameName + "\r\n" + songs[4] + " -> " + output("intro (2).mp3") +
            sameName;
        for (int round = 0; round < 2; ++round) {
            platform().messages.clear();
            convert();
            // Running the same list again gives the same names, replacing
            // its own earlier outputs, and moves nothing to the Trash.
            QCOMPARE(platform().messageTexts(), QStringList({expected}));
            QCOMPARE(Entries(outputs_->path()), QStringList({"01 (2).mp3", "01 (3).mp3", "01.mp3",
                                                             "Intro.mp3", "intro (2).mp3"}));
        }
        QCOMPARE(Entries(trashFiles()), QStringList());
        verifyNoLeftovers(outputs_->path());
    }

    void aFolderTypedFromHomeIsTheHomeFolder()
    {
        // A typed "~" is the home folder, as in a shell and in file dialogs;
        // a folder that is really named "~" would have to be typed as "./~".
        QVERIFY(QDir(home_->path()).mkpath("Music"));
        list({input("a.mp3")});
        Controls(form()).Text1->setText("~/Music");
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(home_->path() + "/Music"), QStringList({"a.mp3"}));
        QCOMPARE(ChannelCount(home_->path() + "/Music/a.mp3"), 1);
    }

    void refusedStartsStageNothing_data()
    {
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("folder"); // "<file>": the path of a file
        QTest::addColumn<QString>("message");
        QTest::newRow("empty list, missing folder") << false << "/no/such/folder/"
                                                    << "No files added.";
        QTest::newRow("empty folder text") << true << "" << kNoFolder;
        QTest::newRow("a file") << true << "<file>" << kNoFolder;
        QTest::newRow("a missing folder at home") << true << "~/Music/" << kNoFolder;
    }

    void refusedStartsStageNothing()
    {
        QFETCH(bool, withFiles);
        QFETCH(QString, folder);
        QFETCH(QString, message);
        if (withFiles)
            list({input("a.mp3")});
        Controls(form()).Text1->setText(folder == "<file>" ? input("a.mp3") : folder);
        start();
        QCOMPARE(platform().messageTexts(), QStringList({message}));
        QVERIFY(!form().isConverting());
        QCOMPARE(Entries(staging_->path()), QStringList());
        QCOMPARE(platform().processes.processesStarted, 0);
    }

    // ---- what the user keeps ------------------------------------------------

    void hostileNamesNeverTouchTheirNeighbours()
    {
        // Files already in the output folder that a pattern reading of the
        // names would pick.
        for (const QString name : {"hits 2020.mp3", "tune l.mp3", "qa.mp3", "qb.mp3"})
            QVERIFY(WriteFile(output(name), name.toUtf8()));
        // An earlier output of this input bears its mark, as an older version
        // wrote it (the input's path alone), and is replaced.
        const QString old = input("old {x}.mp3");
        QVERIFY(WriteFile(output("old {x}.mp3"), "an older result of this very name"));
        QVERIFY(::setxattr(QFile::encodeName(output("old {x}.mp3")).constData(),
                           conversion::kOutputMarkName, QFile::encodeName(old).constData(),
                           QFile::encodeName(old).size(), 0) == 0);
        list({input("hits {2020}.mp3"), input("tune [live].mp3"), input("q?.mp3"), old});
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        for (const QString name : {"hits 2020.mp3", "tune l.mp3", "qa.mp3", "qb.mp3"})
            QCOMPARE(Contents(output(name)), name.toUtf8());
        for (const QString name : {"hits {2020}.mp3", "tune [live].mp3", "q?.mp3", "old {x}.mp3"})
            QCOMPARE(ChannelCount(output(name)), 1);
        verifyNoLeftovers(outputs_->path());
    }

    void aFileOfTheUsersOwnGoesToTheTrashOnce()
    {
        // An unrelated song of the user's that happens to have the name.
        const QString mine = output("track.mp3");
        QCOMPARE(MakeStereoMp3(mine, 5.0), QString());
        const QByteArray before = Contents(mine);
        const QString song = input("track.mp3");
        list({song});
        convert();
        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n1 file was saved under another name or in place of "
                              "a file of yours:\r\n" +
                              song + " -> " + mine +
                              " - your file of that name was moved to the Trash"}));
        QCOMPARE(Contents(trashFiles() + "/track.mp3"), before);
        QCOMPARE(ChannelCount(mine), 1);

        // The output is the program's own now: converting again replaces it
        // and moves nothing more to the Trash.
        platform().messages.clear();
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(trashFiles()), QStringList({"track.mp3"}));
        verifyNoLeftovers(outputs_->path());
    }

    void aFatStickGetsNamesItTakes()
    {
        FatStick stick(8192);
        if (!stick.isMounted())
            QSKIP("no FAT file system can be mounted here (needs root, FUSE and fusefat)");
        Controls(form()).Text1->setText(stick.path() + "/");
        QStringList songs;
        for (const QString name : {"A/01.mp3", "B/01.mp3", "a:b.mp3", "a?b.mp3", "CON.mp3"}) {
            QVERIFY(QDir(inputs_->path()).mkpath(QFileInfo(name).path()));
            songs << input(name);
        }
        // A listed file on the stick itself, with the name the two refused
        // ones become: no output ever lands on it.
        const QString onStick = stick.path() + "/a_b.mp3";
        QCOMPARE(MakeStereoMp3(onStick, 1.0), QString());
        const QByteArray onStickBefore = Contents(onStick);
        list(songs + QStringList{onStick});
        convert();
        const QStringList outputs = {"01 (2).mp3",  "01.mp3",      "CON_.mp3",
                                     "a_b (2).mp3", "a_b (3).mp3", "a_b.mp3"};
        const QString refused = " - the output's file system refuses the name as it is";
        const QString message =
            "Done.\r\n\r\n1 file was not converted:\r\n" + onStick +
            " - skipped, the output would replace this very file\r\n\r\n4 files were saved under "
            "another name or in place of a file of yours:\r\n" +
            songs[1] + " -> " + stick.path() +
            "/01 (2).mp3 - another file in the list has the same name\r\n" + songs[2] + " -> " +
            stick.path() + "/a_b (2).mp3" + refused +
            "; another file in the list has the same name\r\n" + songs[3] + " -> " + stick.path() +
            "/a_b (3).mp3" + refused + "; another file in the list has the same name\r\n" +
            songs[4] + " -> " + stick.path() + "/CON_.mp3" + refused;
        QCOMPARE(platform().messageTexts(), QStringList({message}));
        QCOMPARE(Entries(stick.path()), outputs);
        QCOMPARE(Contents(onStick), onStickBefore);
        for (const QString &name : outputs)
            QCOMPARE(ChannelCount(stick.path() + "/" + name), name == "a_b.mp3" ? 2 : 1);

        // FAT keeps no marks, but an earlier output of the same input holds
        // the very same audio: converting again replaces each one quietly.
        platform().messages.clear();
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({message}));
        QCOMPARE(Entries(stick.path()), outputs);
        QVERIFY(!QFileInfo::exists(stick.path() + "/.Trash-0"));

        // Any other file at an output's name goes to the stick's Trash.
        QCOMPARE(MakeStereoMp3(stick.path() + "/01.mp3", 2.0), QString());
        platform().messages.clear();
        convert();
        QCOMPARE(platform().messageTexts().value(0).count("moved to the Trash"), 1);
        QCOMPARE(Entries(stick.path() + "/.Trash-0/files"), QStringList({"01.mp3"}));
    }

    void aFolderThatGoesAwayOrStopsTakingFilesIsToldAsSuch_data()
    {
        QTest::addColumn<bool>("removed");
        QTest::newRow("removed") << true;
        QTest::newRow("made read-only") << false;
    }

    void aFolderThatGoesAwayOrStopsTakingFilesIsToldAsSuch()
    {
        QFETCH(bool, removed);
        const QString folder = outputs_->path() + "/out";
        QVERIFY(QDir().mkpath(folder));
        Controls(form()).Text1->setText(folder);
        const QString song = input("song.mp3", 440, 1000, 30.0);
        list({song});
        const QByteArray path = QFile::encodeName(folder);
        // An administrator is not stopped by permissions: a read-only mount
        // of the folder stops anyone.
        const bool root = ::geteuid() == 0;
        bool mounted = false;
        auto makeWritable = [&] {
            if (mounted)
                ::umount2(path.constData(), MNT_DETACH);
            else if (!removed && !root)
                ::chmod(path.constData(), 0755);
            mounted = false;
        };
        auto atEnd = qScopeGuard(makeWritable);
        WhileConverting meanwhile(form(), [&] {
            if (removed)
                QVERIFY(QDir(folder).removeRecursively());
            else if (root)
                mounted =
                    ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
                    ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) == 0;
            else
                QVERIFY(::chmod(path.constData(), 0555) == 0);
        });
        convert();
        const QString text = platform().messageTexts().value(0);
        if (removed) {
            QCOMPARE(text,
                     NotConverted({song + " - the output folder was removed during the run"}));
            return;
        }
        if (root)
            QVERIFY(mounted);
        const QString why = root ? "Read-only file system" : "Permission denied";
        // The hidden file that could not be removed is named, not hidden.
        QVERIFY2(
            text.startsWith(NotConverted({song + " - cannot write in the output folder: " + why +
                                          "; the unfinished file " + folder + "/.velunor-"})),
            qPrintable(text));
        makeWritable();
        QCOMPARE(Entries(folder).size(), 1);
        // The next run into the folder clears it away.
        platform().messages.clear();
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(folder), QStringList({"song.mp3"}));
    }

    void aFailureKeepsTheEarlierOutputAndSaysWhy()
    {
        const QString good = input("good.mp3");
        const QString damaged = inputs_->filePath("damaged.mp3");
        QByteArray noise(4096, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QVERIFY(WriteFile(damaged, noise));
        QVERIFY(WriteFile(output("damaged.mp3"), "the earlier output"));
        const QString bare = inputs_->filePath("recording");
        QVERIFY(QFile::copy(input("b.mp3", 300, 300), bare));
        const QString pipe = inputs_->filePath("pipe.mp3");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        const QString missing = inputs_->filePath("gone.mp3");
        const QString empty = inputs_->filePath("empty.mp3");
        QVERIFY(WriteFile(empty, QByteArray()));
        list({damaged, good, bare, pipe, missing, empty});
        convert();

        QCOMPARE(platform().messageTexts(),
                 QStringList({NotConverted(
                     {damaged + " - formats: can't open input file `" + damaged + "':",
                      bare + " - formats: can't determine type of file `" + bare + "'",
                      pipe + " - it is not a regular file", missing + " - the file does not exist",
                      empty + " - the file is empty"})}));
        QCOMPARE(Contents(output("damaged.mp3")), QByteArray("the earlier output"));
        QCOMPARE(Contents(damaged), noise);
        QCOMPARE(Entries(outputs_->path()), QStringList({"damaged.mp3", "good.mp3"}));
        verifyNoLeftovers(outputs_->path());
    }

    // A run with something to know does not end on "Done." alone.
    void warningsAndMonoInputsAreNamedInTheMessage()
    {
        const QString cancel = inputs_->filePath("cancel.mp3");
        const QString mono = inputs_->filePath("mono.mp3");
        QCOMPARE(RunTool("sox", {"-n", "-c", "2", cancel, "synth", "2", "sine", "440", "vol", "0.5",
                                 "remix", "1", "1v-1"}),
                 QString());
        QCOMPARE(RunTool("sox", {"-n", "-c", "1", mono, "synth", "2", "sine", "440"}), QString());
        list({cancel, mono});
        convert();
        QCOMPARE(platform().messageTexts(),
                 QStringList(kDone + "\r\n\r\n1 warning:\r\n" + cancel +
                             " - the two channels cancel each other out; the mix is near silence, "
                             "convert it with Left or Right\r\n\r\n1 file was mono already:\r\n" +
                             mono + " - already mono: audio copied unchanged"));
        QCOMPARE(Entries(outputs_->path()), QStringList({"cancel.mp3", "mono.mp3"}));
        verifyNoLeftovers(outputs_->path());
    }

    void aFullDiskIsNeverReportedAsSuccess()
    {
        SmallFileSystem disk(160);
        struct rlimit previous {};
        ::getrlimit(RLIMIT_FSIZE, &previous);
        if (!disk.isMounted()) {
            // Not root: a file-size limit on the converter cuts it short alike.
            ::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = previous;
            limit.rlim_cur = 160 * 1024;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        const QString folder = disk.isMounted() ? disk.path() : outputs_->path();
        const QByteArray earlier(20 * 1024, 'e');
        QVERIFY(WriteFile(folder + "/long 1.mp3", earlier));
        Controls(form()).Text1->setText(folder + "/");
        // Three files the disk cannot hold, converted two at a time, so that
        // the unfinished output of one is gone before another is checked;
        // and a short one that fits once they are.
        QStringList songs;
        for (const QString name : {"long 1.mp3", "long 2.mp3", "long 3.mp3"})
            songs << input(name, 440, 1000, 20.0);
        songs << input("short.mp3", 440, 1000, 1.0);
        ::setrlimit(RLIMIT_FSIZE, &previous);
        list(songs);
        convert();
        ::setrlimit(RLIMIT_FSIZE, &previous);
        ::signal(SIGXFSZ, SIG_DFL);

        const QString reason = disk.isMounted() ? " - the disk is full" : " - sox: ";
        const QString text = platform().messageTexts().value(0);
        QVERIFY2(
            text.startsWith(NotConverted({songs[0] + reason, songs[1] + reason, songs[2] + reason})
                                .section(reason, 0, 0)),
            qPrintable(text));
        QCOMPARE(text.count(reason), 3);
        QVERIFY2(!text.contains("shorter"), qPrintable(text));
        QCOMPARE(Contents(folder + "/long 1.mp3"), earlier);
        QCOMPARE(ChannelCount(folder + "/short.mp3"), 1);
        verifyNoLeftovers(folder);
    }

    void aKilledOrTerminatedConverterIsNeverReportedAsSuccess_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("killed") << int(SIGKILL) << "long.mp3"
                                << "ended by signal 9, Killed";
        // SoX ends well on SIGTERM, with part of the audio written.
        QTest::newRow("terminated") << int(SIGTERM) << "long.mp3"
                                    << "the output is shorter than the input (";
        QTest::newRow("terminated, not an MP3") << int(SIGTERM) << "long.wav"
                                                << "the output is shorter than the input (";
    }

    void aKilledOrTerminatedConverterIsNeverReportedAsSuccess()
    {
        QFETCH(int, signal);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        // Long enough that it is caught at work, also where decoding is fast.
        const QString song = input(name, 440, 1000, name.endsWith(".wav") ? 400.0 : 120.0);
        QVERIFY(WriteFile(output("long.mp3"), "the earlier output"));
        list({song});
        // Ended once it has written part of its output.
        WhileConverting kill(form(), [this, signal] {
            QTRY_VERIFY(!SoxChildren().isEmpty());
            QTRY_VERIFY(QDir(outputs_->path())
                            .entryInfoList({".velunor-*"}, QDir::Files | QDir::Hidden)
                            .value(0)
                            .size() > 0);
            for (const QString &pid : SoxChildren())
                ::kill(pid.toInt(), signal);
        });
        convert();
        const QString text = platform().messageTexts().value(0);
        QVERIFY2(text.startsWith(NotConverted({song + " - " + reason})), qPrintable(text));
        QCOMPARE(Contents(output("long.mp3")), QByteArray("the earlier output"));
        verifyNoLeftovers(outputs_->path());
    }

    void everyTagIsKeptInItsOwnScript()
    {
        const QString song = input("tagged.mp3");
        {
            TagLib::MPEG::File file(QFile::encodeName(song).constData());
            TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
            tag->setTitle(TagLib::String("Ça ira — 日本語", TagLib::String::UTF8));
            tag->setArtist(TagLib::String("Édith", TagLib::String::UTF8));
            auto *albumArtist = new TagLib::ID3v2::TextIdentificationFrame("TPE2");
            albumArtist->setText("Les Ensembles");
            tag->addFrame(albumArtist);
            auto *cover = new TagLib::ID3v2::AttachedPictureFrame;
            cover->setMimeType("image/png");
            cover->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
            cover->setPicture(TagLib::ByteVector(5000, 'p'));
            tag->addFrame(cover);
            QVERIFY(
                file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v3));
        }
        list({song});
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));

        TagLib::MPEG::File converted(QFile::encodeName(output("tagged.mp3")).constData());
        TagLib::ID3v2::Tag *tag = converted.ID3v2Tag();
        QVERIFY(tag);
        QCOMPARE(int(tag->header()->majorVersion()), 3);
        QCOMPARE(QString::fromStdWString(tag->title().toWString()), QString("Ça ira — 日本語"));
        QCOMPARE(QString::fromStdWString(tag->artist().toWString()), QString("Édith"));
        QCOMPARE(tag->frameList("TPE2").front()->toString(), TagLib::String("Les Ensembles"));
        const auto *picture =
            dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(tag->frameList("APIC").front());
        QVERIFY(picture && picture->picture() == TagLib::ByteVector(5000, 'p'));
        QCOMPARE(ChannelCount(output("tagged.mp3")), 1);
    }

    void aMalformedTagCostsNothingElse()
    {
        // A frame size that wraps a 32-bit sum once held the run for ever.
        const QString bad = input("bad tag.mp3");
        const QByteArray title = QByteArray("TIT2\0\0\0\6\0\0", 10) + QByteArray("\0Title", 6);
        const QByteArray length = QByteArray("TLEN\xFF\xFF\xFF\xF6\0\0", 10) + QByteArray("\0"
                                                                                          "1000",
                                                                                          5);
        const QByteArray frames = title + length;
        const QByteArray tag = QByteArray("ID3\3\0\0\0\0", 8) + char(frames.size() >> 7) +
                               char(frames.size() & 0x7F) + frames;
        QVERIFY(WriteFile(bad, tag + Contents(bad)));
        list({bad, input("good.mp3")});
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        for (const QString name : {"bad tag.mp3", "good.mp3"})
            QCOMPARE(ChannelCount(output(name)), 1);
        // What could be read of the tag goes over.
        TagLib::MPEG::File converted(QFile::encodeName(output("bad tag.mp3")).constData());
        QVERIFY(converted.ID3v2Tag());
        QCOMPARE(QString::fromStdWString(converted.ID3v2Tag()->title().toWString()),
                 QStringLiteral("Title"));
    }

    // ---- the user working beside the run --------------------------------------

    // The output folder and the mode are read as each file starts: a change
    // during the run reaches every file that has not started.
    void choicesChangedDuringTheRunReachTheFilesNotStarted()
    {
        QTemporaryDir other;
        form().setConversionsAtOnce(1);
        list({input("a.mp3", 440, 1000, 60.0), input("b.mp3"), input("c.mp3")});
        chooseMode(Controls(form()).Option1);
        WhileConverting change(form(), [&] {
            Controls(form()).Text1->setText(other.path() + "/");
            chooseMode(Controls(form()).Option2);
        });
        convert();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3"}));
        QCOMPARE(Entries(other.path()), QStringList({"b.mp3", "c.mp3"}));
        const QVector<double> mixed = ToneAmplitudes(output("a.mp3"), {440, 1000});
        QVERIFY(mixed.size() == 2 && mixed[0] > 0.1 && mixed[1] > 0.1);
        const QVector<double> left = ToneAmplitudes(other.path() + "/b.mp3", {440, 1000});
        QVERIFY(left.size() == 2 && left[0] > 0.1 && left[1] < 0.05);
    }

    void noChannelModeLeavesEveryFileAsItWas()
    {
        const QStringList songs = {input("a.mp3"), input("b.mp3")};
        list(songs);
        for (app::OptionButton *option :
             {Controls(form()).Option1, Controls(form()).Option2, Controls(form()).Option3})
            form().setOptionValue(option, false);
        convert();
        QCOMPARE(platform().messageTexts(),
                 QStringList({NotConverted({songs[0] + " - no channel mode is selected",
                                            songs[1] + " - no channel mode is selected"})}));
        QCOMPARE(platform().processes.processesStarted, 0);
        QCOMPARE(Entries(outputs_->path()), QStringList());
    }

    // The bar counts the converter's polls while it works, and says
    // "Progress Bar" again the moment it has ended, while its output is
    // checked and before it takes its name.
    void theBarCountsTheWaitAndSaysWhenTheConverterHasEnded()
    {
        const QString song = input("a.mp3", 440, 1000, 30.0);
        list({song});
        QStringList texts;
        QList<bool> outputThere;
        connect(Controls(form()).ProgressBar1, &app::ProgressBar::textChanged, this,
                [&](const QString &text) {
                    texts << text;
                    outputThere << QFileInfo::exists(output("a.mp3"));
                });
        convert();
        const qsizetype processing = texts.indexOf("Processing: a.mp3");
        QVERIFY2(processing >= 0, qPrintable(texts.join(" | ")));
        // Counted from 1, one more each time, until the converter has ended.
        qsizetype at = processing + 1;
        for (int poll = 1; at < texts.size() && texts[at].startsWith("Please wait.. ");
             ++poll, ++at)
            QCOMPARE(texts[at], QStringLiteral("Please wait.. %1").arg(poll));
        QVERIFY2(at > processing + 1, qPrintable(texts.join(" | ")));
        QCOMPARE(texts.value(at), QStringLiteral("Progress Bar"));
        QVERIFY(!outputThere.value(at));
        QCOMPARE(Controls(form()).ProgressBar1->text(), QStringLiteral("Progress Bar"));
    }

    void aListClearedAndRefilledIsToldTruthfully()
    {
        // The first file long enough to be still at work when the list changes.
        const QStringList first = {input("a.mp3", 440, 1000, 60.0), input("b.mp3"), input("c.mp3")};
        const QStringList second = {input("x1.mp3"), input("x2.mp3"), input("x3.mp3")};
        form().setConversionsAtOnce(1);
        list(first);
        WhileConverting change(form(), [&] {
            QTest::mouseClick(Controls(form()).PushButton4, Qt::LeftButton); // Clear List
            list(second);
        });
        convert();
        QCOMPARE(
            platform().messageTexts(),
            QStringList({NotConverted({first[1] + " - removed from the list before its turn",
                                       first[2] + " - removed from the list before its turn"})}));
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3", "x1.mp3", "x2.mp3", "x3.mp3"}));
    }

    void aReorderOrAnOutputAddedToTheListDuringTheRun()
    {
        // b moves to the top while a converts: it still has its turn, c too.
        // c's output, added to the list meanwhile, is a listed file now and
        // is not replaced.
        const QStringList songs = {input("a.mp3", 440, 1000, 5.0), input("b.mp3"), input("c.mp3")};
        QVERIFY(WriteFile(output("c.mp3"), "listed now"));
        form().setConversionsAtOnce(1);
        list(songs);
        WhileConverting change(form(), [&] {
            Controls(form()).ListView1->items().exchange(1, 2);
            list({output("c.mp3")});
        });
        convert();
        QCOMPARE(platform().messageTexts(),
                 QStringList({NotConverted({songs[2] +
                                                " - skipped, the output would replace the "
                                                "listed file " +
                                                output("c.mp3"),
                                            output("c.mp3") +
                                                " - skipped, the output would replace this very "
                                                "file"})}));
        QCOMPARE(Contents(output("c.mp3")), QByteArray("listed now"));
        QCOMPARE(ChannelCount(output("b.mp3")), 1);
    }

    void aFolderSearchDuringTheRunLeavesTheRunBusy()
    {
        // The search's own hourglass ends with the search; the run's stays,
        // so Delete still cannot take items from under the run.
        QTemporaryDir more;
        QCOMPARE(MakeStereoMp3(more.filePath("x1.mp3")), QString());
        form().setConversionsAtOnce(1);
        list({input("a.mp3", 440, 1000, 5.0), input("b.mp3")});
        platform().inputAnswers = {"mp3"};
        platform().folderAnswers = {more.path()};
        app::PointerKind afterSearch;
        WhileConverting search(form(), [&] {
            QTest::mouseClick(Controls(form()).PushButton3, Qt::LeftButton);
            afterSearch = form().MousePointer();
            Controls(form()).ListView1->select(1);
            QTest::keyClick(Controls(form()).ListView1, Qt::Key_Delete);
        });
        convert();
        QCOMPARE(afterSearch.kind(), app::PointerKind::Hourglass);
        QCOMPARE(Controls(form()).ListView1->items().count(), 3);
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3", "b.mp3", "x1.mp3"}));
        QCOMPARE(form().MousePointer().kind(), app::PointerKind::Default);
    }

    void stopAsksFirstAndKeepsOnlyWholeFiles()
    {
        QStringList songs;
        for (const QString name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
            songs << input(name, 440, 1000, 60.0);
        list(songs);
        // The first press is answered No and the run goes on; the second Yes.
        platform().yesNoAnswers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};
        bool goesOn = false;
        WhileConverting no(form(), [&] {
            start();
            goesOn = form().isConverting() && platform().processes.runningNow > 0;
            start();
        });
        convert();
        QVERIFY(goesOn);
        QCOMPARE(platform().messages.size(), 3);
        QCOMPARE(platform().messages[0].text, kStopQuestion);
        QCOMPARE(platform().messages[0].buttons, platform::MessageButtons::YesNoDefaultNo);
        QCOMPARE(platform().messages[1].text, kStopQuestion);

        // Every file is either whole in the output folder or named.
        const QString text = platform().messages[2].text;
        QVERIFY2(text.startsWith("Stopped.\r\n\r\n"), qPrintable(text));
        QVERIFY2(text.contains(" - stopped before it was finished"), qPrintable(text));
        QVERIFY2(text.endsWith(songs[3] + " - not started, the run was stopped"), qPrintable(text));
        for (const QString &song : songs) {
            const QString converted = output(QFileInfo(song).fileName());
            QVERIFY2(text.contains(song + " - ") != QFile::exists(converted), qPrintable(song));
            if (QFile::exists(converted))
                QCOMPARE(ChannelCount(converted), 1);
        }
        QCOMPARE(SoxChildren(), QStringList());
        verifyNoLeftovers(outputs_->path());
    }

    void closingTheWindowTakesTheConvertersAlong()
    {
        list({input("a.mp3", 440, 1000, 60.0), input("b.mp3", 440, 1000, 60.0)});
        WhileConverting close(form(), [this] {
            QTRY_COMPARE(SoxChildren().size(), 2);
            form().close();
        });
        start();
        QTRY_COMPARE(window_->endProgramCalls, 1);
        QCOMPARE(SoxChildren(), QStringList());
        QCOMPARE(Entries(outputs_->path()), QStringList());
        verifyNoLeftovers(outputs_->path());
        QCOMPARE(platform().messages.size(), 0);
    }

    // ---- the notice on the desktop -------------------------------------------

    void aLongRunEndingUnseenPostsANotice_data()
    {
        QTest::addColumn<qint64>("noticeAfterMs");
        QTest::addColumn<bool>("userTurnsAway");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("long, user elsewhere")
            << 0LL << true << false << QStringList{"Done. All 2 files were converted."};
        QTest::newRow("stopped, user elsewhere")
            << 0LL << true << true << QStringList{"Stopped. 2 of 2 files were not converted."};
        QTest::newRow("long, window active") << 0LL << false << false << QStringList{};
        QTest::newRow("short, user elsewhere") << 3600000LL << true << false << QStringList{};
    }

    void aLongRunEndingUnseenPostsANotice()
    {
        QFETCH(qint64, noticeAfterMs);
        QFETCH(bool, userTurnsAway);
        QFETCH(bool, stop);
        form().setNoticeAfterMilliseconds(noticeAfterMs);
        // Files long enough that the user can turn away before they are
        // done, and that a stop finds both still converting.
        const double seconds = stop ? 30.0 : 10.0;
        list({input("a.mp3", 440, 1000, seconds), input("b.mp3", 440, 1000, seconds)});
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        if (stop)
            platform().yesNoAnswers = {platform::MessageAnswer::Yes};
        WhileConverting meanwhile(form(), [&] {
            if (userTurnsAway)
                QApplication::setActiveWindow(nullptr);
            if (stop)
                Controls(form()).PushButton2->click();
        });
        Controls(form()).PushButton2->click();
        QTRY_VERIFY_WITH_TIMEOUT(!form().isConverting(), 120000);
        QTEST(platform().notices, "notices");
        // The final message is shown all the same.
        QVERIFY(platform().messageTexts().last().startsWith(stop ? "Stopped." : "Done."));
    }

    void twoCopiesConvertAtTheSameTime()
    {
        // Both stage into the same private folder; the first to end must not
        // take the converter from the other.
        QTemporaryDir runtime;
        EnvironmentVariable temp("TEMP", "");
        EnvironmentVariable runtimeDir("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        TestWindow other;
        other.load();
        QTemporaryDir otherOutputs;
        other.ui().Text1->setText(otherOutputs.path() + "/");
        other.ui().ListView1->items().add(AsPath(input("long.mp3", 440, 1000, 10.0)));
        list({input("a.mp3"), input("b.mp3"), input("c.mp3")});
        QTest::mouseClick(other.ui().PushButton2, Qt::LeftButton);
        convert();
        QTRY_VERIFY_WITH_TIMEOUT(!other->isConverting(), 60000);
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(other.platform.messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(runtime.path()), QStringList());
    }

    // ---- the staged converter ------------------------------------------------------

    void aStagedConverterOfOtherContentIsReplacedNeverRun_data()
    {
        QTest::addColumn<int>("mode");
        // Left behind by another version, or changeable by anybody.
        QTest::newRow("another version") << 0755;
        QTest::newRow("writable by all") << 0777;
    }

    void aStagedConverterOfOtherContentIsReplacedNeverRun()
    {
        QFETCH(int, mode);
        const QString marker = inputs_->filePath("ran");
        const QString stale = staging_->filePath("sox");
        QVERIFY(WriteFile(stale, ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8()));
        QVERIFY(::chmod(QFile::encodeName(stale).constData(), mode_t(mode)) == 0);
        // A half-written part that a killed run left behind.
        QVERIFY(WriteFile(staging_->filePath(".velunor-1-1.part"), "half"));
        list({input("a.mp3")});
        convert();
        QVERIFY(!QFile::exists(marker));
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(ChannelCount(output("a.mp3")), 1);
        QCOMPARE(Entries(staging_->path()), QStringList());
    }

    void aFullStagingFolderIsLeftEmpty()
    {
        // Room for the program and one library only.
        SmallFileSystem temp(250);
        if (!temp.isMounted())
            QSKIP("only an administrator can mount a small file system");
        qputenv("TEMP", QFile::encodeName(temp.path()));
        list({input("a.mp3")});
        convert();
        const QStringList texts = platform().messageTexts();
        QVERIFY2(texts.size() > 1 && texts[0].startsWith("No space left on device\r\n"),
                 qPrintable(texts.join(" | ")));
        QCOMPARE(Entries(temp.path()), QStringList());
    }

    void aStagingFolderThatCannotBeWrittenIsReportedPerFile()
    {
        const QString missing = staging_->filePath("missing");
        qputenv("TEMP", QFile::encodeName(missing));
        const QString song = input("a.mp3");
        list({song});
        // Staging is part of the run: the hourglass shows from its start.
        QList<bool> busyAtReport;
        platform().onMessage = [&](const ShownMessage &) {
            busyAtReport << form().MousePointer().isBusy();
        };
        convert();
        QCOMPARE(busyAtReport, QList<bool>({true, true, true, true, true, false}));

        const QString problem =
            "the staging folder " + missing + " cannot be used (No such file or directory)";
        QStringList expected;
        for (int step : {108, 114, 120, 126, 132})
            expected << shell::ErrorReportText(problem, kRunLocation, step);
        expected << NotConverted({song + " - the converter was not run: " + problem});
        QCOMPARE(platform().messageTexts(), expected);
        QCOMPARE(platform().messages.first().title, QStringLiteral("Application Error"));
        QCOMPARE(Entries(outputs_->path()), QStringList());
    }
};

QTEST_MAIN(ConversionRunTest)
#include "test_conversion_run.moc"
