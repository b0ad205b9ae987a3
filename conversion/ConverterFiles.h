#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace velunor {

// One file of the converter as the executable carries it.
struct ConverterFile {
    int resourceId;
    // Appended to the staging folder exactly as written, leading "/" included.
    QString stagedName;
    // The program needs its execute permission; the libraries do not.
    bool executable;
};

// The five converter files in the order they are staged and removed: the SoX
// program, then the MP3 decoder, the MP3 encoder, the threads library and zlib.
const std::array<ConverterFile, 5> &ConverterFileSet();
// The program among them.
const ConverterFile &ConverterProgram();

// The bytes of one of the resources 101 to 105. Throws PlatformError when the
// executable does not carry it.
QByteArray LoadConverterResource(int resourceId);

// Where the converter is staged: "TEMP" exactly as the environment gives it
// when it is set and not empty; otherwise a folder private to the user
// ($XDG_RUNTIME_DIR/velunor, or <temp>/velunor-<uid>), created with mode 0700
// when missing.
QString StagingFolder();

// The staged file's full path: the folder followed directly by its name.
inline QString StagedPath(const QString &stagingFolder, const ConverterFile &file)
{
    return stagingFolder + file.stagedName;
}

// Yields once, then writes `buffer` as the whole content of a new file at
// `path`, unless something is there already (never overwrites). Failures
// rise as PlatformError with the system's message; a file that could not be
// written completely is removed again.
void WriteResourceFile(const QByteArray &buffer, const QString &path, bool executable = false);

// Yields once, then deletes the file at `path` if it can. Never fails.
void DeleteFileQuietly(const QString &path);

// Why the converter staged in `stagingFolder` must not be run, or "" when it
// may. The converter loads every library it finds in that folder, so the
// folder and each staged file must belong to the user and must not be
// writable by anybody else.
QString UntrustedConverterReason(const QString &stagingFolder);

} // namespace velunor
