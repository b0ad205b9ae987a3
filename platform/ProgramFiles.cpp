#include "platform/ProgramFiles.h"

#include <climits>
#include <unistd.h>

namespace velunor::platform {

Path FileBesideProgram(const char *relative)
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    if (length <= 0 || length == sizeof self)
        return Path::FromBytes(relative);
    const QByteArray program(self, length);
    return Path::FromBytes(program.left(program.lastIndexOf('/') + 1) + relative);
}

} // namespace velunor::platform
