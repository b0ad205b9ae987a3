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

// Runs a reporting handler's numbered steps, and the numbered steps of core
// work the window started. A step that throws becomes one error report naming
// the handler and the step, and the handler goes on with its next step, so one
// failure never stops the rest of the handler.
class StepGuard final : public StepRunner {
public:
    StepGuard(Platform &platform, QWidget *owner, QString location)
        : platform_(platform), owner_(owner), location_(std::move(location))
    {
    }

private:
    void report(const std::exception_ptr &failure, int number) override;

    Platform &platform_;
    QWidget *owner_;
    QString location_;
};

} // namespace velunor
