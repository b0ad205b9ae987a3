#pragma once

#include "conversion/ConverterFiles.h"
#include "conversion/RunStep.h"

#include <QList>

#include <memory>

namespace velunor {

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
// the staged files. Blocks: for a worker, or for the program's exit.
void ReleaseStaging(StagingLease &lease);

} // namespace velunor
