#pragma once

#include "conversion/FilePlan.h"
#include "platform/BackgroundWork.h"

#include <atomic>
#include <functional>
#include <memory>

namespace velunor {

// Decides the plans of a run's files on a worker of its own, one after
// another in the order asked, so that the outputs claim their names in list
// order, and answers through the run's mailbox. Planning looks at the disk
// (the input, the output folder, the names there), which a window must never
// wait for. The frames of each input to be converted are walked there too:
// what they say (mono, dual channel, bit rate, length) decides how the file
// is converted, before it starts.
class FilePlanner {
public:
    using Decide = std::function<FilePlan(const FileTurn &turn)>;
    using Answer = std::function<void(const FilePlan &plan)>;

    FilePlanner(Decide decide, std::shared_ptr<ResultMailbox> mailbox);

    void plan(FileTurn turn, Answer answer);
    ~FilePlanner();
    // Gives up the walk at work and drops what waits.
    void stop();

    // Plans as the program does: PlanFile with the run's names, asking each
    // output folder once whether its file system refuses Windows' names.
    static Decide PlanWithNames(std::shared_ptr<OutputNames> names);

private:
    Decide decide_;
    std::shared_ptr<ResultMailbox> mailbox_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    SerialWork work_;
};

} // namespace velunor
