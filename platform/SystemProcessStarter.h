#pragma once

#include "platform/Processes.h"

namespace velunor::platform {

// Starts real processes through SpawnProcess: the process starter of a front
// end that has no desktop to ask (the command line) and of the core's tests.
class SystemProcessStarter : public ProcessStarter {
public:
    Expected<std::unique_ptr<ChildProcess>>
    startProcess(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment) override;
};

} // namespace velunor::platform
