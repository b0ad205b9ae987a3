#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace velunor::platform {

// A failure the system reports. It carries the system's own message text,
// which a failure report shows unchanged, and a number for the few failures a
// caller tells apart (the file dialog's "buffer too small", 20476).
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString &message, int number = 0)
        : std::runtime_error(message.toStdString()), message_(message), number_(number)
    {
    }
    const QString &message() const { return message_; }
    int number() const { return number_; }

private:
    QString message_;
    int number_;
};

// The failure's own words: a PlatformError's message, or what() of any other
// exception. The window's error report and the command line tell a failure
// in the same words.
QString DescribeFailure(const std::exception_ptr &failure);

} // namespace velunor::platform
