#include "shell/ui/ErrorReport.h"

#include "platform/ui/Platform.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace velunor::shell {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ErrorReport)
};

} // namespace

QString ErrorReportText(const QString &description, const QString &location, int step)
{
    // The location names the handler as "in <handler> "; the report's
    // sentence holds the handler's name as a whole.
    QString handler = location;
    if (handler.startsWith(QLatin1String("in ")))
        handler.remove(0, 3);
    if (handler.endsWith(u' '))
        handler.chop(1);
    return Words::tr("%1\r\nin %2 at line %3\r\rPlease email screenshot of this message to %4")
        .arg(description, handler, QString::number(step), kSupportAddress);
}

void ErrorReport(platform::Platform &platform, QWidget *owner, const QString &description,
                 const QString &location, int step)
{
    platform.messageBox(owner, ErrorReportText(description, location, step),
                        Words::tr("Application Error"), platform::MessageButtons::Ok,
                        platform::MessageIcon::Warning);
}

bool StepGuard::step(int number, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (...) {
        report(number, Failure::Because(platform::DescribeFailure(std::current_exception())));
        return false;
    }
}

bool StepGuard::test(int number, const std::function<bool()> &condition)
{
    try {
        return condition();
    } catch (...) {
        report(number, Failure::Because(platform::DescribeFailure(std::current_exception())));
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

} // namespace velunor::shell
