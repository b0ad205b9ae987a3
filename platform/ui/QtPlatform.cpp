#include "platform/ui/QtPlatform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

namespace velunor::platform {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(QtPlatform)
};

// Qt draws "\r" as nothing at all; the program keeps CR CR and CR LF in the
// texts it builds and only the drawn copy gets plain line breaks.
QString Drawable(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

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
        throw PlatformError(Words::tr("The file name buffer is too small."), kDialogBufferTooSmall);
    return result;
}

MessageAnswer QtPlatform::messageBox(QWidget *owner, const QString &text, const QString &title,
                                     MessageButtons buttons, MessageIcon icon,
                                     const QString &details)
{
    const bool question = buttons != MessageButtons::Ok;
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, Drawable(text),
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, owner);
    if (buttons == MessageButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    // A failure's words are worth passing on: they can be copied into a
    // search or a mail rather than typed off the screen.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    if (!details.isEmpty())
        box.setDetailedText(Drawable(details));
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

void QtPlatform::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notice = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the notice under the program's
    // own name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName()}};
    const uint replacesNone = 0;
    const int expiresAsTheDesktopLikes = -1;
    notice << QGuiApplication::applicationDisplayName() << replacesNone << QStringLiteral("velunor")
           << summary << body << QStringList() << hints << expiresAsTheDesktopLikes;
    // Sent as a call that wants no answer: the bus hands it to the
    // notification service, or drops it when there is none, and the window
    // never waits for either.
    bus.send(notice);
}

Expected<std::unique_ptr<ChildProcess>> QtPlatform::startProcess(const Path &program,
                                                                 const QByteArrayList &arguments,
                                                                 const QByteArrayList &environment)
{
    return processes_.startProcess(program, arguments, environment);
}

QPoint QtPlatform::pointerPosition()
{
    return QCursor::pos();
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

} // namespace velunor::platform
