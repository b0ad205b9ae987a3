#include "conversion/InputMeasurer.h"

namespace velunor {

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
