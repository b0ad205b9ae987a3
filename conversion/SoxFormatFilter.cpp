// A module that the converter loads first (LD_PRELOAD) when it converts MP3
// to MP3. SoX opens every format module of its folder at each start (FLAC,
// Ogg, AMR, ALSA, libsndfile and the libraries these pull in), about a
// quarter of the time it takes over a short file, although an MP3 input and
// an MP3 output need one of them. This module stands in for libltdl's walk of
// that folder and passes on only the modules that VELUNOR_SOX_FORMATS names
// ("mp3", or "mp3,flac"); without that variable the walk is left as it is.
//
// It runs inside SoX, which knows nothing of it: no C++ library, no
// exceptions, no memory of its own, nothing but what libc gives.

#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

namespace {

using FileVisitor = int (*)(const char *fileName, void *data);
using FolderWalk = int (*)(const char *searchPath, FileVisitor visit, void *data);

struct Filter {
    FileVisitor visit;
    void *data;
    const char *formats;
};

// True when `name` (up to its first dot, as libltdl gives names without
// their extension) is one of the comma-separated `formats`.
bool Listed(const char *name, const char *formats)
{
    const size_t length = strcspn(name, ".");
    for (const char *format = formats; *format != '\0';) {
        const size_t formatLength = strcspn(format, ",");
        if (formatLength == length && strncmp(format, name, length) == 0)
            return true;
        format += formatLength;
        if (*format == ',')
            ++format;
    }
    return false;
}

int VisitListed(const char *fileName, void *data)
{
    const Filter *filter = static_cast<const Filter *>(data);
    const char *slash = strrchr(fileName, '/');
    const char *base = slash ? slash + 1 : fileName;
    static const char kPrefix[] = "libsox_fmt_";
    if (strncmp(base, kPrefix, sizeof kPrefix - 1) != 0 ||
        !Listed(base + sizeof kPrefix - 1, filter->formats))
        return 0; // passed over; the walk goes on
    return filter->visit(fileName, filter->data);
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
lt_dlforeachfile(const char *searchPath, FileVisitor visit, void *data)
{
    // Looked up without a guarded static, which would need the C++ library;
    // SoX walks its modules once, before it starts any thread.
    static FolderWalk walk = nullptr;
    if (walk == nullptr)
        walk = reinterpret_cast<FolderWalk>(dlsym(RTLD_NEXT, "lt_dlforeachfile"));
    if (walk == nullptr)
        return 1;
    const char *formats = getenv("VELUNOR_SOX_FORMATS");
    if (formats == nullptr || *formats == '\0')
        return walk(searchPath, visit, data);
    Filter filter{visit, data, formats};
    return walk(searchPath, VisitListed, &filter);
}
