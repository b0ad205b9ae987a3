#include "shell/Steps.h"

namespace velunor {

bool StepRunner::step(int number, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (...) {
        report(std::current_exception(), number);
        return false;
    }
}

bool StepRunner::test(int number, const std::function<bool()> &condition)
{
    try {
        return condition();
    } catch (...) {
        report(std::current_exception(), number);
        return true;
    }
}

} // namespace velunor
