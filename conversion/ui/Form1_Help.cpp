// The two explanation buttons.

#include "app/Form1.h"
#include "shell/Locations.h"

namespace velunor::app {

void Form1::PushButton6_Click()
{
    shell::StepGuard guard(platform_, this, shell::Location::PushButton6_Click);
    QString mono;
    QString stereo;
    guard.step(100, [&] {
        mono = tr("Mono describes a system where all the audio signals are mixed together and "
                  "routed through a single audio channel.");
    });
    guard.step(102, [&] {
        stereo = tr("Stereo sound systems have two independent audio signal channels.");
    });
    guard.step(104, [&] { showMessage(mono + QStringLiteral("\r\n\r\n") + stereo); });
}

void Form1::PushButton8_Click()
{
    shell::StepGuard guard(platform_, this, shell::Location::PushButton8_Click);
    guard.step(100, [&] {
        showMessage(tr("If you have a file that does not convert correctly, try splitting it "
                       "into multiple parts and try with this software again. If this works or "
                       "if you have any questions, please email %1.")
                        .arg(shell::kSupportAddress));
    });
}

} // namespace velunor::app
