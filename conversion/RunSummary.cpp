#include "conversion/RunSummary.h"

namespace velunor {

namespace {
const QString kLineBreak = QStringLiteral("\r\n");
}

void RunSummary::addNotConverted(const QString &path, const QString &reason)
{
    notConverted_.append({path, reason});
}

QString RunSummary::heading() const
{
    return stopped_ ? QStringLiteral("Stopped.") : QStringLiteral("Done.");
}

QString RunSummary::counts() const
{
    const qsizetype failed = notConverted_.size();
    const qsizetype total = converted_ + failed;
    if (failed == 0)
        return total == 1 ? QStringLiteral("The file was converted.")
                          : QStringLiteral("All %1 files were converted.").arg(total);
    return (failed == 1 ? QStringLiteral("%1 of %2 files was not converted.")
                        : QStringLiteral("%1 of %2 files were not converted."))
        .arg(failed)
        .arg(total);
}

QString RunSummary::message() const
{
    QString text = heading();
    if (notConverted_.isEmpty())
        return text;

    const qsizetype count = notConverted_.size();
    text += kLineBreak + kLineBreak +
            (count == 1 ? QStringLiteral("1 file was not converted:")
                        : QStringLiteral("%1 files were not converted:").arg(count));
    const qsizetype listed = std::min<qsizetype>(count, kListedAtMost);
    for (qsizetype i = 0; i < listed; ++i)
        text +=
            kLineBreak + notConverted_[i].path + QStringLiteral(" - ") + notConverted_[i].reason;
    if (count > listed)
        text += kLineBreak + QStringLiteral("... and %1 more.").arg(count - listed);
    return text;
}

} // namespace velunor
