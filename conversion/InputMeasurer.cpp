#include "conversion/InputMeasurer.h"

#include "tags/MpegAudio.h"

namespace velunor {

std::optional<double> AudioSeconds(const Path &path, const StagedConverter &converter,
                                   const std::atomic<bool> *cancel)
{
    if (const std::optional<MpegAudioLength> mpeg = MeasureMpegAudio(path, cancel))
        return mpeg->seconds();
    if (converter.path.isEmpty() || (cancel && *cancel))
        return std::nullopt;
    // Any other kind the converter reads (WAV, FLAC, ...): it tells the
    // length from the file's header.
    const std::optional<QByteArray> told = RunForOutput(
        converter.path, {QByteArray("--i"), QByteArray("-D"), QByteArray("--"), path.bytes()},
        converter.environment, 10000, cancel);
    bool number = false;
    const double seconds = told ? told->trimmed().toDouble(&number) : 0.0;
    if (!number || seconds <= 0.0)
        return std::nullopt;
    return seconds;
}

InputMeasurer::InputMeasurer(StagedConverter converter, std::shared_ptr<ResultMailbox> mailbox)
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
        const std::optional<double> seconds = AudioSeconds(input, converter, cancel.get());
        mailbox->post([answer, seconds] { answer(seconds); });
    });
}

void InputMeasurer::stop()
{
    *cancel_ = true;
    work_.stop();
}

} // namespace velunor
