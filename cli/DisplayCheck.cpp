#include "cli/DisplayCheck.h"

#include "shell/Languages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchProgram)
};

// Whether a connection to `address` is accepted: a server listens there.
// On this machine it is accepted or refused at once; where it is not (a
// firewall that drops it, a server too busy to take it) none is known after a
// second, and Qt decides.
std::optional<bool> Accepted(const sockaddr *address, socklen_t length)
{
    const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return std::nullopt;
    std::optional<bool> accepted;
    if (::connect(fd, address, length) == 0) {
        accepted = true;
    } else if (errno == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (::poll(&waiting, 1, 1000) == 1 &&
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0)
            accepted = error == 0;
    } else if (errno != EAGAIN) {
        accepted = false;
    }
    ::close(fd);
    return accepted;
}

// True when a server listens on the local socket `path`, in the abstract
// namespace when `abstract`, or when that cannot be told.
bool Answers(const QByteArray &path, bool abstract)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t offset = abstract ? 1 : 0;
    if (size_t(path.size()) + offset >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path + offset, path.constData(), size_t(path.size()));
    const socklen_t length =
        socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    return Accepted(reinterpret_cast<const sockaddr *>(&address), length).value_or(true);
}

// True when a server listens on TCP `port` of this machine, over IPv4 or
// IPv6, or when that cannot be told over IPv4 (IPv6 may be switched off).
bool AnswersOnLoopback(int port)
{
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(quint16(port));
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (Accepted(reinterpret_cast<const sockaddr *>(&v4), sizeof v4) != false)
        return true;
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(quint16(port));
    v6.sin6_addr = in6addr_loopback;
    return Accepted(reinterpret_cast<const sockaddr *>(&v6), sizeof v6).value_or(false);
}

} // namespace

std::optional<DisplayProblem> FindDisplayProblem()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::nullopt;
    if (display.isEmpty())
        return DisplayProblem{DisplayProblem::Kind::NoneNamed, {}};
    // Only a display of this machine is looked at: its own (":0",
    // "unix:0.0"), or one ssh forwards to a port of it ("localhost:10.0"),
    // which answers no more once that ssh session has gone (a terminal
    // multiplexer's shell outlives it). One of another host is left to Qt.
    static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
    static const QRegularExpression forwarded(
        QStringLiteral("^(localhost|127\\.0\\.0\\.1):(\\d{1,5})(\\.\\d+)?$"));
    const QString named = QString::fromLatin1(display);
    if (const QRegularExpressionMatch match = local.match(named); match.hasMatch()) {
        const QByteArray socket = "/tmp/.X11-unix/X" + match.captured(2).toLatin1();
        if (Answers(socket, true) || Answers(socket, false))
            return std::nullopt;
    } else if (const QRegularExpressionMatch match = forwarded.match(named); match.hasMatch()) {
        // X display N listens on TCP port 6000 + N.
        const int port = 6000 + match.captured(2).toInt();
        if (port > 65535 || AnswersOnLoopback(port))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return DisplayProblem{DisplayProblem::Kind::NotAnswering, display};
}

int TellNoDisplay(int argc, char **argv, const DisplayProblem &problem)
{
    QCoreApplication application(argc, argv);
    shell::Languages::Install({shell::Languages::CommandLineCatalogue});
    const QString why =
        problem.kind == DisplayProblem::Kind::NoneNamed
            ? Words::tr("no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)")
            : Words::tr("the display %1 does not answer (DISPLAY is set, but no X server runs "
                        "there)")
                  .arg(QString::fromLocal8Bit(problem.display));
    const QString told =
        Words::tr("velunor: the window cannot open: %1.\nTo convert without the window: velunor "
                  "--batch --output FOLDER FILE...")
            .arg(why);
    std::fprintf(stderr, "%s\n", told.toLocal8Bit().constData());
    return 1;
}

} // namespace velunor::cli
