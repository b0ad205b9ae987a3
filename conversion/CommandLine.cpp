#include "conversion/CommandLine.h"

namespace velunor::conversion {

ArgumentString ArgumentString::ForMode(ChannelMode mode, const Path &inputPath,
                                       const Path &outputPath, const QStringList &encodingOptions)
{
    // SoX expands wildcards in every file name it is given ("song [live].mp3"
    // would read "song l.mp3", and "hits {2020}.mp3" would write into the
    // user's "hits 2020.mp3"), so both names are marked as plain names.
    ArgumentString arguments;
    arguments.word(QStringLiteral("--no-glob"))
        .path(inputPath)
        .word(QStringLiteral("-c"))
        .word(QStringLiteral("1"));
    for (const QString &option : encodingOptions)
        arguments.word(option);
    arguments.word(QStringLiteral("--no-glob")).path(outputPath);
    // The kept channel alone, at its own level: "remix 1 0" would make two
    // channels that "-c 1" then averages, 6 dB down.
    switch (mode) {
    case ChannelMode::Mix:
        break;
    case ChannelMode::LeftOnly:
        arguments.word(QStringLiteral("remix")).word(QStringLiteral("1"));
        break;
    case ChannelMode::RightOnly:
        arguments.word(QStringLiteral("remix")).word(QStringLiteral("2"));
        break;
    }
    return arguments;
}

ArgumentString &ArgumentString::word(const QString &word)
{
    Q_ASSERT(!word.isEmpty());
    arguments_ << word.toUtf8();
    return *this;
}

ArgumentString &ArgumentString::path(const Path &path)
{
    arguments_ << (path.bytes().startsWith('-') ? "./" + path.bytes() : path.bytes());
    return *this;
}

} // namespace velunor::conversion
