// The channel mode and the output folder: stored the moment they change, so
// that the next start finds them as the user left them, and the browse button
// that picks the folder.

#include "app/Form1.h"
#include "shell/Locations.h"
#include "shell/SettingsStore.h"
#include "shell/ui/BrowseForFolder.h"

#include <QLineEdit>

namespace velunor::app {

void Form1::storeChannelMode()
{
    settings_.write(shell::StoredChoices::Section, shell::StoredChoices::Option1,
                    shell::BooleanToText(Option1->isChecked()));
    settings_.write(shell::StoredChoices::Section, shell::StoredChoices::Option2,
                    shell::BooleanToText(Option2->isChecked()));
    settings_.write(shell::StoredChoices::Section, shell::StoredChoices::Option3,
                    shell::BooleanToText(Option3->isChecked()));
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
    settings_.write(shell::StoredChoices::Section, shell::StoredChoices::OutputFolder,
                    Text1->text());
}

void Form1::PushButton7_Click()
{
    shell::StepGuard guard(platform_, this, shell::Location::PushButton7_Click);
    QString chosen;
    guard.step(100, [&] {
        chosen = shell::AddFolder::BrowseForFolder(platform_, this, tr("Please select folder:"));
    });
    if (chosen.isEmpty())
        return;
    // The run puts file names straight after the folder text, so it must end
    // in "/"; the root folder already does. Setting the text stores it.
    if (guard.test(104, [&] { return !chosen.endsWith(QLatin1Char('/')); })) {
        guard.step(106, [&] { Text1->setText(chosen + QLatin1Char('/')); });
        return;
    }
    guard.step(108, [&] { Text1->setText(chosen); });
}

} // namespace velunor::app
