#include "platform/Result.h"

#include <cstring>

namespace velunor {

Failure Failure::OfErrno(int error, const QString &what)
{
    const QString system = QString::fromLocal8Bit(std::strerror(error));
    return {error, what.isEmpty() ? system : what + QStringLiteral(": ") + system};
}

} // namespace velunor
