// The channel mode and the output folder are stored the moment they change,
// so that the next start finds them as the user left them.

#include "app/Form1.h"
#include "shell/SettingsStore.h"

#include <QLineEdit>

namespace velunor {

namespace {
const QString kSection = QStringLiteral("Velunor");
}

void Form1::storeChannelMode()
{
    settings_.write(kSection, QStringLiteral("Option1"), BooleanToText(Option1->isChecked()));
    settings_.write(kSection, QStringLiteral("Option2"), BooleanToText(Option2->isChecked()));
    settings_.write(kSection, QStringLiteral("Option3"), BooleanToText(Option3->isChecked()));
}

void Form1::Option1_Click()
{
    storeChannelMode();
}

void Form1::Option2_Click()
{
    storeChannelMode();
}

void Form1::Option3_Click()
{
    storeChannelMode();
}

void Form1::Text1_Change()
{
    settings_.write(kSection, QStringLiteral("Output Folder"), Text1->text());
}

} // namespace velunor
