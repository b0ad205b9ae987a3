// What a job learns of its inputs as they wait: their length, measured on a
// worker once the converter is staged, and their MPEG frames, walked before
// they start.

#include "conversion/ConversionJob.h"

#include "tags/MpegAudio.h"

#include <utility>

namespace velunor::conversion {

// An input that is not an MP3 is measured by the converter, so nothing is
// measured before it is staged.
void ConversionJob::measure(int sequence, const FileRecord &record)
{
    if (setup_.stagingPending) {
        measuredWhenStaged_.push_back(sequence);
        return;
    }
    measurer_.measure(record.plan.inputPath, [this, sequence](const MeasuredInput &measured) {
        onMeasured(sequence, measured);
    });
}

void ConversionJob::converterStaged(StagedConverter converter, std::function<Done()> usable)
{
    if (!setup_.stagingPending)
        return;
    setup_.stagingPending = false;
    setup_.converter = std::move(converter);
    setup_.converterUsable = std::move(usable);
    measurer_.setConverter(setup_.converter);
    for (const int sequence : std::exchange(measuredWhenStaged_, {})) {
        const auto found = records_.find(sequence);
        if (found != records_.end() && found->second.state == FileState::Waiting)
            measure(sequence, found->second);
    }
    if (phase_ == Phase::Running)
        pump();
}

void ConversionJob::onMeasured(int sequence, const MeasuredInput &measured)
{
    const auto found = records_.find(sequence);
    if (found == records_.end())
        return;
    FileRecord &record = found->second;
    if (measured.walked && !record.walked) {
        record.walked = true;
        record.audio = measured.mpeg;
    }
    const std::optional<double> seconds = measured.seconds;
    if (!seconds || record.seconds)
        return;
    const bool waiting = record.state == FileState::Waiting && unmeasuredWaiting_.erase(sequence);
    record.seconds = seconds;
    estimate_.fileMeasured(*seconds, record.state == FileState::Done);
    if (waiting)
        measuredWaiting_.insert({-*seconds, sequence});
    emit progressed();
}

void ConversionJob::onPrepared(int sequence, const std::optional<tags::MpegAudioLength> &audio)
{
    const auto found = records_.find(sequence);
    if (found == records_.end() || found->second.state != FileState::Preparing)
        return; // stopped meanwhile
    FileRecord &record = found->second;
    preparing_.erase(sequence);
    record.walked = true;
    record.audio = audio;
    // Its choices are looked at again as it starts.
    record.state = FileState::Waiting;
    launch(sequence);
    pump();
}

} // namespace velunor::conversion
