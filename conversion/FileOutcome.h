#pragma once

#include "conversion/OutputNames.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace velunor::conversion {

// A number that tells more of how a file ended, and which kind of number it
// is.
struct OutcomeNumber {
    enum class Kind { None, SystemError, ExitStatus, Signal };
    Kind kind = Kind::None;
    int value = 0;

    static OutcomeNumber SystemError(int error) { return {Kind::SystemError, error}; }
    static OutcomeNumber ExitStatus(int status) { return {Kind::ExitStatus, status}; }
    static OutcomeNumber Signal(int signal) { return {Kind::Signal, signal}; }
};

struct AlbumTrack;

// How one file of a run ended.
struct FileOutcome {
    enum class Result {
        Converted,
        UpToDate,         // its output is there, made from it as it is now
        Skipped,          // the plan gave a reason not to convert it
        NotStarted,       // the converter could not be started
        ConverterFailed,  // it ended with an exit status other than 0
        Killed,           // a signal ended it
        NoOutput,         // it ended well but wrote nothing
        OutputTooShort,   // it wrote less audio than the input holds
        DiskFull,         // ... because the disk filled up
        FolderRemoved,    // the output folder went away during the run
        FolderUnwritable, // the output folder cannot be written
        NotFinished,      // the tags could not be copied or the output not put in place
        Stopped,          // the user stopped the run while it was converted
        NotReached,       // the user stopped the run before its turn
        LeftList,         // it left the list before its turn
    };

    Path inputPath;
    Result result = Result::Converted;
    // What the result needs to be told in words: the skip reason, the
    // converter's own last error line, the system's message, lengths.
    QString detail;
    // The errno value, the converter's exit status or the signal that ended
    // it, where there is one.
    OutcomeNumber number;

    // Where a converted file went, and why that is not the name its input
    // gives, if it is not.
    Path outputPath;
    NameChanges nameChanges;
    // The user's own file that had the output's name and was moved to the
    // Trash to make room; empty when none was.
    Path trashedPath;
    // Where the input went in the Trash once its output was in place; empty
    // when it did not go.
    Path inputTrashedTo;
    // Why the input stays where it is although it was to go to the Trash.
    QString inputKept;

    // What the user should know of a file converted as asked, each in words
    // that name the remedy: channels that cancel out, two programmes mixed,
    // samples clipped.
    QStringList warnings;
    // The input was mono already: its audio frames became the output as they
    // were, without a second encoding.
    bool alreadyMono = false;
    // What the album's ReplayGain values need of this output, when its input
    // carried ReplayGain values; null otherwise.
    std::shared_ptr<const AlbumTrack> albumTrack;

    bool converted() const { return result == Result::Converted; }
    bool upToDate() const { return result == Result::UpToDate; }
    // Why the file was not converted, in words; "" when it was.
    QString reason() const;

    // What is said of an input that was mono already.
    static QString AlreadyMonoNote();
};

} // namespace velunor::conversion
