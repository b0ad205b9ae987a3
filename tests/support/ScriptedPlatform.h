#pragma once

#include "CountingProcessStarter.h"
#include "platform/ui/Platform.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

namespace velunor::testing {

// One message box the program showed.
struct ShownMessage {
    QString text;
    QString title;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
    QString details;
};

// The desktop as a test script: every dialog takes its answer from a queue,
// and everything shown or opened is recorded. Processes are started for real.
class ScriptedPlatform : public platform::Platform {
public:
    // Answers, taken in order. A dialog without a scripted answer is
    // recorded in `unexpected` and cancelled.
    std::deque<platform::MessageAnswer> yesNoAnswers;
    std::deque<QString> inputAnswers;
    std::deque<std::function<QString()>> fileDialogAnswers; // may throw
    std::deque<QString> folderAnswers;
    std::optional<double> randomValue; // nextRandom(); otherwise 0.5

    // Runs inside every message box before it returns (a test may look at the
    // window while the box is open).
    std::function<void(const ShownMessage &)> onMessage;

    // What happened.
    QList<ShownMessage> messages;
    QList<QString> inputPrompts;
    QList<platform::FileDialogRequest> fileDialogs;
    QList<QString> folderPrompts;
    QList<QUrl> openedUrls;
    QStringList notices; // each one's summary and body, a space between
    QList<quint32> seeds;
    QStringList unexpected;
    // Every process the program started, started for real.
    CountingProcessStarter processes;

    using platform::Platform::messageBox;
    platform::MessageAnswer messageBox(QWidget *owner, const QString &text, const QString &title,
                                       platform::MessageButtons buttons, platform::MessageIcon icon,
                                       const QString &details) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    QString openFileDialog(QWidget *owner, const platform::FileDialogRequest &request) override;
    QString browseForFolder(QWidget *owner, const QString &prompt) override;
    void openUrl(const QUrl &url) override;
    void notify(const QString &summary, const QString &body) override
    {
        notices << summary + ' ' + body;
    }
    Expected<std::unique_ptr<platform::ChildProcess>>
    startProcess(const Path &program, const QByteArrayList &arguments,
                 const QByteArrayList &environment) override
    {
        return processes.startProcess(program, arguments, environment);
    }
    QPoint pointerPosition() override { return pointer; }
    int secondsSinceMidnight() override { return secondsSinceMidnightValue; }
    void seedRandom(quint32 seed) override { seeds << seed; }
    double nextRandom() override { return randomValue.value_or(0.5); }

    int secondsSinceMidnightValue = 12345;
    QPoint pointer;

    // Texts of all message boxes, in order.
    QStringList messageTexts() const;
};

} // namespace velunor::testing
