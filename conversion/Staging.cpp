#include "conversion/Staging.h"

#include "conversion/TemporaryOutput.h"
#include "platform/BackgroundWork.h"
#include "platform/FileSystem.h"

namespace velunor::conversion {

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
            written = platform::FileSystem::HasEntry(staged)
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

std::shared_ptr<StagingAhead> StagingAhead::Begin()
{
    auto ahead = std::make_shared<StagingAhead>();
    platform::RunDetached([ahead] { ahead->finish(StageConverter()); });
    return ahead;
}

void StagingAhead::finish(const Staging &staging)
{
    std::vector<std::function<void(const Staging &)>> waiting;
    {
        const std::lock_guard lock(mutex_);
        staging_ = staging;
        waiting.swap(waiting_);
    }
    done_.notify_all();
    for (const auto &staged : waiting)
        staged(staging);
}

void StagingAhead::whenStaged(std::function<void(const Staging &)> staged)
{
    std::unique_lock lock(mutex_);
    if (!staging_) {
        waiting_.push_back(std::move(staged));
        return;
    }
    const Staging staging = *staging_;
    lock.unlock();
    staged(staging);
}

void StagingAhead::release()
{
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return staging_.has_value(); });
    const std::shared_ptr<StagingLease> lease = staging_->lease;
    lock.unlock();
    if (lease)
        ReleaseStaging(*lease);
}

} // namespace velunor::conversion
