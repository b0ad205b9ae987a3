#pragma once

#include "conversion/ConverterFiles.h"
#include "conversion/RunStep.h"

#include <QList>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace velunor::conversion {

// What staging the converter for a run left: the run's share of the staging
// folder, where the staged converter is, and the steps that failed. The run
// goes on after a failed step, as a front end's steps do.
struct Staging {
    std::shared_ptr<StagingLease> lease;
    Path converter; // empty when it could not be formed
    QList<StepFailure> failures;
};

// Takes the run's share of the staging folder, clears away the parts a
// killed run left there, and stages each converter file that is not there
// already as this version carries it: load its bytes, look whether it is
// staged, write it when it is not. Blocks (a lock may be waited for): for a
// worker.
Staging StageConverter();

// Ends the run's share of the staging folder; the run that ends last removes
// the staged files. Only the first call does anything. Blocks: for a worker,
// or for the program's exit.
void ReleaseStaging(StagingLease &lease);

// The converter staged on a worker ahead of a run: a front end that knows
// early that a run will follow (the command line, once its options are read)
// begins it as soon as it knows, and the staging goes on beside the rest of
// its own start.
class StagingAhead {
public:
    // Begins StageConverter() on a worker.
    static std::shared_ptr<StagingAhead> Begin();

    // Calls `staged` with what the staging left, on the worker that staged,
    // or at once when it is done already.
    void whenStaged(std::function<void(const Staging &)> staged);
    // Waits for the staging to end and lets go of its share of the staging
    // folder, unless the run that took it did so already. Blocks: for the
    // program's exit.
    void release();

private:
    void finish(const Staging &staging);

    std::mutex mutex_;
    std::condition_variable done_;
    std::optional<Staging> staging_;
    std::vector<std::function<void(const Staging &)>> waiting_;
};

} // namespace velunor::conversion
