#include "tags/MpegAudioCopy.h"

#include "platform/ByteCopy.h"
#include "tags/MpegLayout.h"

#include <QIODevice>

#include <cstring>

#include <optional>

namespace velunor {

Done CopyMpegAudio(QIODevice &input, int outputFd, const std::atomic<bool> *cancel)
{
    const auto because = [](const QString &what, const QIODevice &device) {
        return what + QStringLiteral(" (") + device.errorString() + QLatin1Char(')');
    };
    const std::optional<MpegLayout> layout = ReadMpegLayout(input);
    if (!layout)
        return Failure::Because(because(QStringLiteral("the input could not be read"), input));
    if (layout->audioEnd <= layout->audioBegin)
        return Failure::Because(QStringLiteral("the input holds no audio between its tags"));

    const ByteCopyEnd copied =
        CopyBytes(input, layout->audioBegin, layout->audioEnd, outputFd, cancel);
    switch (copied.kind) {
    case ByteCopyEnd::Kind::Copied:
        return {};
    case ByteCopyEnd::Kind::Unreadable:
        return Failure::Because(because(QStringLiteral("the input could not be read"), input));
    case ByteCopyEnd::Kind::Unwritable:
        return Failure::OfErrno(copied.writeError,
                                QStringLiteral("the output could not be written"));
    case ByteCopyEnd::Kind::Cancelled:
        break;
    }
    return Failure::Because(QStringLiteral("the copy was cancelled"));
}

} // namespace velunor
