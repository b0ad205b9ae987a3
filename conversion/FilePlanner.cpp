#include "conversion/FilePlanner.h"

#include <QHash>

namespace velunor::conversion {

FilePlanner::FilePlanner(Decide decide, std::shared_ptr<platform::ResultMailbox> mailbox)
    : decide_(std::move(decide)), mailbox_(std::move(mailbox))
{
}

void FilePlanner::plan(FileTurn turn, Answer answer)
{
    work_.post(
        [turn = std::move(turn), answer = std::move(answer), decide = decide_, mailbox = mailbox_] {
            const FilePlan plan = decide(turn);
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

} // namespace velunor::conversion
