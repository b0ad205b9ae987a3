#include "conversion/FilePlan.h"

#include "platform/ExitCleanup.h"
#include "shell/Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace velunor {

namespace {

// Numbers the temporary outputs of this program; together with the process
// number they are unique on the machine.
std::atomic<quint64> temporaryCount{0};

QString FolderWithSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Creates a new, empty, hidden file in `folder` that ends in ".mp3" (SoX
// chooses the type it writes by the extension). Sets `error` on failure.
QString ReserveTemporaryOutput(const QString &folder, int &error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path =
            FolderWithSeparator(folder) + QStringLiteral(".velunor-%1-%2.mp3")
                                              .arg(QCoreApplication::applicationPid())
                                              .arg(++temporaryCount);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            ::close(fd);
            // Removed also when the program is ended abruptly.
            ExitCleanup::AddFile(path);
            return path;
        }
        if (errno != EEXIST) {
            error = errno;
            return QString();
        }
    }
    error = EEXIST;
    return QString();
}

QString OutputKeyFor(const QString &outputFolder, const QString &outputPath)
{
    const QString canonical = QDir(outputFolder).canonicalPath();
    if (canonical.isEmpty())
        return outputPath;
    return FolderWithSeparator(canonical) + Main::FileNameOf(outputPath);
}

} // namespace

QString OutputPathFor(const QString &outputFolder, const QString &inputPath)
{
    return FolderWithSeparator(outputFolder) + Main::StripExtension(Main::FileNameOf(inputPath)) +
           QStringLiteral(".mp3");
}

FilePlan PlanFile(const FileTurn &turn)
{
    FilePlan plan;
    plan.inputPath = turn.inputPath;
    auto skip = [&plan](const QString &reason) {
        plan.skipReason = reason;
        return plan;
    };

    if (const QString problem = FileSystem::InputFileProblem(turn.inputPath); !problem.isEmpty())
        return skip(problem);
    if (!Main::FolderExists(turn.outputFolder))
        return skip(QStringLiteral("the output folder %1 does not exist").arg(turn.outputFolder));
    plan.outputPath = OutputPathFor(turn.outputFolder, turn.inputPath);
    if (FileSystem::IsSameFile(turn.inputPath, plan.outputPath))
        return skip(QStringLiteral("skipped, the output would replace this very file"));
    if (const auto existing = FileSystem::IdentityOf(plan.outputPath);
        existing && turn.isListedInput && turn.isListedInput(*existing))
        return skip(QStringLiteral("skipped, the output would replace the listed file %1")
                        .arg(plan.outputPath));
    if (!turn.mode)
        return skip(QStringLiteral("no channel mode is selected"));
    if (!turn.converterProblem.isEmpty())
        return skip(QStringLiteral("the converter was not run: ") + turn.converterProblem);

    int error = 0;
    plan.temporaryPath = ReserveTemporaryOutput(turn.outputFolder, error);
    if (plan.temporaryPath.isEmpty())
        return skip(QStringLiteral("the output folder cannot be written (%1)")
                        .arg(FileSystem::SystemMessage(error)));
    plan.outputKey = OutputKeyFor(turn.outputFolder, plan.outputPath);
    plan.arguments = ArgumentString::ForMode(*turn.mode, turn.inputPath, plan.temporaryPath);
    return plan;
}

void ReleaseTemporaryOutput(const FilePlan &plan)
{
    if (plan.temporaryPath.isEmpty())
        return;
    ::unlink(QFile::encodeName(plan.temporaryPath).constData());
    ExitCleanup::RemoveFile(plan.temporaryPath);
}

} // namespace velunor
