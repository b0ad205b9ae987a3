#include "tags/MpegAudioCopy.h"

#include "platform/ByteCopy.h"
#include "tags/MpegLayout.h"

#include <QIODevice>

#include <cstring>

#include <optional>

namespace velunor {

QString CopyMpegAudio(QIODevice &input, int outputFd, const std::atomic<bool> *cancel)
{
    const auto because = [](const QString &what, const QIODevice &device) {
        return what + QStringLiteral(" (") + device.errorString() + QLatin1Char(')');
    };
    const std::optional<MpegLayout> layout = ReadMpegLayout(input);
    if (!layout)
        return because(QStringLiteral("the input could not be read"), input);
    if (layout->audioEnd <= layout->audioBegin)
        return QStringLiteral("the input holds no audio between its tags");

    const ByteCopyEnd copied =
        CopyBytes(input, layout->audioBegin, layout->audioEnd, outputFd, cancel);
    switch (copied.kind) {
    case ByteCopyEnd::Kind::Copied:
        return QString();
    case ByteCopyEnd::Kind::Unreadable:
        return because(QStringLiteral("the input could not be read"), input);
    case ByteCopyEnd::Kind::Unwritable:
        return QStringLiteral("the output could not be written (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(copied.writeError)));
    case ByteCopyEnd::Kind::Cancelled:
        break;
    }
    return QStringLiteral("the copy was cancelled");
}

} // namespace velunor
