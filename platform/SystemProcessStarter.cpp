#include "platform/SystemProcessStarter.h"

namespace velunor::platform {

Expected<std::unique_ptr<ChildProcess>>
SystemProcessStarter::startProcess(const Path &program, const QByteArrayList &arguments,
                                   const QByteArrayList &environment)
{
    return SpawnProcess(program, arguments, environment);
}

} // namespace velunor::platform
