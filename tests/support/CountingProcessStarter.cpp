#include "CountingProcessStarter.h"

#include <algorithm>

namespace velunor::testing {

Expected<std::unique_ptr<platform::ChildProcess>>
CountingProcessStarter::startProcess(const Path &program, const QByteArrayList &arguments,
                                     const QByteArrayList &environment)
{
    ++processesStarted;
    Expected<std::unique_ptr<platform::ChildProcess>> process =
        platform::SystemProcessStarter::startProcess(program, arguments, environment);
    if (process) {
        mostAtOnce = std::max(mostAtOnce, ++runningNow);
        QObject::connect(process->get(), &platform::ChildProcess::ended, [this] { --runningNow; });
    }
    return process;
}

} // namespace velunor::testing
