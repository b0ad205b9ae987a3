// The sample files beside the program and their button, the output-folder
// browse button with the shared folder picker, and the two explanation
// buttons.

#include "Audio.h"
#include "FolderTree.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "shell/Locations.h"
#include "shell/ui/ErrorReport.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kSamplesQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?");

struct ChannelLevels {
    double left = 0;
    double right = 0;
    double difference = 0; // of left minus right
    double seconds = 0;
};

// Decodes `path` with SoX and measures both channels.
std::optional<ChannelLevels> MeasureChannels(const QString &path)
{
    QProcess sox;
    sox.start("sox", {"--no-glob", path, "-t", "raw", "-e", "floating-point", "-b", "32", "-r",
                      "44100", "-c", "2", "-"});
    if (!sox.waitForFinished(60000) || sox.exitCode() != 0)
        return std::nullopt;
    const QByteArray raw = sox.readAllStandardOutput();
    const auto *samples = reinterpret_cast<const float *>(raw.constData());
    const qsizetype frames = raw.size() / qsizetype(2 * sizeof(float));
    if (frames == 0)
        return std::nullopt;
    ChannelLevels levels;
    for (qsizetype i = 0; i < frames; ++i) {
        const double left = samples[2 * i], right = samples[2 * i + 1];
        levels.left += left * left;
        levels.right += right * right;
        levels.difference += (left - right) * (left - right);
    }
    levels.left = std::sqrt(levels.left / frames);
    levels.right = std::sqrt(levels.right / frames);
    levels.difference = std::sqrt(levels.difference / frames);
    levels.seconds = frames / 44100.0;
    return levels;
}

// A desktop whose folder dialog fails.
class FailingFolderDialog : public ScriptedPlatform {
public:
    QString browseForFolder(QWidget *, const QString &) override
    {
        throw platform::PlatformError(QStringLiteral("The folder dialog could not be shown."));
    }
};

} // namespace

class SamplesAndHelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void samplesButtonListsEveryFileOnEveryClick()
    {
        FolderTree program({"Samples/b.mp3", "Samples/A.wav", "Samples/~c.txt", "Samples/.h",
                            "Samples/folder/inner.mp3"});
        TestWindow window(program.path());
        window.load();
        window.platform.yesNoAnswers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};

        QTest::mouseClick(window.ui().PushButton5, Qt::LeftButton);
        const QStringList once = {"Samples/.h", "Samples/A.wav", "Samples/b.mp3", "Samples/~c.txt"};
        QCOMPARE(program.relative(Texts(window.ui().ListView1->items().paths())), once);
        QVERIFY(window.platform.openedUrls.isEmpty());

        QTest::mouseClick(window.ui().PushButton5, Qt::LeftButton);
        QCOMPARE(program.relative(Texts(window.ui().ListView1->items().paths())), once + once);
        QCOMPARE(window.platform.openedUrls,
                 QList<QUrl>({QUrl::fromLocalFile(program.path("Samples"))}));

        QCOMPARE(window.platform.messages.size(), 2);
        for (const ShownMessage &question : window.platform.messages) {
            QCOMPARE(question.text, kSamplesQuestion);
            QCOMPARE(question.title, QStringLiteral("Velunor"));
            QCOMPARE(question.buttons, platform::MessageButtons::YesNo);
            QCOMPARE(question.icon, platform::MessageIcon::None);
        }
    }

    void bundledSamplesAreShortStereoFilesWithTwoDifferentChannels()
    {
        TestWindow window;
        window.load();
        window.platform.yesNoAnswers = {platform::MessageAnswer::No};
        QTest::mouseClick(window.ui().PushButton5, Qt::LeftButton);
        const QStringList samples = Texts(window.ui().ListView1->items().paths());
        QVERIFY2(samples.size() >= 3, qPrintable(samples.join('\n')));
        for (const QString &sample : samples) {
            QVERIFY(sample.startsWith(QStringLiteral(VELUNOR_PROGRAM_DIR "/Samples/")));
            QVERIFY(sample.endsWith(".mp3"));
            QCOMPARE(ChannelCount(sample), 2);
            const auto levels = MeasureChannels(sample);
            QVERIFY2(levels, qPrintable(sample));
            QVERIFY2(levels->seconds > 1 && levels->seconds < 10, qPrintable(sample));
            QVERIFY2(levels->left > 0.01 && levels->right > 0.01, qPrintable(sample));
            // Left and right are different sounds, not one sound twice.
            QVERIFY2(levels->difference > 0.5 * std::max(levels->left, levels->right),
                     qPrintable(sample));
        }
    }

    void browseButtonEndsTheFolderWithASeparatorAndStoresIt()
    {
        FolderTree tree({"Music/", "plain.mp3"});
        TestWindow window;
        window.load();
        auto browse = [&](const QString &answer) {
            window.platform.folderAnswers.push_back(answer);
            QTest::mouseClick(window.ui().PushButton7, Qt::LeftButton);
            return window.ui().Text1->text();
        };
        QCOMPARE(browse(tree.path("Music")), tree.path("Music/"));
        QCOMPARE(window.stored("Output Folder"), tree.path("Music/"));
        QCOMPARE(browse("/"), QStringLiteral("/"));
        QCOMPARE(window.stored("Output Folder"), QStringLiteral("/"));
        QCOMPARE(browse("//"), QStringLiteral("/"));
        QCOMPARE(browse(tree.path("Music//")), tree.path("Music/"));
        // A path ends at its first NUL.
        QCOMPARE(browse(tree.path("Music") + QChar(u'\0') + "rest"), tree.path("Music/"));

        // Nothing usable chosen: the box and the stored folder stay.
        QCOMPARE(browse(QString()), tree.path("Music/"));
        QCOMPARE(browse(QString(QChar(u'\0'))), tree.path("Music/"));
        QCOMPARE(browse(tree.path("missing")), tree.path("Music/"));
        QCOMPARE(browse(tree.path("plain.mp3")), tree.path("Music/"));
        QCOMPARE(browse("Music"), tree.path("Music/"));
        QCOMPARE(window.stored("Output Folder"), tree.path("Music/"));
        QCOMPARE(window.platform.folderPrompts.first(), QStringLiteral("Please select folder:"));
        QVERIFY(window.platform.messages.isEmpty());
    }

    void aFailingFolderDialogIsReported()
    {
        FolderTree home;
        FailingFolderDialog platform;
        auto settings = shell::SettingsStore::AtPath(home.path("Tarvenic.conf"));
        app::Form1 form(platform, *settings, QStringLiteral(VELUNOR_PROGRAM_DIR));
        form.setEndProgram([] {});
        form.Form_Load();
        form.show();
        const QString before = Controls(form).Text1->text();
        QTest::mouseClick(Controls(form).PushButton7, Qt::LeftButton);
        QCOMPARE(platform.messageTexts(),
                 QStringList({shell::ErrorReportText("The folder dialog could not be shown.",
                                                     shell::Location::PushButton7_Click, 100)}));
        QCOMPARE(Controls(form).Text1->text(), before);
    }

    void explanationsArePlainMessages()
    {
        TestWindow window;
        window.load();
        QTest::mouseClick(window.ui().PushButton6, Qt::LeftButton);
        QTest::mouseClick(window.ui().PushButton8, Qt::LeftButton);
        const QStringList texts = window.platform.messageTexts();
        QCOMPARE(texts.size(), 2);
        // Mono, an empty line, stereo; help that ends with where to write.
        const QStringList paragraphs = texts[0].split("\r\n\r\n");
        QCOMPARE(paragraphs.size(), 2);
        QVERIFY(paragraphs[0].startsWith("Mono ") && paragraphs[1].startsWith("Stereo "));
        QVERIFY(texts[1].endsWith("please email " + shell::kSupportAddress + "."));
        for (const ShownMessage &shown : window.platform.messages) {
            QCOMPARE(shown.title, QStringLiteral("Velunor"));
            QCOMPARE(shown.buttons, platform::MessageButtons::Ok);
            QCOMPARE(shown.icon, platform::MessageIcon::None);
        }
    }
};

QTEST_MAIN(SamplesAndHelpTest)
#include "test_samples_and_help.moc"
