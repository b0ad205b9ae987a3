#include "conversion/RunSummary.h"

namespace velunor {

namespace {
const QString kLineBreak = QStringLiteral("\r\n");
}

void RunSummary::addNotConverted(const QString &path, const QString &reason)
{
    notConverted_.append({path, reason});
}

QString RunSummary::message() const
{
    QString text = stopped_ ? QStringLiteral("Stopped.") : QStringLiteral("Done.");
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
