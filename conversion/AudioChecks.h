#pragma once

#include "conversion/FilePlan.h"
#include "conversion/MixLevels.h"

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

namespace velunor::conversion {

// What a user should know of an output made as asked, each in words that name
// the remedy, in this order:
// - a mix of an input in dual-channel mode, which holds two programmes (two
//   languages, say) rather than stereo, has blended both;
// - a mix came out near silent while its input is not (see MixLevels), as
//   when one channel is the other turned upside down;
// - SoX clipped samples (see ClippedSamples).
// Left and Right keep one channel as it is: they never warn of the first
// two. `errorOutput` is what SoX said while it converted `plan`'s input into
// `output`. Only the ten short stretches of the mix check are decoded, so it
// may follow every conversion; the input's side of it is taken from `ahead`
// when that has measured it by now. `remedyNeedsInput`, when given, is set
// when a warning's remedy is to convert the input again (the first two).
// Reentrant.
class InputLevelsAhead;
QStringList AudioWarnings(const FilePlan &plan, const QByteArray &errorOutput, const Path &output,
                          const std::atomic<bool> *cancel = nullptr,
                          const InputLevelsAhead *ahead = nullptr,
                          bool *remedyNeedsInput = nullptr);

// The input's side of the mix check, measured on a worker while the converter
// is at work, so that only the output is left to decode once it has ended.
class InputLevelsAhead {
public:
    // Begins the measurement for `plan`; none when its output will not be
    // checked for a mix that cancels out.
    static std::shared_ptr<InputLevelsAhead> Begin(const FilePlan &plan);

    // What the measurement found, once it has ended; none while it runs (the
    // caller measures for itself then, rather than waiting).
    std::optional<std::optional<InputStretches>> result() const;

private:
    mutable std::mutex mutex_;
    std::optional<std::optional<InputStretches>> result_;
};

} // namespace velunor::conversion
