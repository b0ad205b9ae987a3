#pragma once

#include "platform/Result.h"

#include <QString>

#include <exception>
#include <functional>
#include <utility>

class QWidget;

namespace velunor::platform {
class Platform;
}

namespace velunor::shell {

inline const QString kSupportAddress = QStringLiteral("support@velunor.org");

// The exact text of the error report: description, CR LF, the handler's
// location text, "at line ", the step, CR CR, and the request for a screenshot.
QString ErrorReportText(const QString &description, const QString &location, int step);

// Shows the report ("Application Error", warning icon, OK) and returns when
// the user has closed it.
void ErrorReport(platform::Platform &platform, QWidget *owner, const QString &description,
                 const QString &location, int step);

// Runs a reporting handler's numbered steps, and tells the failed steps of
// core work the window started. A step that fails becomes one error report
// naming the handler and the step, and the handler goes on with its next
// step, so one failure never stops the rest of the handler.
class StepGuard final {
public:
    // How a failure is shown: at once, or from the event loop, for steps run
    // inside work that must not wait for a dialog (a run's choices).
    enum class Reports { AtOnce, Later };

    StepGuard(platform::Platform &platform, QWidget *owner, QString location,
              Reports reports = Reports::AtOnce)
        : platform_(platform), owner_(owner), location_(std::move(location)), reports_(reports)
    {
    }

    // Runs one step. Returns false when it failed (and was told).
    bool step(int number, const std::function<void()> &action);
    // A branch test. A test that fails is told and counts as passed, so the
    // branch it guards runs.
    bool test(int number, const std::function<bool()> &condition);
    // Tells a failure of step `number` that happened elsewhere.
    void report(int number, const Failure &failure);

private:
    platform::Platform &platform_;
    QWidget *owner_;
    QString location_;
    Reports reports_;
};

} // namespace velunor::shell
