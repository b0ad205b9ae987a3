#include "conversion/AudioChecks.h"

#include "conversion/MixLevels.h"
#include "conversion/SoxMessages.h"

#include <QCoreApplication>

namespace velunor {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(AudioChecks)
};

// A count that chooses the same plural form as `count`, which may pass what
// an int holds: the plural rules look at the last digits and at the size.
int PluralCount(qint64 count)
{
    constexpr qint64 kKept = 1000000;
    return count <= kKept ? int(count) : int(kKept + count % kKept);
}

} // namespace

QStringList AudioWarnings(const FilePlan &plan, const QByteArray &errorOutput, const Path &output,
                          const std::atomic<bool> *cancel)
{
    QStringList warnings;
    // Only an MPEG input is decoded for the mix check; a mono one was never
    // mixed.
    const bool mixed = plan.mode == ChannelMode::Mix && plan.audio && !plan.audio->everyFrameMono;
    if (mixed && plan.audio->anyFrameDualChannel)
        warnings << Words::tr("holds two separate programmes (dual channel); mixed both, "
                              "choose Left or Right to keep one");
    if (mixed) {
        const std::optional<MixLevels> levels =
            CompareMixLevels(plan.inputPath.bytes(), output.bytes(), cancel);
        if (levels && levels->outputNearSilent)
            warnings << Words::tr("the two channels cancel each other out; the mix is near "
                                  "silence, convert it with Left or Right");
    }
    if (const std::optional<qint64> clipped = ClippedSamples(errorOutput); clipped && *clipped > 0)
        warnings << (*clipped == 1 ? Words::tr("1 sample clipped")
                                   : Words::tr("%1 samples clipped", nullptr, PluralCount(*clipped))
                                         .arg(*clipped));
    return warnings;
}

} // namespace velunor
