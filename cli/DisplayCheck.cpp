#include "cli/DisplayCheck.h"

#include "shell/Languages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchProgram)
};

// True when a server listens on the local socket `path`, in the abstract
// namespace when `abstract`.
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
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true; // cannot tell: Qt decides
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0;
    ::close(fd);
    return answered;
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
    // Only a display of this machine is looked at (":0", "unix:0.0"); one
    // reached over the network, as ssh forwards it, is left to Qt.
    static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(QString::fromLatin1(display));
    if (!match.hasMatch())
        return std::nullopt;
    const QByteArray socket = "/tmp/.X11-unix/X" + match.captured(2).toLatin1();
    if (Answers(socket, true) || Answers(socket, false))
        return std::nullopt;
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
