#pragma once

#include "conversion/FinishOutput.h" // StagedConverter
#include "platform/BackgroundWork.h"
#include "tags/MpegAudio.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velunor::conversion {

// What the MPEG frames of the file at `path` say, when it is an MPEG audio
// file (see MpegAudioLength::fillsTheFile); none for a file of another kind,
// one that cannot be read, or once `cancel` was raised.
std::optional<tags::MpegAudioLength> MpegAudioOf(const Path &path,
                                                 const std::atomic<bool> *cancel = nullptr);

// What is known of an input's audio once it is measured.
struct MeasuredInput {
    std::optional<double> seconds;
    // None for an input that is no MPEG audio file.
    std::optional<tags::MpegAudioLength> mpeg;
    // The frames were looked at (false when the measuring gave up first).
    bool walked = false;
};

// The audio of `path`: an MPEG audio file's frames walked and counted, or,
// for any other kind of file, its length as the converter reads it. Its
// seconds are none when neither can tell or `cancel` was raised.
MeasuredInput MeasureInput(const Path &path, const StagedConverter &converter,
                           const std::atomic<bool> *cancel = nullptr);
// MeasureInput's seconds alone.
std::optional<double> AudioSeconds(const Path &path, const StagedConverter &converter,
                                   const std::atomic<bool> *cancel = nullptr);

// Measures the lengths of a run's inputs on a worker of its own, one after
// another in the order asked, and answers through the run's mailbox. An
// input that never answers (a disk that stopped) holds up only the
// measuring, never the run.
class InputMeasurer {
public:
    using Answer = std::function<void(const MeasuredInput &measured)>;

    InputMeasurer(StagedConverter converter, std::shared_ptr<platform::ResultMailbox> mailbox);
    ~InputMeasurer();

    // An MP3 is measured at once; any other kind, while there is no
    // converter yet, once setConverter() gives one.
    void measure(const Path &input, Answer answer);
    // The converter the inputs that are not MP3 are measured with from now on.
    void setConverter(StagedConverter converter);
    // Gives up what is being measured and drops what waits.
    void stop();

private:
    struct Waiting {
        Path input;
        Answer answer;
    };
    void answer(const Path &input, const Answer &answer, const MeasuredInput &measured,
                bool withConverter);

    StagedConverter converter_;
    std::vector<Waiting> waitingForConverter_;
    std::shared_ptr<platform::ResultMailbox> mailbox_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    platform::SerialWork work_;
};

} // namespace velunor::conversion
