#pragma once

#include "conversion/CommandLine.h"
#include "platform/FileSystem.h"

#include <QString>

#include <functional>
#include <optional>

namespace velunor {

// Where the converted copy of `inputPath` goes: the output folder, a "/"
// when the folder text does not end with one, the input's name without its
// last extension (a name without a dot is kept whole), and ".mp3".
QString OutputPathFor(const QString &outputFolder, const QString &inputPath);

// What a file's turn is decided from, all read at that turn.
struct FileTurn {
    QString inputPath;
    QString outputFolder;
    std::optional<ChannelMode> mode; // none when no mode is selected
    // Why the staged converter must not be run, or "".
    QString converterProblem;
    // True when a file of the list as it is now is that file.
    std::function<bool(const FileIdentity &)> isListedInput;
};

// What the run does with one file: either a reason not to convert it, or
// where the output goes and the converter's arguments.
struct FilePlan {
    QString inputPath;
    QString skipReason; // not empty: the file is not converted, for this reason
    QString outputPath; // the final name
    // The same place however its folder is written, so that two files that
    // would write it can be told.
    QString outputKey;
    // The converter writes here, a hidden name of the program's own in the
    // output folder, reserved for this file; the output gets its final name
    // only once it is known to be good.
    QString temporaryPath;
    ArgumentString arguments; // with temporaryPath as the output

    bool isSkipped() const { return !skipReason.isEmpty(); }
};

// Decides a file's plan. Every check comes before anything is written, so a
// file that is not converted costs the user nothing: the input must be a
// regular file, the output folder must exist, the output must be neither the
// input itself nor any file of the list as it is now, a channel mode must be
// chosen and the converter must be safe to run. Then the temporary output is
// reserved (created empty, never replacing anything).
FilePlan PlanFile(const FileTurn &turn);

// Removes a reserved temporary output that no converter will write.
void ReleaseTemporaryOutput(const FilePlan &plan);

} // namespace velunor
