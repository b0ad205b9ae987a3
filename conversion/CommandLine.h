#pragma once

#include "conversion/ChannelMode.h"
#include "platform/Path.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

namespace velunor::conversion {

// The arguments the converter is started with, built word by word. The
// program starts the converter from this list, never through a shell, so no
// character of a path is ever interpreted.
class ArgumentString {
public:
    // The arguments for one file:
    //   mix         --no-glob INPUT -c 1 --no-glob OUTPUT
    //   left only   the mix form, remix 1
    //   right only  the mix form, remix 2
    // `encodingOptions` (see SoxEncodingOptions) follow "-c 1"; none by
    // default, which leaves the encoding to LAME's defaults.
    static ArgumentString ForMode(ChannelMode mode, const Path &inputPath, const Path &outputPath,
                                  const QStringList &encodingOptions = {});

    // Appends an option or a value.
    ArgumentString &word(const QString &word);
    // Appends a path's bytes. A relative path that begins with "-" gets "./"
    // in front, so it is never read as an option.
    ArgumentString &path(const Path &path);

    const QByteArrayList &arguments() const { return arguments_; }
    bool isEmpty() const { return arguments_.isEmpty(); }

private:
    QByteArrayList arguments_;
};

} // namespace velunor::conversion
