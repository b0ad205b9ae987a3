#include "conversion/RunSummary.h"

#include <QCoreApplication>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(RunSummary)
};

const QString kLineBreak = QStringLiteral("\r\n");

QStringList WhyRenamed(NameChanges changes)
{
    QStringList why;
    if (changes & NameChange::RefusedCharacters)
        why << Words::tr("the output's file system refuses the name as it is");
    if (changes & NameChange::Shortened)
        why << Words::tr("the name is too long for the output folder's file system");
    if (changes & NameChange::SameNameInList)
        why << Words::tr("another file in the list has the same name");
    if (changes & NameChange::HeldByAnotherInput)
        why << Words::tr("a file of that name holds the output of another input");
    if (changes & NameChange::UsersFileKept)
        why << Words::tr("your file of that name stays, as no Trash could take it");
    return why;
}

// One list with its heading, cut short after `listedAtMost` lines (-1: never).
QString Section(const QString &heading, const QStringList &lines, qsizetype listedAtMost)
{
    const qsizetype count = lines.size();
    QString text = kLineBreak + kLineBreak + heading;
    const qsizetype listed = listedAtMost < 0 ? count : std::min(count, listedAtMost);
    for (qsizetype i = 0; i < listed; ++i)
        text += kLineBreak + lines[i];
    if (count > listed)
        text += kLineBreak + Words::tr("... and %n more.", nullptr, int(count - listed));
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
            why << Words::tr("your file of that name was moved to the Trash");
        if (!why.isEmpty())
            movedAside_ << outcome.inputPath.text() + QStringLiteral(" -> ") +
                               outcome.outputPath.text() + QStringLiteral(" - ") +
                               //: Between two reasons why an output has another name.
                               why.join(Words::tr("; "));
        return;
    }
    addNotConverted(outcome.inputPath, outcome.reason());
    // The output did not come, but the user's file had made room already.
    if (!outcome.trashedPath.isEmpty())
        movedAside_ << Words::tr("%1 - your file %2 was moved to the Trash")
                           .arg(outcome.inputPath.text(), outcome.trashedPath.text());
    // The input had left its name for an output that could not take it.
    if (!outcome.inputTrashedTo.isEmpty())
        movedAside_ << Words::tr("%1 - the file is in the Trash as %2")
                           .arg(outcome.inputPath.text(), outcome.inputTrashedTo.text());
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
    return stopped_ ? Words::tr("Stopped.") : Words::tr("Done.");
}

QString RunSummary::counts() const
{
    const int failed = int(notConverted_.size());
    const int total = converted_ + upToDate_ + failed;
    if (failed == 0 && upToDate_ == 0)
        return total == 1 ? Words::tr("The file was converted.")
                          : Words::tr("All %n files were converted.", nullptr, total);
    if (failed == 0 && converted_ == 0)
        return total == 1 ? Words::tr("The file was up to date.")
                          : Words::tr("All %n files were up to date.", nullptr, total);
    if (failed == 0)
        return converted_ == 1
                   ? Words::tr("1 of %n files was converted, the others were up to date.", nullptr,
                               total)
                   : Words::tr("%n of %1 files were converted, the others were up to date.",
                               nullptr, converted_)
                         .arg(total);
    if (failed == 1)
        return Words::tr("1 of %n files was not converted.", nullptr, total);
    return Words::tr("%n of %1 files were not converted.", nullptr, failed).arg(total);
}

QString RunSummary::text(qsizetype listedAtMost) const
{
    QString text = heading();
    QStringList counted;
    if (upToDate_ > 0)
        counted << (upToDate_ == 1 ? Words::tr("1 file was up to date and not converted again.")
                                   : Words::tr("%n files were up to date and not converted again.",
                                               nullptr, upToDate_));
    if (inputsTrashed_ > 0)
        counted << (inputsTrashed_ == 1
                        ? Words::tr("1 input was moved to the Trash.")
                        : Words::tr("%n inputs were moved to the Trash.", nullptr, inputsTrashed_));
    if (!counted.isEmpty())
        text += kLineBreak + kLineBreak + counted.join(kLineBreak);
    if (const int count = int(notConverted_.size()); count > 0)
        text += Section(count == 1 ? Words::tr("1 file was not converted:")
                                   : Words::tr("%n files were not converted:", nullptr, count),
                        notConverted_, listedAtMost);
    if (const int count = int(warnings_.size()); count > 0)
        text += Section(count == 1 ? Words::tr("1 warning:")
                                   : Words::tr("%n warnings:", nullptr, count),
                        warnings_, listedAtMost);
    if (const int count = int(movedAside_.size()); count > 0)
        text += Section(
            count == 1
                ? Words::tr("1 file was saved under another name or in place of a file of yours:")
                : Words::tr("%n files were saved under another name or in place of a file of "
                            "yours:",
                            nullptr, count),
            movedAside_, listedAtMost);
    if (const int count = int(inputsKept_.size()); count > 0)
        text += Section(
            count == 1
                ? Words::tr("1 input stays where it was, not in the Trash:")
                : Words::tr("%n inputs stay where they were, not in the Trash:", nullptr, count),
            inputsKept_, listedAtMost);
    if (const int count = int(alreadyMono_.size()); count > 0)
        text += Section(count == 1 ? Words::tr("1 file was mono already:")
                                   : Words::tr("%n files were mono already:", nullptr, count),
                        alreadyMono_, listedAtMost);
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

} // namespace velunor::conversion
