#pragma once

#include "conversion/FilePlan.h"
#include "platform/BackgroundWork.h"

#include <functional>
#include <memory>

namespace velunor::conversion {

// Decides the plans of a run's files on a worker of its own, one after
// another in the order asked, so that the outputs claim their names in list
// order, and answers through the run's mailbox. Planning looks at the disk
// (the input, the output folder, the names there), which a window must never
// wait for.
class FilePlanner {
public:
    using Decide = std::function<FilePlan(const FileTurn &turn)>;
    using Answer = std::function<void(const FilePlan &plan)>;

    FilePlanner(Decide decide, std::shared_ptr<platform::ResultMailbox> mailbox);

    void plan(FileTurn turn, Answer answer);
    // Drops what waits.
    void stop() { work_.stop(); }

    // Plans as the program does: PlanFile with the run's names, asking each
    // output folder once whether its file system refuses Windows' names.
    static Decide PlanWithNames(std::shared_ptr<OutputNames> names);

private:
    Decide decide_;
    std::shared_ptr<platform::ResultMailbox> mailbox_;
    platform::SerialWork work_;
};

} // namespace velunor::conversion
