#include "ScriptedPlatform.h"

namespace velunor::testing {

platform::MessageAnswer ScriptedPlatform::messageBox(QWidget *, const QString &text,
                                                     const QString &title,
                                                     platform::MessageButtons buttons,
                                                     platform::MessageIcon icon,
                                                     const QString &details)
{
    const ShownMessage shown{text, title, buttons, icon, details};
    messages << shown;
    if (onMessage)
        onMessage(shown);
    if (buttons == platform::MessageButtons::Ok)
        return platform::MessageAnswer::Ok;
    if (yesNoAnswers.empty()) {
        unexpected << QStringLiteral("question: ") + text;
        return platform::MessageAnswer::No;
    }
    const platform::MessageAnswer answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::inputBox(QWidget *, const QString &prompt, const QString &,
                                   const QString &)
{
    inputPrompts << prompt;
    if (inputAnswers.empty()) {
        unexpected << QStringLiteral("input box: ") + prompt;
        return QString();
    }
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::openFileDialog(QWidget *, const platform::FileDialogRequest &request)
{
    fileDialogs << request;
    if (fileDialogAnswers.empty()) {
        unexpected << QStringLiteral("file dialog: ") + request.title;
        return QString();
    }
    const auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer();
}

QString ScriptedPlatform::browseForFolder(QWidget *, const QString &prompt)
{
    folderPrompts << prompt;
    if (folderAnswers.empty()) {
        unexpected << QStringLiteral("folder dialog: ") + prompt;
        return QString();
    }
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void ScriptedPlatform::openUrl(const QUrl &url)
{
    openedUrls << url;
}

QStringList ScriptedPlatform::messageTexts() const
{
    QStringList texts;
    for (const ShownMessage &message : messages)
        texts << message.text;
    return texts;
}

} // namespace velunor::testing
