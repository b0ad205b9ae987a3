#include "conversion/AudioChecks.h"

#include "conversion/MixLevels.h"
#include "conversion/SoxMessages.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>

namespace velunor::conversion {

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

// Only an MPEG input is decoded for the mix check; a mono one was never mixed.
bool Mixed(const FilePlan &plan)
{
    return plan.mode == ChannelMode::Mix && plan.audio && !plan.audio->everyFrameMono;
}

} // namespace

std::shared_ptr<InputLevelsAhead> InputLevelsAhead::Begin(const FilePlan &plan)
{
    if (!Mixed(plan))
        return nullptr;
    auto ahead = std::make_shared<InputLevelsAhead>();
    // Two seconds of audio at most are decoded, so the measurement is never
    // cancelled; a completion that comes first measures for itself.
    platform::RunDetached([ahead, input = plan.inputPath.bytes()] {
        std::optional<InputStretches> measured = MeasureInputStretches(input);
        const std::lock_guard lock(ahead->mutex_);
        ahead->result_ = std::move(measured);
    });
    return ahead;
}

std::optional<std::optional<InputStretches>> InputLevelsAhead::result() const
{
    const std::lock_guard lock(mutex_);
    return result_;
}

QStringList AudioWarnings(const FilePlan &plan, const QByteArray &errorOutput, const Path &output,
                          const std::atomic<bool> *cancel, const InputLevelsAhead *ahead,
                          bool *remedyNeedsInput)
{
    QStringList warnings;
    const bool mixed = Mixed(plan);
    if (mixed && plan.audio->anyFrameDualChannel)
        warnings << Words::tr("holds two separate programmes (dual channel); mixed both, "
                              "choose Left or Right to keep one");
    if (mixed) {
        const std::optional<std::optional<InputStretches>> measured =
            ahead ? ahead->result() : std::nullopt;
        const std::optional<InputStretches> input =
            measured ? *measured : MeasureInputStretches(plan.inputPath.bytes(), cancel);
        // The output is decoded only when the input's mix comes near
        // cancelling: what every other mix is like is known already.
        const std::optional<MixLevels> levels =
            input && MixMayCancel(*input) ? CompareMixLevels(*input, output.bytes(), cancel)
                                          : std::nullopt;
        if (levels && levels->outputNearSilent)
            warnings << Words::tr("the two channels cancel each other out; the mix is near "
                                  "silence, convert it with Left or Right");
    }
    if (remedyNeedsInput)
        *remedyNeedsInput = !warnings.isEmpty();
    if (const std::optional<qint64> clipped = ClippedSamples(errorOutput); clipped && *clipped > 0)
        warnings << (*clipped == 1 ? Words::tr("1 sample clipped")
                                   : Words::tr("%1 samples clipped", nullptr, PluralCount(*clipped))
                                         .arg(*clipped));
    return warnings;
}

} // namespace velunor::conversion
