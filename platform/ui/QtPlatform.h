#pragma once

#include "platform/SystemProcessStarter.h"
#include "platform/ui/Platform.h"

#include <random>

namespace velunor::platform {

// The real desktop: Qt dialogs, QDesktopServices, notices through the
// freedesktop notification service on the session bus, and processes started
// by SpawnProcess (no shell) and watched through a pidfd.
class QtPlatform : public Platform {
public:
    using Platform::messageBox;
    // The text can be selected and copied with the mouse and the keyboard;
    // the details sit behind the box's "Show Details..." button.
    MessageAnswer messageBox(QWidget *owner, const QString &text, const QString &title,
                             MessageButtons buttons, MessageIcon icon,
                             const QString &details) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    QString openFileDialog(QWidget *owner, const FileDialogRequest &request) override;
    QString browseForFolder(QWidget *owner, const QString &prompt) override;
    void openUrl(const QUrl &url) override;
    void notify(const QString &summary, const QString &body) override;
    Expected<std::unique_ptr<ChildProcess>>
    startProcess(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment) override;
    QPoint pointerPosition() override;
    int secondsSinceMidnight() override;
    void seedRandom(quint32 seed) override;
    double nextRandom() override;

private:
    SystemProcessStarter processes_;
    std::minstd_rand random_;
};

// Joins a file dialog's picks into the dialog result shape: one path, or the
// folder followed by every name, NUL separated. Throws
// PlatformError(kDialogBufferTooSmall) when the text would not fit
// `bufferChars` characters (terminators included).
QString JoinFileDialogResult(const QStringList &paths, int bufferChars);

} // namespace velunor::platform
