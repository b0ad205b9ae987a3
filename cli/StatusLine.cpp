#include "cli/StatusLine.h"

#include "shell/Main.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(StatusLine)
};

constexpr int kBarCells = 20;
const QString kCut = QStringLiteral("...");

bool IsWide(char32_t code)
{
    return (code >= 0x1100 && code <= 0x115f) || (code >= 0x2e80 && code <= 0xa4cf) ||
           (code >= 0xac00 && code <= 0xd7a3) || (code >= 0xf900 && code <= 0xfaff) ||
           (code >= 0xfe30 && code <= 0xfe4f) || (code >= 0xff00 && code <= 0xff60) ||
           (code >= 0xffe0 && code <= 0xffe6) || code >= 0x10000;
}

// The end of `name` that fits `columns`, with "..." before it when cut.
QString FitEnd(const QString &name, int columns)
{
    if (DisplayWidth(name) <= columns)
        return name;
    const QList<uint> codes = name.toUcs4();
    int used = DisplayWidth(kCut);
    qsizetype first = codes.size();
    while (first > 0) {
        const int width = IsWide(codes[first - 1]) ? 2 : 1;
        if (used + width > columns)
            break;
        used += width;
        --first;
    }
    const QList<uint> kept = codes.mid(first);
    return kCut +
           QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
}

} // namespace

int DisplayWidth(const QString &text)
{
    int width = 0;
    for (const char32_t code : text.toUcs4())
        width += IsWide(code) ? 2 : 1;
    return width;
}

QString StatusLine(const conversion::RunProgress &progress, int filesDone, int filesTotal,
                   int columns)
{
    const double fraction = std::clamp(progress.fraction, 0.0, 1.0);
    const int filled = static_cast<int>(std::floor(fraction * kBarCells));
    const QString bar = u'[' + QString(filled, u'#') + QString(kBarCells - filled, u'-') + u']';
    QString facts = Words::tr("%1%  %2/%n files", nullptr, filesTotal)
                        .arg(static_cast<int>(fraction * 100), 3)
                        .arg(filesDone);
    if (progress.secondsLeft)
        facts += QStringLiteral("  ") +
                 Words::tr("%1 left").arg(conversion::DurationText(*progress.secondsLeft));

    const int room = std::max(columns - 1, 0);
    QString line = bar + u' ' + facts;
    if (DisplayWidth(line) > room)
        line = facts;
    if (DisplayWidth(line) > room)
        return line.left(room);
    const QString name = progress.atWork.fileName().text();
    // A name cut to fewer than a few characters tells nothing.
    const int nameRoom = room - DisplayWidth(line) - 2;
    if (!name.isEmpty() && nameRoom >= kCut.size() + 4)
        line += QStringLiteral("  ") + FitEnd(name, nameRoom);
    return line;
}

} // namespace velunor::cli
