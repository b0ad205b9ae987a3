// What a job learns of its inputs as they wait: their length and their MPEG
// frames, measured on a worker as they are planned (one that is no MP3 by the
// converter, once it is staged), and walked before they start when the
// measuring has not come to them yet.

#include "conversion/ConversionJob.h"

#include "tags/MpegAudio.h"

#include <utility>

namespace velunor::conversion {

// Measured while the converter is staged too, so that the first files start
// as soon as it is.
void ConversionJob::measure(int sequence, const FileRecord &record)
{
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
