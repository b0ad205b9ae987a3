#include "conversion/FinishOutput.h"

#include "conversion/MpegAudio.h"
#include "conversion/TagCopy.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace velunor {

namespace {

using Result = FileOutcome::Result;

// Lengths that differ by less than this are the same audio: an encoder adds
// a frame or two of padding at each end.
constexpr double kLengthToleranceSeconds = 0.5;

// The converter says "No space left on device" when it is told so, but a
// converter that is cut short may say nothing at all; the file system knows.
bool DiskIsFull(const QString &folder, const QByteArray &errorOutput)
{
    if (errorOutput.contains("No space left on device"))
        return true;
    struct statvfs facts {};
    return ::statvfs(QFile::encodeName(folder).constData(), &facts) == 0 && facts.f_bavail == 0;
}

QString Seconds(double seconds)
{
    return QString::number(seconds, 'f', 1);
}

// Forces the output onto the disk, so that the final name never stands for
// a file whose content is still only in memory when the power goes.
int SyncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

// Numbers the scratch files of the tag copy. Together with the process number
// and O_EXCL their names are the program's own, as the temporary outputs'.
std::atomic<quint64> scratchCount{0};

// Copies the input's tags onto the temporary output: written into a new
// hidden scratch file beside it, which replaces it in one step once complete
// and is removed otherwise. Returns "" or the reason in words.
QString CopyTagsOntoTemporaryOutput(const FilePlan &plan, qint64 lengthMs)
{
    // The temporary output's folder, as its path writes it, "/" included.
    const QString folder = plan.temporaryPath.left(plan.temporaryPath.lastIndexOf(u'/') + 1);
    QByteArray scratch;
    int fd = -1;
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        scratch = QFile::encodeName(
            folder + QStringLiteral(".velunor-%1-%2.mp3").arg(::getpid()).arg(++scratchCount));
        fd =
            ::open(scratch.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        error = fd < 0 ? errno : 0;
    }
    if (fd < 0)
        return QStringLiteral("the tags could not be written (%1)")
            .arg(FileSystem::SystemMessage(error));
    ::close(fd);
    const TagCopyResult copy =
        CopyTags(plan.inputPath, plan.temporaryPath, QFile::decodeName(scratch), lengthMs);
    if (copy.problem.isEmpty() && copy.written &&
        ::rename(scratch.constData(), QFile::encodeName(plan.temporaryPath).constData()) == 0)
        return QString();
    error = errno;
    ::unlink(scratch.constData());
    if (copy.problem.isEmpty() && copy.written)
        return QStringLiteral("the tags could not be written (%1)")
            .arg(FileSystem::SystemMessage(error));
    return copy.problem;
}

} // namespace

std::optional<double> AudioSeconds(const QString &path, const StagedConverter &converter)
{
    if (const std::optional<MpegAudioLength> mpeg = MeasureMpegAudio(path))
        return mpeg->seconds();
    if (converter.path.isEmpty())
        return std::nullopt;
    // Any other kind the converter reads (WAV, FLAC, ...): it tells the
    // length from the file's header.
    const std::optional<QByteArray> told = RunForOutput(
        converter.path, {QStringLiteral("--i"), QStringLiteral("-D"), QStringLiteral("--"), path},
        converter.environment, 10000);
    bool number = false;
    const double seconds = told ? told->trimmed().toDouble(&number) : 0.0;
    if (!number || seconds <= 0.0)
        return std::nullopt;
    return seconds;
}

CheckedOutput CheckAndCompleteOutput(const FilePlan &plan, const ProcessEnd &end,
                                     const QByteArray &errorOutput,
                                     const StagedConverter &converter)
{
    const QString errorLine = LastErrorLine(errorOutput);
    if (end.signal != 0)
        return {Result::Killed, errorLine, end.signal};
    if (end.exitStatus != 0)
        return {Result::ConverterFailed, errorLine, end.exitStatus};

    struct stat written {};
    if (::stat(QFile::encodeName(plan.temporaryPath).constData(), &written) != 0 ||
        written.st_size == 0)
        return {Result::NoOutput, errorLine, 0};
    const std::optional<MpegAudioLength> output = MeasureMpegAudio(plan.temporaryPath);
    if (!output || output->frames == 0) {
        if (DiskIsFull(Main::FolderOf(plan.temporaryPath), errorOutput))
            return {Result::DiskFull, QString(), ENOSPC};
        return {Result::NoOutput, QStringLiteral("the converter wrote no MP3 audio"), 0};
    }
    // The converter ends well even when the disk filled up or a signal cut it
    // short; only the length of what it wrote tells. An input whose length
    // nobody can tell is taken as the converter read it.
    if (const std::optional<double> input = AudioSeconds(plan.inputPath, converter);
        input && output->seconds() < *input - kLengthToleranceSeconds) {
        if (DiskIsFull(Main::FolderOf(plan.temporaryPath), errorOutput))
            return {Result::DiskFull, QString(), ENOSPC};
        return {Result::OutputTooShort,
                QStringLiteral("%1 of %2 seconds").arg(Seconds(output->seconds()), Seconds(*input)),
                0};
    }

    const qint64 lengthMs = std::llround(output->seconds() * 1000.0);
    if (const QString problem = CopyTagsOntoTemporaryOutput(plan, lengthMs); !problem.isEmpty()) {
        if (DiskIsFull(Main::FolderOf(plan.temporaryPath), errorOutput))
            return {Result::DiskFull, QString(), ENOSPC};
        return {Result::NotFinished, problem, 0};
    }
    if (const int error = SyncToDisk(plan.temporaryPath); error != 0)
        return {error == ENOSPC ? Result::DiskFull : Result::NotFinished,
                QStringLiteral("the output could not be written (%1)")
                    .arg(FileSystem::SystemMessage(error)),
                error};
    return {};
}

QString PutOutputInPlace(const FilePlan &plan)
{
    if (::rename(QFile::encodeName(plan.temporaryPath).constData(),
                 QFile::encodeName(plan.outputPath).constData()) == 0)
        return QString();
    const int error = errno;
    ReleaseTemporaryOutput(plan);
    return QStringLiteral("the output could not be put in place (%1)")
        .arg(FileSystem::SystemMessage(error));
}

} // namespace velunor
