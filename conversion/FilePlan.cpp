#include "conversion/FilePlan.h"

#include "conversion/OutputSubfolder.h"

#include <QCoreApplication>

#include <cstdlib>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(FilePlan)
};

} // namespace

Path OutputPathFor(const Path &outputFolder, const Path &inputPath)
{
    return outputFolder.child(inputPath.stem().withSuffix(".mp3"));
}

QString ListedFileReason(const Path &outputPath)
{
    return Words::tr("skipped, the output would replace the listed file %1").arg(outputPath.text());
}

bool IsListedFile(const Path &path, const ListedCheck &isListed)
{
    const std::optional<platform::FileIdentity> existing = platform::FileSystem::IdentityOf(path);
    return existing && isListed && isListed(*existing).value_or(false);
}

NameUse UseOfName(const Path &candidate, const InputFacts &input, const ListedCheck &isListed,
                  bool inputLeaves)
{
    if (const std::optional<platform::FileIdentity> there =
            platform::FileSystem::IdentityOf(candidate)) {
        if (*there == input.identity)
            return inputLeaves ? NameUse::Free : NameUse::Listed;
        // Until the list's files are looked up, the completion of the output
        // asks again before it takes the name.
        if (isListed && isListed(*there).value_or(false))
            return NameUse::Listed;
    }
    switch (HolderOfName(candidate, input)) {
    case NameHolder::AnotherInput:
    case NameHolder::NotAFile:
        return NameUse::HeldByAnotherInput;
    case NameHolder::Nothing:
    case NameHolder::ThisInput:
    case NameHolder::Unmarked:
        break;
    }
    return NameUse::Free;
}

namespace {

// Whether the output `plan` names is there already, made from the input as
// it is now. An output that took its input's place is itself the input now:
// it is up to date while it is as it was made.
bool IsUpToDate(const FilePlan &plan)
{
    const std::optional<OutputMark> mark = ReadOutputMark(plan.outputPath);
    if (!mark || !plan.input)
        return false;
    return plan.replacesInput
               ? mark->isOutputInPlace(*plan.input)
               : mark->isUpToDateWith(*plan.input, MadeHow(plan.mode, plan.quality, false));
}

} // namespace

FilePlan PlanFile(const FileTurn &turn, OutputNames &names)
{
    FilePlan plan;
    plan.item = turn.item;
    plan.inputPath = turn.inputPath;
    plan.outputFolder = turn.outputFolder;
    plan.options = turn.options;
    auto skip = [&plan](const QString &reason) {
        plan.skipReason = reason;
        return plan;
    };

    if (const Done readable = platform::FileSystem::CheckInputFile(turn.inputPath); !readable)
        return skip(readable.failure().words);
    plan.input = InputFacts::Of(turn.inputPath);
    if (!plan.input)
        return skip(Words::tr("the file does not exist"));
    // The converter would say only that it cannot open the file.
    if (plan.input->size == 0)
        return skip(Words::tr("the file is empty"));
    if (!platform::Main::FolderExists(turn.outputFolder))
        return skip(Words::tr("the output folder %1 does not exist").arg(turn.outputFolder.text()));
    bool folderRenamed = false;
    if (!turn.outputSubfolder.isEmpty()) {
        const Expected<Path> made =
            MakeSubfolder(turn.outputFolder, turn.outputSubfolder, turn.refusesWindowsNames,
                          folderRenamed, plan.madeFolders);
        if (!made)
            return skip(made.failure().words);
        plan.outputFolder = *made;
    }
    const Path real = platform::FileSystem::RealPathOf(plan.outputFolder);
    plan.outputFolderKey = real.isEmpty() ? plan.outputFolder : real;
    plan.outputStem = turn.inputPath.stem();
    // Only a name Windows would refuse makes the folder's file system worth
    // asking: the question makes and removes a file there.
    if (const Path safe = WindowsSafeStem(plan.outputStem);
        safe != plan.outputStem && turn.refusesWindowsNames &&
        turn.refusesWindowsNames(plan.outputFolderKey)) {
        plan.outputStem = safe;
        plan.nameChanges |= NameChange::RefusedCharacters;
    }
    // The name the input gives is the user's choice: when it is the input or
    // another listed file, the file is left alone, with the reason. A name
    // the program made up instead goes on to the next number. The input's
    // own name is taken when the input goes to the Trash.
    const bool inputLeaves = turn.options.trashInputs;
    if (!plan.nameChanges) {
        const Path wanted = OutputPathFor(plan.outputFolder, turn.inputPath);
        if (platform::FileSystem::IsSameFile(turn.inputPath, wanted)) {
            if (!inputLeaves)
                return skip(Words::tr("skipped, the output would replace this very file"));
        } else if (IsListedFile(wanted, turn.isListedInput)) {
            return skip(ListedFileReason(wanted));
        }
    }
    if (!turn.mode)
        return skip(Words::tr("no channel mode is selected"));
    plan.mode = *turn.mode;
    plan.quality = turn.quality;

    const InputFacts &input = *plan.input;
    const OutputNames::Claim claimed =
        names.claim(plan.outputFolderKey, plan.outputFolder, plan.outputStem, plan.nameChanges,
                    [&](const Path &candidate) {
                        return UseOfName(candidate, input, turn.isListedInput, inputLeaves);
                    });
    if (claimed.path.isEmpty())
        return skip(Words::tr("no free name for its output could be found"));
    plan.outputPath = claimed.path;
    plan.nameChanges = claimed.changes;
    if (folderRenamed)
        plan.nameChanges |= NameChange::RefusedCharacters;
    plan.replacesInput =
        inputLeaves && platform::FileSystem::IsSameFile(turn.inputPath, plan.outputPath);
    plan.upToDate = turn.options.skipUpToDate && IsUpToDate(plan);
    return plan;
}

} // namespace velunor::conversion
