#pragma once

#include "conversion/FilePlan.h"

#include <QByteArray>
#include <QStringList>

#include <atomic>

namespace velunor {

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
// may follow every conversion. Reentrant.
QStringList AudioWarnings(const FilePlan &plan, const QByteArray &errorOutput, const Path &output,
                          const std::atomic<bool> *cancel = nullptr);

} // namespace velunor
