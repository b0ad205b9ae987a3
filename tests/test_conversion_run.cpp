// "Start Converting" through the real window: the real SoX staged from the
// executable, real stereo MP3s, and the messages the user would see.

#include "Audio.h"
#include "TestWindow.h"
#include "conversion/ConverterFiles.h"
#include "conversion/OutputPath.h"
#include "filelist/FileListView.h"
#include "platform/ProgressBar.h"
#include "shell/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kDone = QStringLiteral("Done.");
const QString kNoFolder = QStringLiteral("Folder does not exist. Please select another folder.");
const QString kRunLocation = QStringLiteral("in Korvath2016/11/03.Form1.PushButton2_Click ");

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    if (permissions)
        QVERIFY(file.setPermissions(permissions));
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

// What the window shows on every pass of its event loop while a run yields.
struct Sample {
    int value;
    QString text;
    int pointer;
};

class WindowSampler : public QObject {
public:
    explicit WindowSampler(Form1 &form)
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this, &form] {
            const Sample now{form.ProgressBar1->value(), form.ProgressBar1->text(),
                             form.MousePointer()};
            if (samples.isEmpty() || samples.last().value != now.value ||
                samples.last().text != now.text || samples.last().pointer != now.pointer)
                samples << now;
        });
        timer_.start();
    }
    QList<Sample> samples;

    // The bar values seen while the converter was being waited for.
    QList<int> waitingValues() const
    {
        QList<int> values;
        for (const Sample &sample : samples)
            if (sample.text.startsWith("Please wait.. ") &&
                (values.isEmpty() || values.last() != sample.value))
                values << sample.value;
        return values;
    }

private:
    QTimer timer_;
};

// Runs `action` once, on the first pass of the event loop that finds the
// converter being waited for.
class WhileWaiting : public QObject {
public:
    WhileWaiting(Form1 &form, std::function<void()> action)
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this, &form, action] {
            if (!form.ProgressBar1->text().startsWith("Please wait.. "))
                return;
            timer_.stop();
            action();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

} // namespace

class ConversionRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> staging_;
    std::unique_ptr<QTemporaryDir> inputs_;
    std::unique_ptr<QTemporaryDir> outputs_;
    std::unique_ptr<TestWindow> window_;

    Form1 &form() { return window_->form(); }
    ScriptedPlatform &platform() { return window_->platform; }

    QString input(const QString &name, int left = 440, int right = 1000)
    {
        const QString path = inputs_->filePath(name);
        const QString problem = MakeStereoMp3(path, 1.0, left, right);
        if (!problem.isEmpty())
            qWarning() << problem;
        return path;
    }
    QString output(const QString &name) const { return outputs_->path() + "/" + name; }

    void list(const QStringList &paths)
    {
        for (const QString &path : paths)
            form().ListView1->items().add(path);
    }

    void start() { QTest::mouseClick(form().PushButton2, Qt::LeftButton); }

    void chooseMode(OptionButton *option)
    {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        QVERIFY(option->isChecked());
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        staging_ = std::make_unique<QTemporaryDir>();
        inputs_ = std::make_unique<QTemporaryDir>();
        outputs_ = std::make_unique<QTemporaryDir>();
        qputenv("TEMP", QFile::encodeName(staging_->path()));
        window_ = std::make_unique<TestWindow>();
        window_->load();
        form().Text1->setText(outputs_->path() + "/");
    }

    void cleanup()
    {
        QVERIFY2(platform().unexpected.isEmpty(), qPrintable(platform().unexpected.join("; ")));
        window_.reset();
        qunsetenv("TEMP");
    }

    // ---- output names ------------------------------------------------------

    void outputNames_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mp3") << "/out/"
                             << "/in/a b.mp3"
                             << "/out/a b.mp3";
        QTest::newRow("last dot only") << "/out/"
                                       << "/in/Live.Set.MP3"
                                       << "/out/Live.Set.mp3";
        QTest::newRow("no dot") << "/out/"
                                << "/in/track"
                                << "/out/track.mp3";
        QTest::newRow("dot in a folder only") << "/out/"
                                              << "/in.d/track"
                                              << "/out/track.mp3";
        QTest::newRow("folder typed without /") << "/out"
                                                << "/in/a.wav"
                                                << "/out/a.mp3";
        QTest::newRow("root folder") << "/"
                                     << "/in/a.mp3"
                                     << "/a.mp3";
        QTest::newRow("bare name") << "/out/"
                                   << "a.ogg"
                                   << "/out/a.mp3";
    }

    void outputNames()
    {
        QFETCH(QString, folder);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(OutputPathFor(folder, input), expected);
    }

    // ---- a normal run ------------------------------------------------------

    void threeFilesLeftOnly()
    {
        chooseMode(form().Option2);
        list({input("a.mp3"), input("Song.Live.MP3"), input("c.mp3")});
        WindowSampler sampler(form());
        start();

        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(sampler.waitingValues(), QList<int>({33, 66, 100}));
        for (const Sample &sample : sampler.samples)
            if (sample.text.startsWith("Please wait.. ") || sample.text.startsWith("Processing: "))
                QCOMPARE(sample.pointer, 11);
        QVERIFY(std::any_of(sampler.samples.begin(), sampler.samples.end(),
                            [](const Sample &s) { return s.text == "Processing: Song.Live.MP3"; }));
        QCOMPARE(form().ProgressBar1->value(), 0);
        QCOMPARE(form().ProgressBar1->text(), QStringLiteral("Progress Bar"));
        QCOMPARE(form().MousePointer(), 0);

        QCOMPARE(Entries(outputs_->path()), QStringList({"Song.Live.mp3", "a.mp3", "c.mp3"}));
        for (const QString &name : Entries(outputs_->path())) {
            QCOMPARE(ChannelCount(output(name)), 1);
            const QVector<double> levels = ToneAmplitudes(output(name), {440, 1000});
            QVERIFY2(levels.size() == 2 && levels[0] > 0.4 && levels[1] < 0.05, qPrintable(name));
        }
        // The staged converter is gone again; the list is untouched.
        QCOMPARE(Entries(staging_->path()), QStringList());
        QCOMPARE(form().ListView1->items().count(), 3);
    }

    void refusedStartsStageNothing_data()
    {
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("folder"); // "<file>": the path of a file
        QTest::addColumn<QString>("message");
        QTest::newRow("empty list, missing folder") << false << "/no/such/folder/"
                                                    << "No files added.";
        QTest::newRow("empty folder text") << true << "" << kNoFolder;
        QTest::newRow("missing folder") << true << "/no/such/folder/" << kNoFolder;
        QTest::newRow("a file") << true << "<file>" << kNoFolder;
    }

    void refusedStartsStageNothing()
    {
        QFETCH(bool, withFiles);
        QFETCH(QString, folder);
        QFETCH(QString, message);
        if (withFiles)
            list({input("a.mp3")});
        form().Text1->setText(folder == "<file>" ? input("a.mp3") : folder);
        start();
        QCOMPARE(platform().messageTexts(), QStringList({message}));
        QCOMPARE(Entries(staging_->path()), QStringList());
        QCOMPARE(platform().processesStarted, 0);
        QCOMPARE(form().MousePointer(), 0);
    }

    void aFolderWithoutTrailingSeparatorGetsOne()
    {
        form().Text1->setText(outputs_->path());
        list({input("a.mp3")});
        start();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(ChannelCount(output("a.mp3")), 1);
    }

    void anExistingOutputIsReplaced()
    {
        WriteFile(output("a.mp3"), "an older result");
        list({input("a.mp3")});
        start();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(ChannelCount(output("a.mp3")), 1);
    }

    void twoInputsOfOneNameGiveTheSecondsResult()
    {
        QVERIFY(QDir(inputs_->path()).mkdir("other"));
        list({input("a.mp3", 300, 300), input("other/a.mp3", 440, 1000)});
        start();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3"}));
        const QVector<double> levels = ToneAmplitudes(output("a.mp3"), {300, 440, 1000});
        QCOMPARE(levels.size(), 3);
        QVERIFY(levels[0] < 0.05 && levels[1] > 0.2 && levels[2] > 0.2);
    }

    void aNameWithoutDotIsItsOwnBaseName()
    {
        const QString plain = input("a.mp3");
        const QString bare = inputs_->filePath("recording");
        QVERIFY(QFile::copy(input("b.mp3", 300, 300), bare));
        list({plain, bare});
        start();
        // SoX itself needs an extension to know the type, so the file fails
        // with its own name as the output, and says so; the previous file's
        // result is neither deleted nor overwritten.
        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n1 file was not converted:\r\n" + bare +
                              " - the converter failed (exit code 2)"}));
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3"}));
        const QVector<double> levels = ToneAmplitudes(output("a.mp3"), {300, 440});
        QVERIFY(levels.size() == 2 && levels[0] < 0.05 && levels[1] > 0.2);
    }

    // ---- files that are not converted --------------------------------------------

    void failuresAreListedNotHidden()
    {
        const QString good = input("good.mp3");
        const QString damaged = inputs_->filePath("damaged.mp3");
        QByteArray noise(4096, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        WriteFile(damaged, noise);
        list({damaged, good});
        start();

        const QStringList texts = platform().messageTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].startsWith("Done.\r\n\r\n1 file was not converted:\r\n" + damaged +
                                     " - the converter failed (exit code "),
                 qPrintable(texts[0]));
        QCOMPARE(Contents(damaged), noise);
        QCOMPARE(Entries(outputs_->path()), QStringList({"good.mp3"}));
        QCOMPARE(Entries(staging_->path()), QStringList());
    }

    void inputsThatCannotBeReadAreListedWithoutWaiting()
    {
        const QString pipe = inputs_->filePath("pipe.mp3");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        const QString missing = inputs_->filePath("gone.mp3");
        const QString good = input("good.mp3");
        list({pipe, missing, good});
        start();

        QCOMPARE(platform().messageTexts(),
                 QStringList{"Done.\r\n\r\n2 files were not converted:\r\n" + pipe +
                             " - it is not a regular file\r\n" + missing +
                             " - the file does not exist"});
        QCOMPARE(Entries(outputs_->path()), QStringList({"good.mp3"}));
    }

    void anOutputNeverReplacesAnotherListedInput()
    {
        // a.mp3 in another folder would be written over the listed a.mp3 that
        // lies in the output folder, before that one's turn comes.
        const QString elsewhere = input("a.mp3", 300, 300);
        const QString inPlace = output("a.mp3");
        QCOMPARE(MakeStereoMp3(inPlace), QString());
        const QByteArray before = Contents(inPlace);
        list({elsewhere, inPlace});
        start();

        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n2 files were not converted:\r\n" + elsewhere +
                              " - skipped, the output would replace the listed file " + inPlace +
                              "\r\n" + inPlace +
                              " - skipped, the output would replace this very file"}));
        QCOMPARE(Contents(inPlace), before);
    }

    void theInputIsNeverTheVictimOfItsOwnOutput()
    {
        // The input lies in the output folder, reached once directly and once
        // through a link to that folder.
        const QString inPlace = output("a.mp3");
        QCOMPARE(MakeStereoMp3(inPlace), QString());
        const QByteArray before = Contents(inPlace);
        const QString link = inputs_->filePath("out-link");
        QVERIFY(QFile::link(outputs_->path(), link));
        list({inPlace});
        form().Text1->setText(link + "/./");
        start();

        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n1 file was not converted:\r\n" + inPlace +
                              " - skipped, the output would replace this very file"}));
        QCOMPARE(Contents(inPlace), before);
        QCOMPARE(platform().processesStarted, 0);
    }

    void withoutAChannelModeNothingIsTouched()
    {
        list({input("a.mp3"), input("b.mp3")});
        WriteFile(output("a.mp3"), "kept");
        form().setOptionValue(form().Option1, false);
        form().setOptionValue(form().Option2, false);
        form().setOptionValue(form().Option3, false);
        start();
        const QString reason = " - no channel mode is selected";
        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n2 files were not converted:\r\n" +
                              inputs_->filePath("a.mp3") + reason + "\r\n" +
                              inputs_->filePath("b.mp3") + reason}));
        QCOMPARE(platform().processesStarted, 0);
        QCOMPARE(Contents(output("a.mp3")), QByteArray("kept"));
    }

    void aLongListOfFailuresIsCutShort()
    {
        // Missing inputs: the converter starts and fails on each.
        QStringList missing;
        for (int i = 1; i <= 13; ++i)
            missing << inputs_->filePath(QString("gone %1.mp3").arg(i));
        list(missing);
        start();
        const QString text = platform().messageTexts().value(0);
        QVERIFY(text.startsWith("Done.\r\n\r\n13 files were not converted:\r\n"));
        QCOMPARE(text.count("\r\n"), 2 + 10 + 1);
        QVERIFY(text.endsWith("\r\n... and 3 more."));
        QVERIFY(!text.contains("gone 11.mp3"));
    }

    // ---- the run and the user working beside it ------------------------------------

    void aSecondStartIsRefusedWhileRunning()
    {
        list({input("a.mp3"), input("b.mp3")});
        WhileWaiting again(form(), [this] { start(); });
        start();
        QCOMPARE(platform().messageTexts(),
                 QStringList({"A conversion is already running. Please wait until it has "
                              "finished.",
                              kDone}));
        QCOMPARE(platform().processesStarted, 2);
        // The run that was refused left the busy state to the one running.
        QCOMPARE(form().MousePointer(), 0);
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3", "b.mp3"}));
    }

    void removingItemsDuringTheRunEndsItCleanly()
    {
        list({input("a.mp3"), input("b.mp3"), input("c.mp3")});
        WhileWaiting clear(form(), [this] { form().ListView1->items().clear(); });
        start();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(platform().processesStarted, 1);
        QCOMPARE(Entries(outputs_->path()), QStringList({"a.mp3"}));
        QCOMPARE(Entries(staging_->path()), QStringList());
        QCOMPARE(form().MousePointer(), 0);
        QCOMPARE(form().ProgressBar1->text(), QStringLiteral("Progress Bar"));
    }

    // ---- the staged converter ------------------------------------------------------

    void aPresentConverterIsUsedAsItIsAndRemoved()
    {
        // A stand-in converter that notes its arguments, one a line.
        const QString notes = inputs_->filePath("arguments");
        WriteFile(staging_->filePath("sox"),
                  ("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + notes + "'\n").toUtf8(),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        chooseMode(form().Option3);
        const QString song = input("it's \"a\" $(x).mp3");
        list({song});
        start();

        QCOMPARE(QString::fromUtf8(Contents(notes)).split('\n', Qt::SkipEmptyParts),
                 QStringList(
                     {"--no-glob", song, "-c", "1", output("it's \"a\" $(x).mp3"), "remix", "2"}));
        QCOMPARE(platform().messageTexts(),
                 QStringList({"Done.\r\n\r\n1 file was not converted:\r\n" + song +
                              " - the converter wrote no output file"}));
        QCOMPARE(Entries(staging_->path()), QStringList());
    }

    void aConverterOthersCanChangeIsNeverRun()
    {
        const QString marker = inputs_->filePath("ran");
        WriteFile(staging_->filePath("sox"), ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
        QVERIFY(::chmod(QFile::encodeName(staging_->filePath("sox")).constData(), 0777) == 0);
        const QString song = input("a.mp3");
        list({song});
        start();
        QVERIFY(!QFile::exists(marker));
        QCOMPARE(platform().processesStarted, 0);
        const QString text = platform().messageTexts().value(0);
        QVERIFY2(text.startsWith("Done.\r\n\r\n1 file was not converted:\r\n" + song +
                                 " - the converter was not run: other users can change "),
                 qPrintable(text));
    }

    void tempEndingInASeparatorStillWorks()
    {
        qputenv("TEMP", QFile::encodeName(staging_->path() + "/"));
        list({input("a.mp3")});
        start();
        QCOMPARE(platform().messageTexts(), QStringList({kDone}));
        QCOMPARE(ChannelCount(output("a.mp3")), 1);
        QCOMPARE(Entries(staging_->path()), QStringList());
    }

    void aStagingFolderThatCannotBeWrittenIsReportedPerFile()
    {
        const QString missing = staging_->filePath("missing");
        qputenv("TEMP", QFile::encodeName(missing));
        const QString song = input("a.mp3");
        list({song});
        start();

        QStringList expected;
        for (int step : {108, 114, 120, 126, 132})
            expected << ErrorReportText("No such file or directory", kRunLocation, step);
        expected << "Done.\r\n\r\n1 file was not converted:\r\n" + song +
                        " - the converter was not run: the staging folder " + missing +
                        " cannot be used (No such file or directory)";
        QCOMPARE(platform().messageTexts(), expected);
        QCOMPARE(platform().messages.first().title, QStringLiteral("Application Error"));
        QCOMPARE(Entries(outputs_->path()), QStringList());
    }
};

QTEST_MAIN(ConversionRunTest)
#include "test_conversion_run.moc"
