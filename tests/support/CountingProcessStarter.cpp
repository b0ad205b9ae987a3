#include "CountingProcessStarter.h"

#include <algorithm>

namespace velunor::testing {

std::unique_ptr<ChildProcess>
CountingProcessStarter::startProcess(const Path &program, const QByteArrayList &arguments,
                                     const QByteArrayList &environment, int &error)
{
    ++processesStarted;
    std::unique_ptr<ChildProcess> process =
        SystemProcessStarter::startProcess(program, arguments, environment, error);
    if (process) {
        mostAtOnce = std::max(mostAtOnce, ++runningNow);
        QObject::connect(process.get(), &ChildProcess::ended, [this] { --runningNow; });
    }
    return process;
}

} // namespace velunor::testing
