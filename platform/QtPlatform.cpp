#include "platform/QtPlatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velunor {

namespace {

// Qt draws "\r" as nothing at all; the program keeps CR CR and CR LF in the
// texts it builds and only the drawn copy gets plain line breaks.
QString Drawable(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// A process watched through its pidfd, so that a wait ends the moment the
// process does. Falls back to short sleeps where pidfds are not available.
class SpawnedProcess : public ChildProcess {
public:
    explicit SpawnedProcess(pid_t pid) : pid_(pid)
    {
        pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    }
    ~SpawnedProcess() override
    {
        // Reaps a process that has ended but was not asked about; one still
        // running is left alone and never stopped.
        exitCode();
        if (pidfd_ >= 0)
            ::close(pidfd_);
    }

    std::optional<int> exitCode() override
    {
        if (exit_)
            return exit_;
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            if (WIFEXITED(status))
                exit_ = WEXITSTATUS(status);
            else if (WIFSIGNALED(status))
                exit_ = 128 + WTERMSIG(status);
            else
                exit_ = 0;
        } else if (done < 0 && errno == ECHILD) {
            exit_ = 0;
        }
        return exit_;
    }

    void waitForEnd(int milliseconds) override
    {
        if (exit_)
            return;
        if (pidfd_ >= 0) {
            pollfd watched{pidfd_, POLLIN, 0};
            ::poll(&watched, 1, milliseconds);
            return;
        }
        for (int waited = 0; waited < milliseconds && !exitCode(); waited += 5)
            ::usleep(5000);
    }

private:
    pid_t pid_;
    int pidfd_ = -1;
    std::optional<int> exit_;
};

} // namespace

QString JoinFileDialogResult(const QStringList &paths, int bufferChars)
{
    QString result;
    if (paths.size() == 1) {
        result = paths.front();
    } else if (paths.size() > 1) {
        const QString folder = QFileInfo(paths.front()).absolutePath();
        bool oneFolder = true;
        for (const QString &path : paths)
            oneFolder = oneFolder && QFileInfo(path).absolutePath() == folder;
        // Names typed with a folder of their own do not share the first
        // pick's folder: they then stand below the root folder as whole paths,
        // so that joining them again gives each file, not a namesake.
        result = oneFolder ? folder : QStringLiteral("/");
        for (const QString &path : paths) {
            result += QChar(u'\0');
            result += oneFolder ? QFileInfo(path).fileName() : path.mid(1);
        }
    }
    // The result needs its terminating NUL, and a multi-selection a second.
    const int needed = static_cast<int>(result.size()) + (paths.size() > 1 ? 2 : 1);
    if (!result.isEmpty() && needed > bufferChars)
        throw PlatformError(QStringLiteral("The file name buffer is too small."),
                            kDialogBufferTooSmall);
    return result;
}

MessageAnswer QtPlatform::messageBox(QWidget *owner, const QString &text, const QString &title,
                                     MessageButtons buttons, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, Drawable(text),
                    buttons == MessageButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No)
                                                     : QMessageBox::Ok,
                    owner);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtPlatform::inputBox(QWidget *owner, const QString &prompt, const QString &title,
                             const QString &defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(owner, title, Drawable(prompt), QLineEdit::Normal,
                                               defaultText, &accepted);
    return accepted ? text : QString();
}

QString QtPlatform::openFileDialog(QWidget *owner, const FileDialogRequest &request)
{
    // "Description (*.ext)|*.ext|" becomes Qt's "Description (*.ext)".
    const QStringList parts = request.filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        const QString pattern = parts[i + 1];
        filters << (description.contains(pattern) ? description
                                                  : description + " (" + pattern + ")");
    }
    QFileDialog dialog(owner, request.title);
    dialog.setNameFilters(filters);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return JoinFileDialogResult(dialog.selectedFiles(), request.resultBufferChars);
}

QString QtPlatform::browseForFolder(QWidget *owner, const QString &prompt)
{
    return QFileDialog::getExistingDirectory(owner, prompt, QString(), QFileDialog::ShowDirsOnly);
}

void QtPlatform::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

std::unique_ptr<ChildProcess> QtPlatform::startProcess(const QString &program,
                                                       const QStringList &arguments,
                                                       const QStringList &environment, int &error)
{
    std::vector<QByteArray> argumentBytes;
    argumentBytes.push_back(QFile::encodeName(program));
    for (const QString &argument : arguments)
        argumentBytes.push_back(QFile::encodeName(argument));
    std::vector<QByteArray> environmentBytes;
    for (const QString &entry : environment)
        environmentBytes.push_back(QFile::encodeName(entry));

    std::vector<char *> argv;
    for (QByteArray &bytes : argumentBytes)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (QByteArray &bytes : environmentBytes)
        envp.push_back(bytes.data());
    envp.push_back(nullptr);

    // The converter gets no terminal input of its own and starts in a session
    // of its own: a Ctrl+C meant for this program does not reach it, and a
    // terminal set to stop background writers ("stty tostop") cannot stop it
    // on its first message, which would keep the run waiting for ever.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    // An ignored SIGCHLD, inherited from whoever started this program, would
    // make the system discard every exit status, and a failed conversion
    // would look like a successful one.
    struct sigaction childSignal {};
    if (::sigaction(SIGCHLD, nullptr, &childSignal) == 0 && childSignal.sa_handler == SIG_IGN) {
        childSignal.sa_handler = SIG_DFL;
        childSignal.sa_flags = 0;
        ::sigaction(SIGCHLD, &childSignal, nullptr);
    }

    pid_t pid = 0;
    const int result =
        ::posix_spawn(&pid, argv.front(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        error = result;
        return nullptr;
    }
    error = 0;
    return std::make_unique<SpawnedProcess>(pid);
}

int QtPlatform::secondsSinceMidnight()
{
    return QTime(0, 0).secsTo(QTime::currentTime());
}

void QtPlatform::seedRandom(quint32 seed)
{
    random_.seed(seed);
}

double QtPlatform::nextRandom()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

} // namespace velunor
