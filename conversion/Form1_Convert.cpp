// "Start Converting": stages the converter, runs it once per listed file in
// list order, and tells the user which files, if any, were not converted.

#include "app/Form1.h"

#include "app/Main.h"
#include "conversion/CommandLine.h"
#include "conversion/ConverterFiles.h"
#include "conversion/OutputPath.h"
#include "conversion/RunSummary.h"
#include "conversion/Shell32.h"
#include "filelist/FileListView.h"
#include "platform/ProgressBar.h"
#include "shell/Locations.h"

#include <QLineEdit>
#include <QScopeGuard>

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace velunor {

namespace {

const QString kNoFiles = QStringLiteral("No files added.");
const QString kNoFolder = QStringLiteral("Folder does not exist. Please select another folder.");
const QString kAlreadyRunning =
    QStringLiteral("A conversion is already running. Please wait until it has finished.");

// The bar's value before file `number` of `count`: the whole percentage,
// rounded down, computed exactly so that 29 of 100 shows 29.
int PercentBefore(int number, int count)
{
    return static_cast<int>(static_cast<qint64>(number) * 100 / count);
}

// Why a finished conversion did not give an output file, or "" when it did.
QString OutcomeProblem(qint32 result, const QString &outputPath)
{
    if (result < 0) {
        const int error = static_cast<int>(static_cast<quint32>(result) - 0x80040000u);
        return QStringLiteral("the converter could not be started (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (result != 0)
        return QStringLiteral("the converter failed (exit code %1)").arg(result);
    if (!Main::PathExists(outputPath))
        return QStringLiteral("the converter wrote no output file");
    return QString();
}

// Why `inputPath` cannot be handed to the converter, or "" when it can. A
// pipe or a device would keep the converter waiting for ever, and a missing
// file deserves its own words rather than the converter's exit code.
QString InputProblem(const QString &inputPath)
{
    struct stat facts {};
    if (::stat(QFile::encodeName(inputPath).constData(), &facts) != 0)
        return errno == ENOENT ? QStringLiteral("the file does not exist")
                               : QString::fromLocal8Bit(std::strerror(errno));
    if (!S_ISREG(facts.st_mode))
        return QStringLiteral("it is not a regular file");
    return QString();
}

// Steps 104 to 132: for each converter file, load its bytes, look whether
// it is staged already, and write it when it is not.
void StageConverter(StepGuard &guard, const QString &stagingFolder)
{
    int step = 104;
    for (const ConverterFile &file : ConverterFileSet()) {
        const QString stagedPath = StagedPath(stagingFolder, file);
        QByteArray buffer;
        guard.step(step, [&] { buffer = LoadConverterResource(file.resourceId); });
        if (!guard.test(step + 2, [&] { return Main::PathExists(stagedPath); }))
            guard.step(step + 4, [&] { WriteResourceFile(buffer, stagedPath, file.executable); });
        step += 6;
    }
}

// Steps 168 to 176: the staged files go, whoever wrote them.
void RemoveConverter(StepGuard &guard, const QString &stagingFolder)
{
    int step = 168;
    for (const ConverterFile &file : ConverterFileSet()) {
        guard.step(step, [&] { DeleteFileQuietly(StagedPath(stagingFolder, file)); });
        step += 2;
    }
}

// Steps 152 to 162: the argument string of the channel mode selected now;
// none when no mode is selected.
std::optional<ArgumentString> ArgumentsForChosenMode(StepGuard &guard, const Form1 &form,
                                                     const QString &inputPath,
                                                     const QString &outputPath)
{
    std::optional<ArgumentString> arguments;
    auto choose = [&](ChannelMode mode) {
        arguments = ArgumentString::ForMode(mode, inputPath, outputPath);
    };
    if (guard.test(152, [&] { return form.Option1->isChecked(); }))
        guard.step(154, [&] { choose(ChannelMode::Mix); });
    else if (guard.test(156, [&] { return form.Option2->isChecked(); }))
        guard.step(158, [&] { choose(ChannelMode::LeftOnly); });
    else if (guard.test(160, [&] { return form.Option3->isChecked(); }))
        guard.step(162, [&] { choose(ChannelMode::RightOnly); });
    return arguments;
}

} // namespace

void Form1::PushButton2_Click()
{
    // The run yields to the window while it works, so this button can be
    // pressed again in the middle of it.
    if (converting_) {
        showMessage(kAlreadyRunning);
        return;
    }
    converting_ = true;
    const auto runEnded = qScopeGuard([this] { converting_ = false; });

    StepGuard guard(platform_, this, Location::PushButton2_Click);
    FileListModel &list = ListView1->items();

    if (!guard.test(100, [&] { return list.count() > 0; })) {
        showMessage(kNoFiles);
        return;
    }
    if (!guard.test(102, [&] { return Main::FolderExists(Text1->text()); })) {
        showMessage(kNoFolder);
        return;
    }

    const QString stagingFolder = StagingFolder();
    StageConverter(guard, stagingFolder);
    QString converterPath;
    guard.step(134, [&] { converterPath = StagedPath(stagingFolder, ConverterProgram()); });

    RunSummary summary;
    int fileCount = 0;
    guard.step(136, [&] { fileCount = list.count(); });
    // An output must never replace a file that is still to be converted, or
    // that was the input of an earlier file.
    const ListedFiles listedInputs(list.texts());
    for (int i = 1; i <= fileCount; ++i) {
        guard.step(138, [&] { setMousePointer(11); });
        // Items removed during the run: there is no file i any more, and the
        // files after it have moved up, so nothing is left to convert.
        if (i > list.count())
            break;
        QString inputPath;
        if (!guard.step(140, [&] { inputPath = list.text(i); }))
            continue;
        // The value and the text are drawn together at the yield below, not
        // the value at once on its own.
        ProgressBar1->setUpdatesEnabled(false);
        guard.step(142, [&] { ProgressBar1->setValue(PercentBefore(i, list.count())); });
        guard.step(144, [&] {
            ProgressBar1->setText(QStringLiteral("Processing: ") + Main::FileNameOf(inputPath));
        });
        ProgressBar1->setUpdatesEnabled(true);
        guard.step(146, [] { Main::YieldToEvents(); });

        // Every check below comes before the old output is deleted: a file
        // that will not be converted loses nothing.
        const QString inputProblem = InputProblem(inputPath);
        if (!inputProblem.isEmpty()) {
            summary.addNotConverted(inputPath, inputProblem);
            continue;
        }
        const QString outputFolder = Text1->text();
        if (!Main::FolderExists(outputFolder)) {
            summary.addNotConverted(
                inputPath, QStringLiteral("the output folder %1 does not exist").arg(outputFolder));
            continue;
        }
        QString outputPath;
        if (!guard.step(148, [&] { outputPath = OutputPathFor(outputFolder, inputPath); })) {
            summary.addNotConverted(inputPath, QStringLiteral("no output name could be formed"));
            continue;
        }
        if (IsSameFile(inputPath, outputPath)) {
            summary.addNotConverted(
                inputPath, QStringLiteral("skipped, the output would replace this very file"));
            continue;
        }
        if (listedInputs.contains(outputPath)) {
            summary.addNotConverted(
                inputPath, QStringLiteral("skipped, the output would replace the listed file %1")
                               .arg(outputPath));
            continue;
        }

        const std::optional<ArgumentString> arguments =
            ArgumentsForChosenMode(guard, *this, inputPath, outputPath);
        if (!arguments) {
            summary.addNotConverted(inputPath, QStringLiteral("no channel mode is selected"));
            continue;
        }
        const QString untrusted = UntrustedConverterReason(stagingFolder);
        if (!untrusted.isEmpty()) {
            summary.addNotConverted(inputPath,
                                    QStringLiteral("the converter was not run: ") + untrusted);
            continue;
        }

        guard.step(150, [&] { DeleteFileQuietly(outputPath); });
        guard.step(164, [&] {
            const qint32 result = Shell32::RunAndWait(platform_, *ProgressBar1,
                                                      CommandLine(converterPath, *arguments), 0);
            const QString problem = OutcomeProblem(result, outputPath);
            if (!problem.isEmpty())
                summary.addNotConverted(inputPath, problem);
        });
    }

    RemoveConverter(guard, stagingFolder);
    guard.step(178, [this] { setMousePointer(0); });
    guard.step(180, [this] { ProgressBar1->setValue(0); });
    guard.step(182, [this] { ProgressBar1->setText(QStringLiteral("Progress Bar")); });
    guard.step(184, [&] { showMessage(summary.message()); });
}

} // namespace velunor
