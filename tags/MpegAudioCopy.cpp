#include "tags/MpegAudioCopy.h"

#include "platform/ByteCopy.h"
#include "tags/MpegLayout.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cstring>

#include <optional>

namespace velunor::tags {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(MpegAudioCopy)
};

} // namespace

Done CopyMpegAudio(QIODevice &input, int outputFd, const std::atomic<bool> *cancel)
{
    const auto unreadable = [&input] {
        return Failure::Because(
            Words::tr("the input could not be read (%1)").arg(input.errorString()));
    };
    const std::optional<MpegLayout> layout = ReadMpegLayout(input);
    if (!layout)
        return unreadable();
    if (layout->audioEnd <= layout->audioBegin)
        return Failure::Because(Words::tr("the input holds no audio between its tags"));

    const platform::ByteCopyEnd copied =
        platform::CopyBytes(input, layout->audioBegin, layout->audioEnd, outputFd, cancel);
    switch (copied.kind) {
    case platform::ByteCopyEnd::Kind::Copied:
        return {};
    case platform::ByteCopyEnd::Kind::Unreadable:
        return unreadable();
    case platform::ByteCopyEnd::Kind::Unwritable:
        return Failure::OfErrno(copied.writeError, Words::tr("the output could not be written"));
    case platform::ByteCopyEnd::Kind::Cancelled:
        break;
    }
    return Failure::Because(Words::tr("the copy was cancelled"));
}

} // namespace velunor::tags
