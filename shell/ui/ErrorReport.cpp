#include "shell/ui/ErrorReport.h"

#include "platform/ui/Platform.h"

namespace velunor {

QString ErrorReportText(const QString &description, const QString &location, int step)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(step) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void ErrorReport(Platform &platform, QWidget *owner, const QString &description,
                 const QString &location, int step)
{
    platform.messageBox(owner, ErrorReportText(description, location, step),
                        QStringLiteral("Application Error"), MessageButtons::Ok,
                        MessageIcon::Warning);
}

void StepGuard::report(const std::exception_ptr &failure, int number)
{
    ErrorReport(platform_, owner_, DescribeFailure(failure), location_, number);
}

} // namespace velunor
