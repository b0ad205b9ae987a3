#pragma once

#include "conversion/CommandLine.h"
#include "conversion/OutputNames.h"
#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"

#include <QString>

#include <functional>
#include <optional>

namespace velunor {

// Where the converted copy of `inputPath` goes when no other output of the
// run has that name: the output folder, a "/" when the folder text does not
// end with one, the input's name without its last extension (a name without
// a dot is kept whole), and ".mp3".
QString OutputPathFor(const QString &outputFolder, const QString &inputPath);

// What a file's turn is decided from, all read at that turn.
struct FileTurn {
    ItemId item = 0;
    QString inputPath;
    QString outputFolder;
    std::optional<ChannelMode> mode; // none when no mode is selected
    // Whether a file of the list as it is now is that file; none while the
    // list's files are being looked up.
    std::function<std::optional<bool>(const FileIdentity &)> isListedInput;
};

// The one rule for an output and the list: it never replaces a file the list
// holds. The reason in words when the file at `outputPath` is one of the
// list's ("" when it may take the name); none when `isListed` cannot tell.
std::optional<QString>
ReplacesListedFile(const QString &outputPath,
                   const std::function<std::optional<bool>(const FileIdentity &)> &isListed);

// What the run does with one file: either a reason not to convert it, or
// where the output goes and how the channels are made one.
struct FilePlan {
    ItemId item = 0;
    QString inputPath;
    QString skipReason;   // not empty: the file is not converted, for this reason
    QString outputFolder; // as the user wrote it
    QString outputPath;   // the final name, claimed for this run
    // The output folder however it is written, for the names' comparison.
    QString outputFolderKey;
    NameChange nameChange = NameChange::None;
    ChannelMode mode = ChannelMode::Mix;
    std::optional<FileIdentity> input;

    bool isSkipped() const { return !skipReason.isEmpty(); }
};

// Decides a file's plan. Every check comes before anything is written, so a
// file that is not converted costs the user nothing: the input must be a
// regular file, the output folder must exist, the output must be neither the
// input itself nor any file of the list as it is now, and a channel mode must
// be chosen. Then the output's name is claimed in `names`.
FilePlan PlanFile(const FileTurn &turn, OutputNames &names);

} // namespace velunor
