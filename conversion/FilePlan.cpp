#include "conversion/FilePlan.h"

#include "shell/Main.h"

#include <QDir>

namespace velunor {

QString OutputPathFor(const QString &outputFolder, const QString &inputPath)
{
    return Main::FolderWithSeparator(outputFolder) +
           Main::StripExtension(Main::FileNameOf(inputPath)) + QStringLiteral(".mp3");
}

std::optional<QString>
ReplacesListedFile(const QString &outputPath,
                   const std::function<std::optional<bool>(const FileIdentity &)> &isListed)
{
    const std::optional<FileIdentity> existing = FileSystem::IdentityOf(outputPath);
    if (!existing)
        return QString();
    const std::optional<bool> listed = isListed(*existing);
    if (!listed)
        return std::nullopt;
    return *listed ? QStringLiteral("skipped, the output would replace the listed file %1")
                         .arg(outputPath)
                   : QString();
}

FilePlan PlanFile(const FileTurn &turn, OutputNames &names)
{
    FilePlan plan;
    plan.item = turn.item;
    plan.inputPath = turn.inputPath;
    plan.outputFolder = turn.outputFolder;
    auto skip = [&plan](const QString &reason) {
        plan.skipReason = reason;
        return plan;
    };

    if (const QString problem = FileSystem::InputFileProblem(turn.inputPath); !problem.isEmpty())
        return skip(problem);
    plan.input = FileSystem::IdentityOf(turn.inputPath);
    if (!Main::FolderExists(turn.outputFolder))
        return skip(QStringLiteral("the output folder %1 does not exist").arg(turn.outputFolder));
    const QString wanted = OutputPathFor(turn.outputFolder, turn.inputPath);
    if (FileSystem::IsSameFile(turn.inputPath, wanted))
        return skip(QStringLiteral("skipped, the output would replace this very file"));
    // Until the list's files are looked up, the completion of the output asks
    // again before it takes the name.
    if (turn.isListedInput) {
        if (const auto problem = ReplacesListedFile(wanted, turn.isListedInput);
            problem && !problem->isEmpty())
            return skip(*problem);
    }
    if (!turn.mode)
        return skip(QStringLiteral("no channel mode is selected"));
    plan.mode = *turn.mode;

    const QString canonical = QDir(turn.outputFolder).canonicalPath();
    plan.outputFolderKey = canonical.isEmpty() ? turn.outputFolder : canonical;
    const OutputNames::Claim claimed =
        names.claim(plan.outputFolderKey, turn.outputFolder, turn.inputPath);
    plan.outputPath = claimed.path;
    plan.nameChange = claimed.change;
    return plan;
}

} // namespace velunor
