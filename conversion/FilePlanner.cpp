#include "conversion/FilePlanner.h"

#include <QHash>

namespace velunor {

FilePlanner::FilePlanner(Decide decide, std::shared_ptr<ResultMailbox> mailbox)
    : decide_(std::move(decide)), mailbox_(std::move(mailbox))
{
}

FilePlanner::~FilePlanner()
{
    stop();
}

void FilePlanner::stop()
{
    *cancel_ = true;
    work_.stop();
}

void FilePlanner::plan(FileTurn turn, Answer answer)
{
    work_.post([turn = std::move(turn), answer = std::move(answer), decide = decide_,
                mailbox = mailbox_, cancel = cancel_] {
        FilePlan plan = decide(turn);
        if (!plan.isSkipped())
            plan.audio = MeasureMpegAudio(plan.inputPath, cancel.get());
        mailbox->post([answer, plan] { answer(plan); });
    });
}

FilePlanner::Decide FilePlanner::PlanWithNames(std::shared_ptr<OutputNames> names)
{
    // Asked on the planner's worker alone, one plan after another.
    auto windowsNames = std::make_shared<QHash<Path, bool>>();
    return [names, windowsNames](const FileTurn &given) {
        FileTurn turn = given;
        turn.refusesWindowsNames = [windowsNames](const Path &folderKey) {
            const auto known = windowsNames->constFind(folderKey);
            if (known != windowsNames->constEnd())
                return *known;
            const bool refuses = FolderRefusesWindowsNames(folderKey);
            windowsNames->insert(folderKey, refuses);
            return refuses;
        };
        return PlanFile(turn, *names);
    };
}

} // namespace velunor
