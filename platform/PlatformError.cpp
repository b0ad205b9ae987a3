#include "platform/PlatformError.h"

#include <QCoreApplication>

namespace velunor::platform {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(PlatformError)
};

} // namespace

QString DescribeFailure(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const PlatformError &error) {
        return error.message();
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return Words::tr("Unexpected failure");
    }
}

} // namespace velunor::platform
