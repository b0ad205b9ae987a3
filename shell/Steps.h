#pragma once

#include <exception>
#include <functional>

namespace velunor {

// Runs the numbered steps of a piece of work that a front end started. What
// a failing step costs is the front end's to decide: the window shows its
// error report naming the step, the command line prints the failure. Either
// way the work goes on with its next step.
class StepRunner {
public:
    virtual ~StepRunner() = default;
    // Runs one step. Returns false when it failed (and was told).
    bool step(int number, const std::function<void()> &action);
    // A branch test. A test that fails is told and counts as passed, so the
    // branch it guards runs.
    bool test(int number, const std::function<bool()> &condition);

protected:
    // Tells the failure of step `number`.
    virtual void report(const std::exception_ptr &failure, int number) = 0;
};

} // namespace velunor
