#pragma once

#include "conversion/CommandLine.h"
#include "conversion/OutputMark.h"
#include "conversion/OutputNames.h"
#include "conversion/OutputQuality.h"
#include "conversion/RunOptions.h"
#include "filelist/FileListModel.h"
#include "platform/FileSystem.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace velunor::conversion {

// Where the converted copy of `inputPath` goes when no other output has that
// name: the output folder, a "/" when the folder does not end with one, the
// input's name without its last extension (a name without a dot is kept
// whole), and ".mp3".
Path OutputPathFor(const Path &outputFolder, const Path &inputPath);

// Whether a file of the list as it is now is `file`; none while the list's
// files are being looked up.
using ListedCheck = std::function<std::optional<bool>(const platform::FileIdentity &file)>;

// What a file's turn is decided from, all read at that turn.
struct FileTurn {
    filelist::ItemId item = 0;
    Path inputPath;
    Path outputFolder;
    // The folder below the output folder that the output goes to (folder
    // names, each followed by "/"), made as needed; empty for the output
    // folder itself.
    Path outputSubfolder;
    std::optional<ChannelMode> mode; // none when no mode is selected
    // How the output is encoded; none: as the encoder does by default.
    std::optional<OutputQuality> quality;
    RunOptions options;
    ListedCheck isListedInput;
    // Whether the file system of the output folder (named by its real path)
    // refuses the names Windows refuses; asked once per folder and run.
    std::function<bool(const Path &folderKey)> refusesWindowsNames;
};

// The one rule for an output and the list: it never replaces a file the list
// holds. True when the file at `path` is one of the list's, as far as
// `isListed` can tell now.
bool IsListedFile(const Path &path, const ListedCheck &isListed);
// Why an output is not made when the name its input gives is a listed file.
QString ListedFileReason(const Path &outputPath);

// What the disk says of the name `candidate` for an output of `input`: the
// input itself and the list's files are never replaced, a file made from
// another input keeps its name; anything else may be replaced. With
// `inputLeaves` the input's own name is free: the input goes to the Trash
// before its output takes the name.
NameUse UseOfName(const Path &candidate, const InputFacts &input, const ListedCheck &isListed,
                  bool inputLeaves = false);

// What the run does with one file: either a reason not to convert it, or
// where the output goes and how the channels are made one.
struct FilePlan {
    filelist::ItemId item = 0;
    Path inputPath;
    QString skipReason; // not empty: the file is not converted, for this reason
    // Where the output goes: the output folder as the user wrote it, or the
    // subfolder made below it.
    Path outputFolder;
    // The folders of outputFolder that planning made, outermost first.
    std::vector<Path> madeFolders;
    Path outputPath; // the final name, claimed for this run
    // The output folder however it is written, for the names' comparison.
    Path outputFolderKey;
    // The stem the output's names are made of, and why it and the name
    // differ from the input's own.
    Path outputStem;
    NameChanges nameChanges;
    ChannelMode mode = ChannelMode::Mix;
    std::optional<OutputQuality> quality;
    RunOptions options;
    std::optional<InputFacts> input;
    // The output takes the input's own name once the input is in the Trash.
    bool replacesInput = false;
    // The output is there already, made from the input as it is now: the
    // file is not converted again.
    bool upToDate = false;
    // What the input's MPEG frames say, once walked; none for an input that
    // holds no MPEG audio (WAV, FLAC, ...).
    std::optional<tags::MpegAudioLength> audio;

    bool isSkipped() const { return !skipReason.isEmpty(); }
};

// Decides a file's plan. Every check comes before anything is written, so a
// file that is not converted costs the user nothing: the input must be a
// regular file, the output folder must exist, the output must be neither the
// input itself nor any file of the list as it is now, and a channel mode must
// be chosen. Then the output's name is claimed in `names`, past the names
// that outputs of other inputs hold on the disk. A subfolder the turn names is
// made first. With the options to, an output may take its input's own name,
// and an output that is up to date is noted as such.
FilePlan PlanFile(const FileTurn &turn, OutputNames &names);

} // namespace velunor::conversion
