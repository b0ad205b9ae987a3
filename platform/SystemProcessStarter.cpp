#include "platform/SystemProcessStarter.h"

namespace velunor {

std::unique_ptr<ChildProcess> SystemProcessStarter::startProcess(const QString &program,
                                                                 const QStringList &arguments,
                                                                 const QStringList &environment,
                                                                 int &error)
{
    return SpawnProcess(program, arguments, environment, error);
}

} // namespace velunor
