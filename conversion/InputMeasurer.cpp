#include "conversion/InputMeasurer.h"

#include <utility>

namespace velunor::conversion {

std::optional<tags::MpegAudioLength> MpegAudioOf(const Path &path, const std::atomic<bool> *cancel)
{
    std::optional<tags::MpegAudioLength> mpeg = tags::MeasureMpegAudio(path, cancel);
    if (mpeg && !mpeg->fillsTheFile())
        return std::nullopt;
    return mpeg;
}

MeasuredInput MeasureInput(const Path &path, const StagedConverter &converter,
                           const std::atomic<bool> *cancel)
{
    MeasuredInput measured;
    measured.mpeg = MpegAudioOf(path, cancel);
    if (cancel && *cancel)
        return measured;
    measured.walked = true;
    if (measured.mpeg) {
        measured.seconds = measured.mpeg->seconds();
        return measured;
    }
    if (converter.path.isEmpty())
        return measured;
    // Any other kind the converter reads (WAV, FLAC, ...): it tells the
    // length from the file's header.
    const std::optional<QByteArray> told = platform::RunForOutput(
        converter.path, {QByteArray("--i"), QByteArray("-D"), QByteArray("--"), path.bytes()},
        converter.environment, 10000, cancel);
    bool number = false;
    const double seconds = told ? told->trimmed().toDouble(&number) : 0.0;
    if (number && seconds > 0.0)
        measured.seconds = seconds;
    return measured;
}

std::optional<double> AudioSeconds(const Path &path, const StagedConverter &converter,
                                   const std::atomic<bool> *cancel)
{
    return MeasureInput(path, converter, cancel).seconds;
}

InputMeasurer::InputMeasurer(StagedConverter converter,
                             std::shared_ptr<platform::ResultMailbox> mailbox)
    : converter_(std::move(converter)), mailbox_(std::move(mailbox))
{
}

InputMeasurer::~InputMeasurer()
{
    stop();
}

void InputMeasurer::measure(const Path &input, Answer answer)
{
    const bool withConverter = !converter_.path.isEmpty();
    work_.post([this, input, answer = std::move(answer), converter = converter_, mailbox = mailbox_,
                cancel = cancel_, withConverter] {
        const MeasuredInput measured = MeasureInput(input, converter, cancel.get());
        // The measurer is looked at only through the mailbox, which closes
        // before the measurer goes.
        mailbox->post([this, input, answer, measured, withConverter] {
            this->answer(input, answer, measured, withConverter);
        });
    });
}

void InputMeasurer::answer(const Path &input, const Answer &answer, const MeasuredInput &measured,
                           bool withConverter)
{
    // Not an MP3, and no converter to tell its length when it was measured.
    if (!withConverter && measured.walked && !measured.mpeg) {
        if (converter_.path.isEmpty())
            waitingForConverter_.push_back({input, answer});
        else
            measure(input, answer);
        return;
    }
    answer(measured);
}

void InputMeasurer::setConverter(StagedConverter converter)
{
    converter_ = std::move(converter);
    for (Waiting &waiting : std::exchange(waitingForConverter_, {}))
        measure(waiting.input, std::move(waiting.answer));
}

void InputMeasurer::stop()
{
    waitingForConverter_.clear();
    *cancel_ = true;
    work_.stop();
}

} // namespace velunor::conversion
