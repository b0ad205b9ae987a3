#include "MpegAudioCopy.h"

#include "ByteCopy.h"
#include "MpegLayout.h"

#include <QFile>

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

    QFile output;
    // Unbuffered, so that a write that fails is the one WriteAll sees.
    if (!output.open(outputFd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::DontCloseHandle))
        return because(QStringLiteral("the output could not be written"), output);
    switch (CopyBytes(input, layout->audioBegin, layout->audioEnd, output, cancel)) {
    case ByteCopyEnd::Copied:
        return QString();
    case ByteCopyEnd::Unreadable:
        return because(QStringLiteral("the input could not be read"), input);
    case ByteCopyEnd::Unwritable:
        return because(QStringLiteral("the output could not be written"), output);
    case ByteCopyEnd::Cancelled:
        break;
    }
    return QStringLiteral("the copy was cancelled");
}

} // namespace velunor
