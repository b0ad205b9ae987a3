#include "conversion/InputMeasurer.h"

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
    work_.post([input, answer = std::move(answer), converter = converter_, mailbox = mailbox_,
                cancel = cancel_] {
        const MeasuredInput measured = MeasureInput(input, converter, cancel.get());
        mailbox->post([answer, measured] { answer(measured); });
    });
}

void InputMeasurer::stop()
{
    *cancel_ = true;
    work_.stop();
}

} // namespace velunor::conversion
