#pragma once

#include "conversion/ChannelMode.h"
#include "conversion/OutputQuality.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Result.h"

#include <QByteArray>

#include <optional>

namespace velunor::conversion {

// The extended attribute each output carries where the file system keeps
// such marks. It names the input the output was made from, so that a later
// run, of this list or of another, replaces only its own earlier output.
inline constexpr const char *kOutputMarkName = "user.velunor.input";

// What identifies an input for its output's mark: where it is, and the size
// and modification time it had when it was converted.
struct InputFacts {
    Path absolute; // as listed, made absolute
    Path real;     // links and ".." resolved; empty when that failed
    platform::FileIdentity identity;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch

    // The facts of the input at `path` now; none when it cannot be looked up.
    static std::optional<InputFacts> Of(const Path &path);
};

// How an output is made from its input, as its mark notes it: "copy" for
// audio that was mono already (the same whatever was asked), otherwise the
// channel mode ("mix", "left", "right") and the quality asked for, if any
// (",quality=source", ",quality=128", ",quality=v2").
QByteArray MadeHow(ChannelMode mode, const std::optional<OutputQuality> &quality, bool copied);

// An output's mark: the input's path as bytes, then, separated by NUL bytes,
// "size=<bytes>", "mtime=<nanoseconds since the epoch>" and "made=<how>" (see
// MadeHow). An output that
// took its input's place adds its own size and time as "output-size=" and
// "output-mtime=", so that it can be told from a file copied over it later. A
// path holds no NUL, so a mark written by an earlier version, which holds the
// path alone, is read as a mark without size and time.
struct OutputMark {
    Path input;
    std::optional<qint64> size;
    std::optional<qint64> modifiedNs;
    std::optional<qint64> outputSize;
    std::optional<qint64> outputModifiedNs;
    QByteArray made; // empty in marks of earlier versions

    static QByteArray Encode(const InputFacts &input, const QByteArray &made);
    static std::optional<OutputMark> Decode(const QByteArray &value);

    // True when the mark names the input of `facts`: the same path, the
    // same real path, or a path that leads to the very same file.
    bool names(const InputFacts &facts) const;
    // True when it also holds the size and time the input has now, and the
    // output was made as `made` asks (or copied, which any way of making it
    // gives). A mark that does not tell how is not up to date.
    bool isUpToDateWith(const InputFacts &facts, const QByteArray &made) const;
    // True when the file of `facts` is an output that took its input's place
    // and is still as it was made.
    bool isOutputInPlace(const InputFacts &facts) const;
};

// Writes the mark of `input`, made as `made` tells, on the file open at `fd`,
// with the file's own size and time when `withOwnFacts` (an output that
// takes its input's place; its content and time must be final). A failure
// carries the errno value: ENOTSUP (or EOPNOTSUPP) where the file system
// keeps no marks.
Done WriteOutputMark(int fd, const InputFacts &input, const QByteArray &made,
                     bool withOwnFacts = false);

// The mark on the file at `path` itself (never on a link's target); none
// when it bears none.
std::optional<OutputMark> ReadOutputMark(const Path &path);

// What is at a name an output may take.
enum class NameHolder {
    Nothing,      // no file: the name is free
    ThisInput,    // an earlier output of this very input
    AnotherInput, // an output of another input: it keeps its name
    Unmarked,     // a file without a mark: the user's, or an output on a
                  // file system that keeps no marks
    NotAFile,     // a folder or anything else that cannot be replaced
};

// Who holds the name `path` for an output of `input`. Never follows a link at
// `path`: whatever it points to is the user's.
NameHolder HolderOfName(const Path &path, const InputFacts &input);

} // namespace velunor::conversion
