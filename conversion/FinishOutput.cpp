#include "conversion/FinishOutput.h"

#include "conversion/ListedFiles.h"
#include "conversion/MpegAudio.h"
#include "conversion/OutputNames.h"
#include "conversion/TagCopy.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>

namespace velunor {

namespace {

using Result = FileOutcome::Result;

// Lengths that differ by less than this are the same audio: an encoder adds
// a frame or two of padding at each end.
constexpr double kLengthToleranceSeconds = 0.5;
// How long the run waits for a worker that is putting an output in place
// when it gives up on it.
constexpr auto kAbandonWait = std::chrono::milliseconds(100);

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

bool IsPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// True when the file at `path` bears the program's mark: an earlier output.
// A link is never followed: whatever it points to is the user's.
bool BearsOutputMark(const QString &path)
{
    return ::lgetxattr(QFile::encodeName(path).constData(), kOutputMark, nullptr, 0) >= 0;
}

// Writes a folder's entries through to the disk, so that a rename in it
// survives a power cut. Some file systems cannot, which changes nothing.
void SyncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// True when the file system of `path`'s folder refuses its name: FAT,
// exFAT, NTFS and SMB refuse characters that other file systems take. Asked
// only of names that hold such characters, by making a hidden file that
// carries them, never by renaming (one FAT driver loses the file it was
// asked to rename to a name it refuses).
bool FileSystemRefusesName(const QString &path)
{
    const QString name = Main::FileNameOf(path);
    if (FileSystemSafeName(Main::StripExtension(name)) == Main::StripExtension(name))
        return false;
    static std::atomic<quint64> probes{0};
    const QByteArray probe = QFile::encodeName(
        Main::FolderOf(path) +
        QStringLiteral("/.velunor-%1-probe%2-").arg(::getpid()).arg(++probes) + name);
    const int fd =
        ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }
    // Failures that have nothing to do with the name are told by the rename.
    // A folder that cannot be written says EACCES or EROFS; drivers that
    // refuse a name say EINVAL, EILSEQ or EPERM.
    return errno != EEXIST && errno != ENAMETOOLONG && errno != ENOSPC && errno != EDQUOT &&
           errno != EACCES && errno != EROFS && errno != ENOENT;
}

// Moves `path` to the desktop's Trash and returns where it went; "" when
// there is no Trash for it. Qt puts a file that should go to the home Trash
// into the current folder when the user's data folder does not exist yet, so
// that folder is made first, and anything that did not land in a Trash is
// put back.
QString MoveToTrash(const QString &path)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty() && !QFileInfo::exists(data) && QDir().mkpath(data))
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile file(path);
    if (!file.moveToTrash())
        return QString();
    const QString trashed = file.fileName();
    static const QRegularExpression inTrash(
        QStringLiteral("/(Trash|\\.Trash-\\d+|\\.Trash/\\d+)/files/"));
    if (QFileInfo(trashed).isAbsolute() && inTrash.match(trashed).hasMatch())
        return trashed;
    ::rename(QFile::encodeName(trashed).constData(), QFile::encodeName(path).constData());
    return QString();
}

class Finisher {
public:
    Finisher(Completion &completion, CompletionControl &control)
        : c_(completion), control_(control), folder_(Main::FolderOf(c_.temporary->path()))
    {
        outcome_.inputPath = c_.plan.inputPath;
    }

