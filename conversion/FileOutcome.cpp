#include "conversion/FileOutcome.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>

#include <cstring>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(FileOutcome)
};

} // namespace

QString FileOutcome::AlreadyMonoNote()
{
    return Words::tr("already mono: audio copied unchanged");
}

QString FileOutcome::reason() const
{
    switch (result) {
    case Result::Converted:
        return QString();
    case Result::UpToDate:
        return Words::tr("up to date");
    case Result::Skipped:
    case Result::NotFinished:
        return detail;
    case Result::NotStarted:
        return Words::tr("the converter could not be started (%1)")
            .arg(platform::FileSystem::SystemMessage(number.value));
    case Result::ConverterFailed:
        // The converter's own words say more than its exit status.
        return detail.isEmpty()
                   ? Words::tr("the converter failed (exit status %1)").arg(number.value)
                   : detail;
    case Result::Killed:
        return Words::tr("ended by signal %1, %2")
            .arg(QString::number(number.value), QString::fromLocal8Bit(::strsignal(number.value)));
    case Result::NoOutput:
        return detail.isEmpty() ? Words::tr("the converter wrote no output file") : detail;
    case Result::OutputTooShort:
        return Words::tr("the output is shorter than the input (%1)").arg(detail);
    case Result::DiskFull:
        return Words::tr("the disk is full");
    case Result::FolderRemoved:
        return Words::tr("the output folder was removed during the run");
    case Result::FolderUnwritable:
        // The detail tells of an unfinished file that could not be removed.
        return Words::tr("cannot write in the output folder: %1%2")
            .arg(platform::FileSystem::SystemMessage(number.value), detail);
    case Result::Stopped:
        return Words::tr("stopped before it was finished");
    case Result::NotReached:
        return Words::tr("not started, the run was stopped");
    case Result::LeftList:
        return Words::tr("removed from the list before its turn");
    }
    return detail;
}

} // namespace velunor::conversion
