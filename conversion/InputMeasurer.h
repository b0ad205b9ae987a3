#pragma once

#include "conversion/FinishOutput.h" // StagedConverter, AudioSeconds
#include "platform/BackgroundWork.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace velunor {

// Measures the lengths of a run's inputs on a worker of its own, one after
// another in the order asked, and answers through the run's mailbox. An
// input that never answers (a disk that stopped) holds up only the
// measuring, never the run.
class InputMeasurer {
public:
    using Answer = std::function<void(std::optional<double> seconds)>;

    InputMeasurer(StagedConverter converter, std::shared_ptr<ResultMailbox> mailbox);
    ~InputMeasurer();

    void measure(const Path &input, Answer answer);
    // The converter the inputs that are not MP3 are measured with from now on.
    void setConverter(StagedConverter converter) { converter_ = std::move(converter); }
    // Gives up what is being measured and drops what waits.
    void stop();

private:
    StagedConverter converter_;
    std::shared_ptr<ResultMailbox> mailbox_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    SerialWork work_;
};

} // namespace velunor
