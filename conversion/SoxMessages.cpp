#include "SoxMessages.h"

#include "platform/Processes.h"

#include <QList>
#include <QRegularExpression>

#include <limits>

namespace velunor::conversion {

namespace {

constexpr int kMostReasonChars = 300;

// The text after "<program> <level> " when `line` is such a line of SoX's.
// SoX names itself as it was started, by its whole path, which may hold
// spaces; names of files come only after the level.
std::optional<QByteArray> MessageAt(const QByteArray &line, const char *level)
{
    const QByteArray marker = QByteArray(" ") + level + ' ';
    const qsizetype at = line.indexOf(marker);
    if (at <= 0)
        return std::nullopt;
    return line.mid(at + marker.size());
}

} // namespace

std::optional<qint64> ClippedSamples(const QByteArray &errorOutput)
{
    // Anchored at the end of the line, where SoX's words follow any name.
    static const QRegularExpression clipped(
        QStringLiteral(" clipped ([0-9]{1,18}) samples(?:; decrease volume\\?)?$"));
    std::optional<qint64> total;
    for (const QByteArray &line : errorOutput.split('\n')) {
        const std::optional<QByteArray> message = MessageAt(line.trimmed(), "WARN");
        if (!message)
            continue;
        const QRegularExpressionMatch match = clipped.match(QString::fromLocal8Bit(*message));
        if (!match.hasMatch())
            continue;
        const qint64 count = match.captured(1).toLongLong();
        const qint64 sum = total.value_or(0);
        total = count > std::numeric_limits<qint64>::max() - sum
                    ? std::numeric_limits<qint64>::max()
                    : sum + count;
    }
    return total;
}

QString SoxFailure(const QByteArray &errorOutput)
{
    const QList<QByteArray> lines = errorOutput.split('\n');
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (const std::optional<QByteArray> message = MessageAt(line->trimmed(), "FAIL"))
            return platform::LastErrorLine(*message, kMostReasonChars);
    }
    return platform::LastErrorLine(errorOutput, kMostReasonChars);
}

} // namespace velunor::conversion
