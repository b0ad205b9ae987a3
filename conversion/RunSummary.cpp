#include "conversion/RunSummary.h"

namespace velunor {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QStringList WhyRenamed(NameChanges changes)
{
    QStringList why;
    if (changes & NameChange::RefusedCharacters)
        why << QStringLiteral("the output's file system refuses the name as it is");
    if (changes & NameChange::SameNameInList)
        why << QStringLiteral("another file in the list has the same name");
    if (changes & NameChange::HeldByAnotherInput)
        why << QStringLiteral("a file of that name holds the output of another input");
    return why;
}

// One list with its heading, cut short after `listedAtMost` lines (-1: never).
QString Section(const QString &one, const QString &many, const QStringList &lines,
                qsizetype listedAtMost)
{
    const qsizetype count = lines.size();
    QString text = kLineBreak + kLineBreak + (count == 1 ? one : many.arg(count));
    const qsizetype listed = listedAtMost < 0 ? count : std::min(count, listedAtMost);
    for (qsizetype i = 0; i < listed; ++i)
        text += kLineBreak + lines[i];
    if (count > listed)
        text += kLineBreak + QStringLiteral("... and %1 more.").arg(count - listed);
    return text;
}

} // namespace

void RunSummary::add(const FileOutcome &outcome)
{
    if (outcome.upToDate()) {
        ++upToDate_;
        return;
    }
    if (outcome.converted()) {
        ++converted_;
        if (!outcome.inputTrashedTo.isEmpty())
            ++inputsTrashed_;
        if (!outcome.inputKept.isEmpty())
            inputsKept_ << outcome.inputPath.text() + QStringLiteral(" - ") + outcome.inputKept;
        for (const QString &warning : outcome.warnings)
            addWarning(outcome.inputPath, warning);
        if (outcome.alreadyMono)
            alreadyMono_ << outcome.inputPath.text() + QStringLiteral(" - ") +
                                FileOutcome::AlreadyMonoNote();
        QStringList why = WhyRenamed(outcome.nameChanges);
        if (!outcome.trashedPath.isEmpty())
            why << QStringLiteral("your file of that name was moved to the Trash");
        if (outcome.replacedUnmarked)
            why << QStringLiteral("your file of that name was replaced, as no Trash could be had");
        if (!why.isEmpty())
            movedAside_ << outcome.inputPath.text() + QStringLiteral(" -> ") +
                               outcome.outputPath.text() + QStringLiteral(" - ") +
                               why.join(QStringLiteral("; "));
        return;
    }
    addNotConverted(outcome.inputPath, outcome.reason());
    // The output did not come, but the user's file had made room already.
    if (!outcome.trashedPath.isEmpty())
        movedAside_ << outcome.inputPath.text() + QStringLiteral(" - your file ") +
                           outcome.trashedPath.text() + QStringLiteral(" was moved to the Trash");
    // The input had left its name for an output that could not take it.
    if (!outcome.inputTrashedTo.isEmpty())
        movedAside_ << outcome.inputPath.text() +
                           QStringLiteral(" - the file is in the Trash as ") +
                           outcome.inputTrashedTo.text();
}

void RunSummary::addNotConverted(const Path &path, const QString &reason)
{
    notConverted_ << path.text() + QStringLiteral(" - ") + reason;
}

void RunSummary::addWarning(const Path &path, const QString &words)
{
    warnings_ << path.text() + QStringLiteral(" - ") + words;
}

QString RunSummary::heading() const
{
    return stopped_ ? QStringLiteral("Stopped.") : QStringLiteral("Done.");
}

QString RunSummary::counts() const
{
    const qsizetype failed = notConverted_.size();
    const qsizetype total = converted_ + upToDate_ + failed;
    if (failed == 0 && upToDate_ == 0)
        return total == 1 ? QStringLiteral("The file was converted.")
                          : QStringLiteral("All %1 files were converted.").arg(total);
    if (failed == 0 && converted_ == 0)
        return total == 1 ? QStringLiteral("The file was up to date.")
                          : QStringLiteral("All %1 files were up to date.").arg(total);
    if (failed == 0)
        return (converted_ == 1
                    ? QStringLiteral("%1 of %2 files was converted, the others were up to date.")
                    : QStringLiteral("%1 of %2 files were converted, the others were up to date."))
            .arg(converted_)
            .arg(total);
    return (failed == 1 ? QStringLiteral("%1 of %2 files was not converted.")
                        : QStringLiteral("%1 of %2 files were not converted."))
        .arg(failed)
        .arg(total);
}

QString RunSummary::text(qsizetype listedAtMost) const
{
    QString text = heading();
    QStringList counted;
    if (upToDate_ > 0)
        counted << (upToDate_ == 1
                        ? QStringLiteral("1 file was up to date and not converted again.")
                        : QStringLiteral("%1 files were up to date and not converted again.")
                              .arg(upToDate_));
    if (inputsTrashed_ > 0)
        counted << (inputsTrashed_ == 1
                        ? QStringLiteral("1 input was moved to the Trash.")
                        : QStringLiteral("%1 inputs were moved to the Trash.").arg(inputsTrashed_));
    if (!counted.isEmpty())
        text += kLineBreak + kLineBreak + counted.join(kLineBreak);
    if (!notConverted_.isEmpty())
        text +=
            Section(QStringLiteral("1 file was not converted:"),
                    QStringLiteral("%1 files were not converted:"), notConverted_, listedAtMost);
    if (!warnings_.isEmpty())
        text += Section(QStringLiteral("1 warning:"), QStringLiteral("%1 warnings:"), warnings_,
                        listedAtMost);
    if (!movedAside_.isEmpty())
        text += Section(
            QStringLiteral("1 file was saved under another name or in place of a file of yours:"),
            QStringLiteral(
                "%1 files were saved under another name or in place of a file of yours:"),
            movedAside_, listedAtMost);
    if (!inputsKept_.isEmpty())
        text += Section(QStringLiteral("1 input stays where it was, not in the Trash:"),
                        QStringLiteral("%1 inputs stay where they were, not in the Trash:"),
                        inputsKept_, listedAtMost);
    if (!alreadyMono_.isEmpty())
        text += Section(QStringLiteral("1 file was mono already:"),
                        QStringLiteral("%1 files were mono already:"), alreadyMono_, listedAtMost);
    return text;
}

QString RunSummary::message() const
{
    return text(kListedAtMost);
}

QString RunSummary::details() const
{
    if (notConverted_.isEmpty() && movedAside_.isEmpty() && inputsKept_.isEmpty() &&
        warnings_.isEmpty() && alreadyMono_.isEmpty())
        return QString();
    return text(-1);
}

} // namespace velunor
