#pragma once

#include "shell/Steps.h"

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace velunor {

class Platform;

inline const QString kSupportAddress = QStringLiteral("support@velunor.org");

// The exact text of the error report: description, CR LF, the handler's
// location text, "at line ", the step, CR CR, and the request for a screenshot.
QString ErrorReportText(const QString &description, const QString &location, int step);

// Shows the report ("Application Error", warning icon, OK) and returns when
// the user has closed it.
void ErrorReport(Platform &platform, QWidget *owner, const QString &description,
                 const QString &location, int step);

// The failure's own words: a PlatformError's message, or what() of any other
// exception.
QString DescribeFailure(const std::exception_ptr &failure);

// Runs a reporting handler's numbered steps. A step that throws becomes one
// error report naming the handler and the step, and the handler goes on with
// its next step, so one failure never stops the rest of the handler.
class StepGuard : public StepRunner {
public:
    StepGuard(Platform &platform, QWidget *owner, QString location)
        : platform_(platform), owner_(owner), location_(std::move(location))
    {
    }

    // Runs one step. Returns false when it failed (and was reported).
    bool step(int number, const std::function<void()> &action) override
    {
        try {
            action();
            return true;
        } catch (...) {
            report(std::current_exception(), number);
            return false;
        }
    }

    // A branch test. A test that fails is reported and counts as passed, so
    // the branch it guards runs.
    bool test(int number, const std::function<bool()> &condition) override
    {
        try {
            return condition();
        } catch (...) {
            report(std::current_exception(), number);
            return true;
        }
    }

private:
    void report(const std::exception_ptr &failure, int number);

    Platform &platform_;
    QWidget *owner_;
    QString location_;
};

} // namespace velunor
