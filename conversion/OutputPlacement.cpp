#include "conversion/Finisher.h"

#include "platform/Trash.h"
#include "tags/MpegAudioCopy.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

NameUse Finisher::useOf(const Path &candidate)
{
    if (!c_.plan.input)
        return NameUse::Free;
    if (keptForUser_.contains(candidate))
        return NameUse::UsersFileKept;
    const ListedCheck listed = [this](const platform::FileIdentity &file) -> std::optional<bool> {
        if (!c_.listed)
            return false;
        return c_.listed(file, &control_.cancel);
    };
    return UseOfName(candidate, *c_.plan.input, listed, c_.plan.options.trashInputs);
}

std::optional<FileOutcome> Finisher::chooseTarget(Path &target)
{
    // A name the file system refuses after all (the folder's own rule
    // could not tell) is made acceptable.
    if (FileSystemRefusesName(target)) {
        const Path safe = WindowsSafeStem(c_.plan.outputStem);
        outcome_.nameChanges |= NameChange::RefusedCharacters;
        if (!reclaim(target, safe))
            return fail(Result::NotFinished,
                        FinishWords::tr("no free name for its output could be found"));
    }
    for (;;) {
        const NameUse use = useOf(target);
        if (stopped())
            return fail(Result::Stopped);
        if (use == NameUse::Free)
            return std::nullopt;
        // The name the input gives, on a file of the list: left alone,
        // with the reason, as the plan would have.
        if (use == NameUse::Listed && !outcome_.nameChanges)
            return fail(Result::Skipped, ListedFileReason(target));
        if (!reclaim(target, c_.plan.outputStem))
            return fail(Result::NotFinished,
                        FinishWords::tr("no free name for its output could be found"));
    }
}

bool Finisher::reclaim(Path &target, const Path &stem)
{
    if (!c_.names)
        return false;
    const OutputNames::Claim claimed = c_.names->claimInstead(
        c_.plan.outputFolderKey, target, c_.plan.outputFolder, stem, outcome_.nameChanges,
        [this](const Path &candidate) { return useOf(candidate); });
    if (claimed.path.isEmpty())
        return false;
    target = claimed.path;
    outcome_.nameChanges = claimed.changes;
    return true;
}

bool Finisher::makeRoom(const Path &target)
{
    if (!c_.plan.input || HolderOfName(target, *c_.plan.input) != NameHolder::Unmarked)
        return true;
    if (!marksKept_ && tags::SameMpegAudio(target, c_.temporary->path()))
        return true;
    if (platform::Trash::MoveToTrash(target).isEmpty())
        return false;
    outcome_.trashedPath = target;
    return true;
}

bool Finisher::inputUnchanged() const
{
    const std::optional<InputFacts> now = InputFacts::Of(c_.plan.inputPath);
    const InputFacts &then = *c_.plan.input;
    return now && now->identity == then.identity && now->size == then.size &&
           now->modifiedNs == then.modifiedNs;
}

std::optional<FileOutcome> Finisher::trashInputFirst()
{
    if (!c_.plan.input || !inputUnchanged())
        return fail(Result::NotFinished,
                    FinishWords::tr("the file changed while it was converted, and was left as "
                                    "it is"));
    const Path trashed = platform::Trash::MoveToTrash(c_.plan.inputPath);
    if (trashed.isEmpty())
        return fail(Result::NotFinished,
                    FinishWords::tr("its output takes its name only once it is in the Trash, "
                                    "and no Trash could be had for it; it was left as it is"));
    outcome_.inputTrashedTo = trashed;
    return std::nullopt;
}

void Finisher::trashInput(const Path &target, const std::optional<platform::FileIdentity> &output)
{
    if (!control_.enter())
        return; // given up on: the run tells the file as not finished
    if (!c_.plan.input || !output || platform::FileSystem::IdentityOf(target) != output)
        outcome_.inputKept = FinishWords::tr("its output is no longer where it was put");
    else if (!platform::FileSystem::HasEntry(c_.plan.inputPath))
        outcome_.inputKept = FinishWords::tr("it is no longer there");
    else if (!inputUnchanged())
        outcome_.inputKept = FinishWords::tr("it changed while it was converted");
    else if (const Path trashed = platform::Trash::MoveToTrash(c_.plan.inputPath);
             trashed.isEmpty())
        outcome_.inputKept = FinishWords::tr("no Trash could be had for it");
    else
        outcome_.inputTrashedTo = trashed;
    control_.leave();
}

FileOutcome Finisher::putInPlace()
{
    // The list's files are looked up before the folder is held, so that
    // nobody waits for them while it is.
    if (c_.listed) {
        if (const auto there = platform::FileSystem::IdentityOf(c_.plan.outputPath))
            c_.listed(*there, &control_.cancel);
    }
    if (!control_.enter())
        return fail(Result::Stopped);
    const Path temporaryPath = c_.temporary->path();
    const std::optional<platform::FileIdentity> written =
        platform::FileSystem::IdentityOf(temporaryPath);
    Path target = c_.plan.outputPath;
    outcome_.nameChanges = c_.plan.nameChanges;
    Done moved;
    bool inPlace = false;
    {
        const platform::FileSystem::FolderClaimLock claim(folder_, &control_.cancel);
        for (;;) {
            if (std::optional<FileOutcome> failed = chooseTarget(target)) {
                control_.leave();
                return *failed;
            }
            inPlace = c_.plan.options.trashInputs &&
                      platform::FileSystem::IsSameFile(target, c_.plan.inputPath);
            if (inPlace || makeRoom(target))
                break;
            // The user's file keeps its name; the output takes the next.
            keptForUser_.insert(target);
        }
        if (inPlace) {
            if (std::optional<FileOutcome> failed = trashInputFirst()) {
                control_.leave();
                return *failed;
            }
        }
        // The file at the name, for the album's values written later.
        struct stat placed {};
        if (albumTrack_ && ::fstat(c_.temporary->descriptor(), &placed) == 0)
            albumTrack_->identity = {placed.st_dev, placed.st_ino};
        moved = c_.temporary->moveTo(target);
        // The input takes its name back; where it cannot, the message
        // says where in the Trash it is.
        if (!moved && inPlace &&
            platform::Trash::PutBack(outcome_.inputTrashedTo, c_.plan.inputPath))
            outcome_.inputTrashedTo = Path();
    }
    if (moved)
        control_.release(temporaryPath);
    control_.leave();
    if (!moved)
        return cannotWrite(moved.failure().code);
    platform::FileSystem::SyncFolder(folder_);
    outcome_.result = Result::Converted;
    outcome_.outputPath = target;
    if (c_.plan.options.trashInputs && !inPlace) {
        if (inputKeptForRemedy_)
            outcome_.inputKept = FinishWords::tr("the warning's remedy needs it");
        else
            trashInput(target, written);
    }
    if (albumTrack_) {
        albumTrack_->output = target;
        outcome_.albumTrack = std::move(albumTrack_);
    }
    return outcome_;
}

} // namespace velunor::conversion
