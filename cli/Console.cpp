#include "cli/Console.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace velunor::cli {

namespace {
// Back to the start of the line, and the rest of the line erased.
const QString kReturnAndErase = QStringLiteral("\r\x1b[K");
} // namespace

int TerminalColumns(int fd)
{
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

bool IsTerminal(int fd)
{
    return ::isatty(fd) == 1;
}

Console::Console(std::FILE *out, std::FILE *err, int (*statusColumns)(int fd))
    : out_(out), err_(err), statusColumns_(statusColumns)
{
}

Console::~Console()
{
    clearStatus();
}

int Console::columns() const
{
    return statusColumns_ ? statusColumns_(::fileno(out_)) : 80;
}

void Console::showStatus(const QString &line)
{
    if (!showsStatus() || line == shownStatus_)
        return;
    shownStatus_ = line;
    write(out_, kReturnAndErase + line);
}

void Console::clearStatus()
{
    if (shownStatus_.isNull())
        return;
    shownStatus_ = QString();
    write(out_, kReturnAndErase);
}

void Console::printOut(const QString &line)
{
    clearStatus();
    write(out_, line + u'\n');
}

void Console::printError(const QString &line)
{
    clearStatus();
    write(err_, line + u'\n');
}

void Console::write(std::FILE *stream, const QString &text)
{
    // A reader that went away (a closed pipe) is no reason to stop a run:
    // what cannot be written is dropped, and the exit status tells.
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    const bool failed = written != static_cast<size_t>(bytes.size()) || std::fflush(stream) != 0;
    if (failed && writeError_ == 0)
        writeError_ = errno != 0 ? errno : EIO;
    std::clearerr(stream);
}

} // namespace velunor::cli
