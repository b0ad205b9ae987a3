#pragma once

#include "platform/SystemProcessStarter.h"

namespace velunor::testing {

// Starts real processes, as the program does, and counts them.
class CountingProcessStarter : public platform::SystemProcessStarter {
public:
    int processesStarted = 0;
    int runningNow = 0; // started and not yet seen to end
    int mostAtOnce = 0;

    Expected<std::unique_ptr<platform::ChildProcess>>
    startProcess(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment) override;
};

} // namespace velunor::testing
