#include "tags/ForeignTags.h"

#include "platform/FileSystem.h"
#include "platform/ProgramFiles.h"
#include "tags/MpegAudio.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>

namespace velunor::tags {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ForeignTags)
};

// The module's one entry point: the tag for the file at the path, written
// into the QByteArray.
using ReadTags = void (*)(const char *path, QByteArray *tag);

// True when the file starts with an MPEG audio frame header: an MP3 without
// an ID3v2 tag in front, whose ID3v1 and APE tags, if any, go over as bytes.
bool StartsWithMpegFrame(const Path &path)
{
    QFile file;
    return platform::FileSystem::Open(file, path, QIODevice::ReadOnly).ok() &&
           StartsWithMpegFrameHeader(file.read(4));
}

// TagLib, which only this reader needs, lives in a module of its own that is
// loaded the first time an input asks for it: linked into the program, it
// would cost every start a good part of its time (a script that converts
// one file per call pays each start), and MP3 inputs never need it.
Expected<ReadTags> TagReader()
{
    static const Expected<ReadTags> reader = []() -> Expected<ReadTags> {
        const Path module = platform::FileBesideProgram(VELUNOR_FOREIGN_TAGS_MODULE);
        void *const handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        void *const entry = handle ? ::dlsym(handle, "velunor_foreign_tags_as_id3v24") : nullptr;
        if (!entry)
            return Failure::Because(
                Words::tr("its tags cannot be read: the program's part that reads them "
                          "cannot be loaded (%1)")
                    .arg(QString::fromLocal8Bit(::dlerror())));
        return reinterpret_cast<ReadTags>(entry);
    }();
    return reader;
}

} // namespace

Expected<QByteArray> ForeignTagsAsId3v24(const Path &inputPath)
{
    if (StartsWithMpegFrame(inputPath))
        return QByteArray();
    const Expected<ReadTags> read = TagReader();
    if (!read)
        return read.failure();
    QByteArray tag;
    (*read)(inputPath.c_str(), &tag);
    return tag;
}

} // namespace velunor::tags
