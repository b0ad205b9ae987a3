#include "conversion/Shell32.h"

#include <unistd.h>

namespace velunor::conversion::Shell32 {

QByteArrayList ConverterEnvironment(const Path &stagingFolder)
{
    // Taken as the bytes they are: a folder in LD_LIBRARY_PATH need not be
    // UTF-8 any more than a file's name.
    QByteArrayList environment;
    QByteArray inherited;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const QByteArray variable(*entry);
        if (variable.startsWith("SOX_OPTS="))
            continue;
        if (variable.startsWith("LD_LIBRARY_PATH=")) {
            inherited = variable.mid(int(sizeof("LD_LIBRARY_PATH=")) - 1);
            continue;
        }
        environment << variable;
    }
    // An empty entry in the search path would stand for the current folder.
    QByteArray searchPath = stagingFolder.bytes();
    if (!inherited.isEmpty())
        searchPath = searchPath.isEmpty() ? inherited : searchPath + ':' + inherited;
    if (!searchPath.isEmpty())
        environment << "LD_LIBRARY_PATH=" + searchPath;
    return environment;
}

} // namespace velunor::conversion::Shell32
