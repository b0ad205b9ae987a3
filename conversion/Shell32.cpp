#include "conversion/Shell32.h"

#include "platform/ProgramFiles.h"

#include <unistd.h>

namespace velunor::conversion::Shell32 {

namespace {

// The module's path, or nothing when it cannot be preloaded: LD_PRELOAD
// splits its list at spaces and colons, and a relative path would be looked
// up from SoX's working folder.
const QByteArray &FormatFilterModule()
{
    static const QByteArray module = [] {
        const Path path = platform::FileBesideProgram(VELUNOR_SOX_FORMATS_MODULE);
        const QByteArray bytes = path.bytes();
        for (const char separator : {' ', ':', '\t', '\n'})
            if (bytes.contains(separator))
                return QByteArray();
        return bytes.startsWith('/') && ::access(path.c_str(), R_OK) == 0 ? bytes : QByteArray();
    }();
    return module;
}

} // namespace

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

QByteArrayList Mp3ConverterEnvironment(const QByteArrayList &environment)
{
    const QByteArray &module = FormatFilterModule();
    if (module.isEmpty())
        return environment;
    QByteArrayList mp3;
    mp3.reserve(environment.size() + 2);
    QByteArray preload = module;
    for (const QByteArray &variable : environment) {
        // A module the user preloads stays, first.
        if (variable.startsWith("LD_PRELOAD=")) {
            const QByteArray inherited = variable.mid(int(sizeof("LD_PRELOAD=")) - 1);
            if (!inherited.isEmpty())
                preload = inherited + ' ' + module;
            continue;
        }
        if (!variable.startsWith("VELUNOR_SOX_FORMATS="))
            mp3 << variable;
    }
    mp3 << "LD_PRELOAD=" + preload << QByteArray("VELUNOR_SOX_FORMATS=mp3");
    return mp3;
}

} // namespace velunor::conversion::Shell32
