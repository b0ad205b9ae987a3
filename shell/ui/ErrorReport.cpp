#include "shell/ui/ErrorReport.h"

#include "platform/ui/Platform.h"

#include <QTimer>
#include <QWidget>

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

bool StepGuard::step(int number, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (...) {
        report(number, Failure::Because(DescribeFailure(std::current_exception())));
        return false;
    }
}

bool StepGuard::test(int number, const std::function<bool()> &condition)
{
    try {
        return condition();
    } catch (...) {
        report(number, Failure::Because(DescribeFailure(std::current_exception())));
        return true;
    }
}

void StepGuard::report(int number, const Failure &failure)
{
    if (reports_ == Reports::AtOnce) {
        ErrorReport(platform_, owner_, failure.words, location_, number);
        return;
    }
    QTimer::singleShot(0, owner_,
                       [platform = &platform_, owner = owner_, location = location_,
                        words = failure.words,
                        number] { ErrorReport(*platform, owner, words, location, number); });
}

} // namespace velunor
