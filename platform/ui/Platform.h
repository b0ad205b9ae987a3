#pragma once

#include "platform/PlatformError.h"
#include "platform/Processes.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

class QWidget;

namespace velunor::platform {

// The file dialog's result buffer overflowed.
inline constexpr int kDialogBufferTooSmall = 20476;

enum class MessageIcon { None, Warning };
// YesNoDefaultNo: a question whose careless Enter must not do it.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class MessageAnswer { Ok, Yes, No };

struct FileDialogRequest {
    QString title;
    QString filter; // "Description (*.ext)|*.ext|" as the program builds it
    bool multiSelect = false;
    bool readOnlyChecked = false;
    int resultBufferChars = 32768;
};

// Everything the window asks of the desktop. The Qt implementation lives in
// QtPlatform; tests use a scripted one so that every dialog can be answered.
class Platform : public ProcessStarter {
public:
    // Shows a message box and returns the answer. `details`, when not empty,
    // is offered apart from the text, to be shown on request (a long list the
    // text only sums up).
    virtual MessageAnswer messageBox(QWidget *owner, const QString &text, const QString &title,
                                     MessageButtons buttons, MessageIcon icon,
                                     const QString &details) = 0;
    // A message box without details.
    MessageAnswer messageBox(QWidget *owner, const QString &text, const QString &title,
                             MessageButtons buttons, MessageIcon icon)
    {
        return messageBox(owner, text, title, buttons, icon, QString());
    }
    // The typed text, or "" when the user cancels.
    virtual QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;
    // "" on cancel; one full path for a single pick; for several picks the
    // folder, then every name, separated by NUL characters. Throws
    // PlatformError(kDialogBufferTooSmall) when the result does not fit.
    virtual QString openFileDialog(QWidget *owner, const FileDialogRequest &request) = 0;
    // The chosen folder as the dialog gives it, or "" when cancelled.
    virtual QString browseForFolder(QWidget *owner, const QString &prompt) = 0;
    // Opens an address or a folder with the desktop's default handler.
    virtual void openUrl(const QUrl &url) = 0;
    // Posts a notice on the desktop, apart from any window. Never waits for
    // the desktop; nothing happens, and nothing is reported, when it shows no
    // notices.
    virtual void notify(const QString &summary, const QString &body) = 0;

    // Where the pointer is on the screen, in pixels.
    virtual QPoint pointerPosition() = 0;

    virtual int secondsSinceMidnight() = 0;
    virtual void seedRandom(quint32 seed) = 0;
    // Uniform in [0, 1).
    virtual double nextRandom() = 0;
};

} // namespace velunor::platform
