#include "conversion/Staging.h"

#include "conversion/TemporaryOutput.h"
#include "platform/FileSystem.h"

namespace velunor {

Staging StageConverter()
{
    Staging staging;
    staging.lease = std::make_shared<StagingLease>();
    StagingLease &lease = *staging.lease;
    // Parts of staged files that a killed run left behind.
    if (lease.isLocked())
        RemoveDeadLeftovers(lease.folder());
    const auto &files = ConverterFileSet();
    for (int index = 0; index < int(files.size()); ++index) {
        const ConverterFile &file = files[size_t(index)];
        const Path staged = StagedPath(lease.folder(), file);
        const Expected<QByteArray> buffer = LoadConverterResource(file.resourceId);
        if (!buffer) {
            staging.failures << StepFailure{RunStep::LoadConverterFile, index, buffer.failure()};
            continue;
        }
        // A staged file is used only under the lock and only when it holds
        // exactly what this version carries: a converter left behind by an
        // older version, or damaged, is replaced.
        if (lease.isLocked() && StagedFileMatches(staged, *buffer))
            continue;
        Done written = lease.locked();
        if (lease.isLocked())
            written = FileSystem::HasEntry(staged)
                          ? lease.replace(*buffer, staged, file.executable)
                          : WriteResourceFile(*buffer, staged, file.executable);
        if (!written)
            staging.failures << StepFailure{RunStep::WriteStagedFile, index, written.failure()};
    }
    staging.converter = StagedPath(lease.folder(), ConverterProgram());
    return staging;
}

void ReleaseStaging(StagingLease &lease)
{
    lease.release([&lease] {
        for (const ConverterFile &file : ConverterFileSet())
            DeleteFileQuietly(StagedPath(lease.folder(), file));
    });
}

} // namespace velunor
