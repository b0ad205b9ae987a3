#include "platform/PlatformError.h"

namespace velunor {

QString DescribeFailure(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const PlatformError &error) {
        return error.message();
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("Unexpected failure");
    }
}

} // namespace velunor
