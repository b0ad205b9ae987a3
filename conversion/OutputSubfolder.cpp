#include "conversion/OutputSubfolder.h"

#include "conversion/OutputNames.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(OutputSubfolder)
};

} // namespace

Expected<Path> MakeSubfolder(const Path &folder, const Path &relative,
                             const std::function<bool(const Path &folderKey)> &refusesWindowsNames,
                             bool &renamed, std::vector<Path> &made)
{
    Path current = folder.withSeparator();
    for (const QByteArray &part : relative.bytes().split('/')) {
        if (part.isEmpty())
            continue;
        Path name = Path::FromBytes(part);
        // Only a name Windows would refuse makes the folder's file system
        // worth asking.
        if (const Path safe = WindowsSafeStem(name); safe != name && refusesWindowsNames) {
            const Path real = platform::FileSystem::RealPathOf(current);
            if (refusesWindowsNames(real.isEmpty() ? current : real)) {
                name = safe;
                renamed = true;
            }
        }
        const Path next = current.child(name).withSeparator();
        if (!platform::Main::FolderExists(next)) {
            const bool madeNow = ::mkdir(next.c_str(), 0777) == 0;
            if (madeNow)
                made.push_back(next);
            else if (errno != EEXIST) {
                const int error = errno;
                return Failure{error,
                               Words::tr("the output folder %1 could not be made (%2)")
                                   .arg(next.text(), platform::FileSystem::SystemMessage(error))};
            }
            if (!platform::Main::FolderExists(next))
                return Failure::Because(
                    Words::tr("the output folder %1 could not be made (a file of that name "
                              "is in the way)")
                        .arg(next.text()));
        }
        current = next;
    }
    return current;
}

void RemoveEmptyMadeFolders(std::vector<Path> made)
{
    // A deeper folder is longer than the folders it lies in.
    std::sort(made.begin(), made.end(), [](const Path &one, const Path &other) {
        return one.bytes().size() > other.bytes().size();
    });
    for (const Path &folder : made)
        ::rmdir(folder.c_str()); // fails, as it should, where anything is inside
}

} // namespace velunor::conversion