    FileOutcome run()
    {
        if (const std::optional<FileOutcome> vanished = outputVanished())
            return *vanished;
        const QString errorLine = LastErrorLine(c_.errorOutput);
        if (c_.end.signal != 0)
            return fail(Result::Killed, errorLine, c_.end.signal);
        if (c_.end.exitStatus != 0) {
            // A folder that stopped taking files is the reason, whatever words
            // the converter found for it.
            if (::access(QFile::encodeName(folder_).constData(), W_OK) != 0 &&
                IsPermissionError(errno))
                return fail(Result::FolderUnwritable, QString(), errno);
            return fail(Result::ConverterFailed, errorLine, c_.end.exitStatus);
        }

        struct stat written {};
        if (::fstat(c_.temporary->descriptor(), &written) != 0 || written.st_size == 0)
            return fail(Result::NoOutput, errorLine);
        const std::optional<MpegAudioLength> output =
            MeasureMpegAudio(c_.temporary->path(), &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (!output || output->frames == 0) {
            if (DiskIsFull(folder_, c_.errorOutput))
                return fail(Result::DiskFull, QString(), ENOSPC);
            return fail(Result::NoOutput, QStringLiteral("the converter wrote no MP3 audio"));
        }
        // The converter ends well even when the disk filled up or a signal cut
        // it short; only the length of what it wrote tells. An input whose
        // length nobody can tell is taken as the converter read it.
        const std::optional<double> input =
            c_.inputSeconds ? c_.inputSeconds
                            : AudioSeconds(c_.plan.inputPath, c_.converter, &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (input && output->seconds() < *input - kLengthToleranceSeconds) {
            if (DiskIsFull(folder_, c_.errorOutput))
                return fail(Result::DiskFull, QString(), ENOSPC);
            return fail(Result::OutputTooShort,
                        QStringLiteral("%1 of %2 seconds")
                            .arg(Seconds(output->seconds()), Seconds(*input)));
        }

        if (const std::optional<FileOutcome> failed =
                copyTags(std::llround(output->seconds() * 1000.0)))
            return *failed;
        // The mark tells a later run that this file may be replaced. Where
        // the file system keeps no marks, a later run moves it to the Trash.
        const QByteArray input8 = QFile::encodeName(c_.plan.inputPath);
        ::fsetxattr(c_.temporary->descriptor(), kOutputMark, input8.constData(),
                    static_cast<size_t>(input8.size()), 0);
        // The final name must never stand for a file whose content is still
        // only in memory when the power goes.
        if (::fsync(c_.temporary->descriptor()) != 0) {
            const int error = errno;
            return fail(error == ENOSPC ? Result::DiskFull : Result::NotFinished,
                        QStringLiteral("the output could not be written (%1)")
                            .arg(FileSystem::SystemMessage(error)),
                        error);
        }
        if (const std::optional<FileOutcome> listed = replacesListedFile())
            return *listed;
        return putInPlace();
    }

private:
    bool stopped() const { return control_.cancel.load(); }

    FileOutcome fail(Result result, const QString &detail = QString(), int number = 0)
    {
        outcome_.result = result;
        outcome_.detail = detail;
        outcome_.number = number;
        const QString leftover = c_.temporary->path();
        if (const int error = c_.temporary->remove(); error != 0) {
            // Nothing can be removed from a folder that cannot be written:
            // the user is told of the hidden file that stays.
            const QString note =
                QStringLiteral("; the unfinished file %1 could not be removed (%2)")
                    .arg(leftover, FileSystem::SystemMessage(error));
            outcome_.detail = result == Result::FolderUnwritable ? note : outcome_.detail + note;
        }
        return outcome_;
    }

    // The temporary output is gone from its folder: the folder went, or
    // somebody removed the file.
    std::optional<FileOutcome> outputVanished()
    {
        struct stat held {};
        if (::fstat(c_.temporary->descriptor(), &held) != 0 || held.st_nlink > 0)
            return std::nullopt;
        c_.temporary->remove();
        if (!Main::FolderExists(folder_))
            return fail(Result::FolderRemoved);
        return fail(Result::NoOutput,
                    QStringLiteral("the unfinished output was removed during the run"));
    }

    // Why a new file cannot be made or named in the output folder.
    FileOutcome cannotWrite(int error)
    {
        if (const std::optional<Result> failure = FolderWriteFailure(folder_, error))
            return fail(*failure, QString(), error);
        return fail(Result::NotFinished,
                    QStringLiteral("the output could not be put in place (%1)")
                        .arg(FileSystem::SystemMessage(error)),
                    error);
    }

    std::optional<FileOutcome> copyTags(qint64 lengthMs)
    {
        // The tagged copy is written beside the output into a hidden file of
        // its own, made only when the tags call for a new file.
        std::unique_ptr<TemporaryOutput> tagged;
        int error = 0;
        const TaggedFile makeTagged = [&]() -> QString {
            tagged = TemporaryOutput::Reserve(folder_, error);
            if (!tagged)
                return QString();
            control_.hold(tagged->path());
            return tagged->path();
        };
        const TagCopyResult copied = CopyTags(c_.plan.inputPath, c_.temporary->path(), makeTagged,
                                              lengthMs, &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (copied.noTaggedFile)
            return cannotWrite(error);
        if (!copied.problem.isEmpty()) {
            if (DiskIsFull(folder_, c_.errorOutput))
                return fail(Result::DiskFull, QString(), ENOSPC);
            return fail(Result::NotFinished, copied.problem);
        }
        if (!copied.written)
            return std::nullopt;
        if (!control_.enter())
            return fail(Result::Stopped);
        const QString taggedPath = tagged->path();
        const int moved = tagged->moveOver(*c_.temporary);
        control_.release(taggedPath);
        control_.leave();
        if (moved != 0)
            return cannotWrite(moved);
        c_.temporary = std::move(tagged);
        return std::nullopt;
    }

    std::optional<FileOutcome> replacesListedFile()
    {
        if (!c_.listed)
            return std::nullopt;
        const std::optional<QString> problem =
            ReplacesListedFile(c_.plan.outputPath, [this](const FileIdentity &file) {
                return c_.listed->contains(file, &control_.cancel);
            });
        if (!problem)
            return fail(Result::Stopped);
        if (!problem->isEmpty())
            return fail(Result::Skipped, *problem);
        return std::nullopt;
    }

    // A file of the user's own under the output's name goes to the Trash
    // rather than being lost; one without a Trash is replaced as ever.
    void makeRoom(const QString &target)
    {
        struct stat there {};
        if (::lstat(QFile::encodeName(target).constData(), &there) != 0 || S_ISDIR(there.st_mode) ||
            BearsOutputMark(target))
            return;
        if (!MoveToTrash(target).isEmpty())
            outcome_.trashedPath = target;
        else
            outcome_.replacedUnmarked = true;
    }

    FileOutcome putInPlace()
    {
        if (!control_.enter())
            return fail(Result::Stopped);
        const QString temporaryPath = c_.temporary->path();
        QString target = c_.plan.outputPath;
        outcome_.nameChange = c_.plan.nameChange;
        if (c_.names && FileSystemRefusesName(target)) {
            const OutputNames::Claim safe = c_.names->claimSafe(c_.plan.outputFolderKey, target);
            target = safe.path;
            outcome_.nameChange = safe.change;
        }
        makeRoom(target);
        const int error = c_.temporary->moveTo(target);
        if (error == 0)
            control_.release(temporaryPath);
        control_.leave();
        if (error != 0)
            return cannotWrite(error);
        SyncFolder(folder_);
        outcome_.result = Result::Converted;
        outcome_.outputPath = target;
        return outcome_;
    }

    Completion &c_;
    CompletionControl &control_;
    const QString folder_;
    FileOutcome outcome_;
};

} // namespace

bool CompletionControl::enter()
{
    mutex_.lock();
    if (abandoned_) {
        mutex_.unlock();
        return false;
    }
    return true;
}

void CompletionControl::leave()
{
    mutex_.unlock();
}

void CompletionControl::hold(const QString &path)
{
    const std::lock_guard lock(heldMutex_);
    held_.append(path);
}

void CompletionControl::release(const QString &path)
{
    const std::lock_guard lock(heldMutex_);
    held_.removeAll(path);
}

bool CompletionControl::abandon()
{
    cancel = true;
    if (!mutex_.try_lock_for(kAbandonWait))
        return false;
    if (!abandoned_) {
        abandoned_ = true;
        const std::lock_guard lock(heldMutex_);
        for (const QString &path : std::as_const(held_))
            ::unlink(QFile::encodeName(path).constData());
        held_.clear();
    }
    mutex_.unlock();
    return true;
}

std::optional<double> AudioSeconds(const QString &path, const StagedConverter &converter,
                                   const std::atomic<bool> *cancel)
{
    if (const std::optional<MpegAudioLength> mpeg = MeasureMpegAudio(path, cancel))
        return mpeg->seconds();
    if (converter.path.isEmpty() || (cancel && *cancel))
        return std::nullopt;
    // Any other kind the converter reads (WAV, FLAC, ...): it tells the
    // length from the file's header.
    const std::optional<QByteArray> told = RunForOutput(
        converter.path, {QStringLiteral("--i"), QStringLiteral("-D"), QStringLiteral("--"), path},
        converter.environment, 10000, cancel);
    bool number = false;
    const double seconds = told ? told->trimmed().toDouble(&number) : 0.0;
    if (!number || seconds <= 0.0)
        return std::nullopt;
    return seconds;
}

std::optional<Result> FolderWriteFailure(const QString &folder, int error)
{
    if (error == ENOENT && !Main::FolderExists(folder))
        return Result::FolderRemoved;
    if (error == ENOSPC || error == EDQUOT)
        return Result::DiskFull;
    if (IsPermissionError(error))
        return Result::FolderUnwritable;
    return std::nullopt;
}

FileOutcome CompleteOutput(Completion &completion, CompletionControl &control)
{
    return Finisher(completion, control).run();
}

} // namespace velunor
