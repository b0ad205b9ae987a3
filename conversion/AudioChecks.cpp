#include "conversion/AudioChecks.h"

#include "conversion/MixLevels.h"
#include "conversion/SoxMessages.h"

namespace velunor {

QStringList AudioWarnings(const FilePlan &plan, const QByteArray &errorOutput, const Path &output,
                          const std::atomic<bool> *cancel)
{
    QStringList warnings;
    // Only an MPEG input is decoded for the mix check; a mono one was never
    // mixed.
    const bool mixed = plan.mode == ChannelMode::Mix && plan.audio && !plan.audio->everyFrameMono;
    if (mixed && plan.audio->anyFrameDualChannel)
        warnings << QStringLiteral("holds two separate programmes (dual channel); mixed both, "
                                   "choose Left or Right to keep one");
    if (mixed) {
        const std::optional<MixLevels> levels =
            CompareMixLevels(plan.inputPath.bytes(), output.bytes(), cancel);
        if (levels && levels->outputNearSilent)
            warnings << QStringLiteral("the two channels cancel each other out; the mix is near "
                                       "silence, convert it with Left or Right");
    }
    if (const std::optional<qint64> clipped = ClippedSamples(errorOutput); clipped && *clipped > 0)
        warnings << (*clipped == 1 ? QStringLiteral("1 sample clipped")
                                   : QStringLiteral("%1 samples clipped").arg(*clipped));
    return warnings;
}

} // namespace velunor
