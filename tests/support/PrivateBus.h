#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velunor::testing {

// A D-Bus daemon of the test's own, for as long as the object lives. It
// starts no service on demand, so that nothing installed on the machine takes
// part in a test.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // The address to connect to; "" when the daemon did not start.
    const QString &address() const { return address_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
};

} // namespace velunor::testing
