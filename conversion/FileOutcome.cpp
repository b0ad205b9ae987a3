#include "conversion/FileOutcome.h"

#include "platform/FileSystem.h"

#include <cstring>

namespace velunor {

QString FileOutcome::reason() const
{
    switch (result) {
    case Result::Converted:
        return QString();
    case Result::UpToDate:
        return QStringLiteral("up to date");
    case Result::Skipped:
    case Result::NotFinished:
        return detail;
    case Result::NotStarted:
        return QStringLiteral("the converter could not be started (%1)")
            .arg(FileSystem::SystemMessage(number.value));
    case Result::ConverterFailed:
        // The converter's own words say more than its exit status.
        return detail.isEmpty()
                   ? QStringLiteral("the converter failed (exit status %1)").arg(number.value)
                   : detail;
    case Result::Killed:
        return QStringLiteral("ended by signal %1, %2")
            .arg(number.value)
            .arg(QString::fromLocal8Bit(::strsignal(number.value)));
    case Result::NoOutput:
        return detail.isEmpty() ? QStringLiteral("the converter wrote no output file") : detail;
    case Result::OutputTooShort:
        return QStringLiteral("the output is shorter than the input (%1)").arg(detail);
    case Result::DiskFull:
        return QStringLiteral("the disk is full");
    case Result::FolderRemoved:
        return QStringLiteral("the output folder was removed during the run");
    case Result::FolderUnwritable:
        // The detail tells of an unfinished file that could not be removed.
        return QStringLiteral("cannot write in the output folder: %1%2")
            .arg(FileSystem::SystemMessage(number.value), detail);
    case Result::Stopped:
        return QStringLiteral("stopped before it was finished");
    case Result::NotReached:
        return QStringLiteral("not started, the run was stopped");
    case Result::LeftList:
        return QStringLiteral("removed from the list before its turn");
    }
    return detail;
}

} // namespace velunor
