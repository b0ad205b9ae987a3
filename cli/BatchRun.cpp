#include "cli/BatchRun.h"

#include "cli/Console.h"
#include "cli/StatusLine.h"

#include <QCoreApplication>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchRun)
};

// The line of a converted file: what became of an input that was mono
// already and of one that was to go to the Trash.
QString ConvertedLine(const conversion::FileOutcome &outcome)
{
    const QString input = outcome.inputPath.text();
    const QString output = outcome.outputPath.text();
    if (outcome.alreadyMono) {
        if (!outcome.inputTrashedTo.isEmpty())
            return Words::tr("converted: %1 -> %2 - already mono: audio copied unchanged (input "
                             "moved to the Trash)")
                .arg(input, output);
        if (!outcome.inputKept.isEmpty())
            return Words::tr("converted: %1 -> %2 - already mono: audio copied unchanged (input "
                             "kept: %3)")
                .arg(input, output, outcome.inputKept);
        return Words::tr("converted: %1 -> %2 - already mono: audio copied unchanged")
            .arg(input, output);
    }
    if (!outcome.inputTrashedTo.isEmpty())
        return Words::tr("converted: %1 -> %2 (input moved to the Trash)").arg(input, output);
    if (!outcome.inputKept.isEmpty())
        return Words::tr("converted: %1 -> %2 (input kept: %3)")
            .arg(input, output, outcome.inputKept);
    return Words::tr("converted: %1 -> %2").arg(input, output);
}

} // namespace

QString SummaryText(const conversion::RunSummary &summary, const QStringList &unsearched)
{
    const QString details = summary.details();
    QString text = details.isEmpty() ? summary.message() : details;
    if (!unsearched.isEmpty())
        text += QStringLiteral("\n\n") +
                (unsearched.size() == 1 ? Words::tr("1 folder could not be searched:")
                                        : Words::tr("%n folders could not be searched:", nullptr,
                                                    int(unsearched.size()))) +
                u'\n' + unsearched.join(u'\n');
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

BatchRun::BatchRun(filelist::FileListModel &list, const BatchChoices &choices, Console &console)
    : list_(list), console_(console), choices_(choices),
      run_(processes_, list, *this, choices.conversionsAtOnce)
{
    statusTimer_.setInterval(kStatusMilliseconds);
    connect(&statusTimer_, &QTimer::timeout, this, [this] { showStatus(); });
    connect(&run_, &conversion::ListRun::fileFinished, this,
            [this](const conversion::FileOutcome &outcome) { tellFile(outcome); });
    connect(&run_, &conversion::ListRun::fileWarned, this,
            [this](const Path &inputPath, const QString &words) { tellWarning(inputPath, words); });
    connect(&run_, &conversion::ListRun::finished, this, [this] { finish(); });
}

BatchRun::~BatchRun() = default;

void BatchRun::start(std::shared_ptr<conversion::StagingAhead> ahead)
{
    if (console_.showsStatus()) {
        showStatus();
        statusTimer_.start();
    }
    // The list is complete before the run starts.
    run_.closeList();
    run_.start(std::move(ahead));
    // A signal that came before the run could stop: it stops now.
    if (interrupted_ && run_.canStop())
        run_.stop();
}

void BatchRun::interrupt()
{
    interrupted_ = true;
    run_.stop();
}

void BatchRun::stepFailed(const conversion::StepFailure &failure)
{
    console_.printError(
        Words::tr("velunor: %1 failed: %2")
            .arg(conversion::DescribeStep(failure.step, failure.index), failure.failure.words));
}

void BatchRun::tellWarning(const Path &inputPath, const QString &words)
{
    console_.printError(Words::tr("warning: %1: %2").arg(inputPath.text(), words));
}

void BatchRun::tellFile(const conversion::FileOutcome &outcome)
{
    ++filesDone_;
    // Warnings are told as they come, on a terminal too.
    for (const QString &warning : outcome.warnings)
        tellWarning(outcome.inputPath, warning);
    // On a terminal the status line counts the files; the summary names
    // those that were not converted.
    if (console_.showsStatus())
        return;
    if (outcome.upToDate())
        console_.printOut(Words::tr("up to date: %1 -> %2")
                              .arg(outcome.inputPath.text(), outcome.outputPath.text()));
    else if (outcome.converted())
        console_.printOut(ConvertedLine(outcome));
    else
        console_.printError(
            Words::tr("not converted: %1 - %2").arg(outcome.inputPath.text(), outcome.reason()));
}

void BatchRun::showStatus()
{
    console_.showStatus(StatusLine(run_.progress(), filesDone_, list_.count(), console_.columns()));
}

void BatchRun::finish()
{
    statusTimer_.stop();
    console_.clearStatus();
    const conversion::RunSummary summary = run_.summary();
    const bool complete = summary.notConvertedCount() == 0 && unsearched_.isEmpty();
    if (complete && !run_.wasStopped())
        console_.printOut(SummaryText(summary, unsearched_));
    else
        console_.printError(SummaryText(summary, unsearched_));
    emit ended(interrupted_ ? kInterruptedStatus : complete ? 0 : 1);
}

} // namespace velunor::cli
