#include "platform/SystemProcessStarter.h"

namespace velunor {

std::unique_ptr<ChildProcess> SystemProcessStarter::startProcess(const Path &program,
                                                                 const QByteArrayList &arguments,
                                                                 const QByteArrayList &environment,
                                                                 int &error)
{
    return SpawnProcess(program, arguments, environment, error);
}

} // namespace velunor
