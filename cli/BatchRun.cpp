#include "cli/BatchRun.h"

#include "cli/Console.h"
#include "cli/StatusLine.h"

#include <QCoreApplication>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchRun)
};

} // namespace

QString SummaryText(const RunSummary &summary, const QStringList &unsearched)
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

BatchRun::BatchRun(FileListModel &list, const BatchChoices &choices, Console &console)
    : list_(list), console_(console), choices_(choices),
      run_(processes_, list, *this, choices.conversionsAtOnce)
{
    statusTimer_.setInterval(kStatusMilliseconds);
    connect(&statusTimer_, &QTimer::timeout, this, [this] { showStatus(); });
    connect(&run_, &ListRun::fileFinished, this,
            [this](const FileOutcome &outcome) { tellFile(outcome); });
    connect(&run_, &ListRun::finished, this, [this] { finish(); });
}

BatchRun::~BatchRun() = default;

void BatchRun::start()
{
    if (console_.showsStatus()) {
        showStatus();
        statusTimer_.start();
    }
    run_.start();
    // A signal that came before the run could stop: it stops now.
    if (interrupted_ && run_.canStop())
        run_.stop();
}

void BatchRun::interrupt()
{
    interrupted_ = true;
    run_.stop();
}

void BatchRun::stepFailed(const StepFailure &failure)
{
    console_.printError(Words::tr("velunor: %1 failed: %2")
                            .arg(DescribeStep(failure.step, failure.index), failure.failure.words));
}

void BatchRun::tellFile(const FileOutcome &outcome)
{
    ++filesDone_;
    // On a terminal the status line counts the files; the summary names
    // those that were not converted.
    if (console_.showsStatus())
        return;
    const QString input = outcome.inputPath.text();
    const QString output = outcome.outputPath.text();
    if (outcome.upToDate())
        console_.printOut(Words::tr("up to date: %1 -> %2").arg(input, output));
    else if (outcome.converted() && !outcome.inputTrashedTo.isEmpty())
        console_.printOut(
            Words::tr("converted: %1 -> %2 (input moved to the Trash)").arg(input, output));
    else if (outcome.converted() && !outcome.inputKept.isEmpty())
        console_.printOut(Words::tr("converted: %1 -> %2 (input kept: %3)")
                              .arg(input, output, outcome.inputKept));
    else if (outcome.converted())
        console_.printOut(Words::tr("converted: %1 -> %2").arg(input, output));
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
    const RunSummary summary = run_.summary();
    const bool complete = summary.notConvertedCount() == 0 && unsearched_.isEmpty();
    if (complete && !run_.wasStopped())
        console_.printOut(SummaryText(summary, unsearched_));
    else
        console_.printError(SummaryText(summary, unsearched_));
    emit ended(interrupted_ ? kInterruptedStatus : complete ? 0 : 1);
}

} // namespace velunor::cli
