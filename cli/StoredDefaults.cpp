#include "cli/StoredDefaults.h"

#include "shell/Main.h"
#include "shell/SettingsStore.h"

#include <QCoreApplication>

#include <array>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(StoredDefaults)
};

} // namespace

StoredDefaults ReadStoredDefaults(const shell::SettingsStore &settings)
{
    StoredDefaults defaults;
    const QString desktop = shell::Main::DesktopPath();
    defaults.outputFolder =
        settings.read(shell::StoredChoices::Section, shell::StoredChoices::OutputFolder,
                      desktop.isEmpty() ? QString() : desktop + u'/');

    struct Button {
        const QString &key;
        const char *defaultText;
        conversion::ChannelMode mode;
    };
    const std::array<Button, 3> buttons = {{
        {shell::StoredChoices::Option1, "1", conversion::ChannelMode::Mix},
        {shell::StoredChoices::Option2, "0", conversion::ChannelMode::LeftOnly},
        {shell::StoredChoices::Option3, "0", conversion::ChannelMode::RightOnly},
    }};
    std::optional<conversion::ChannelMode> selected = conversion::ChannelMode::Mix;
    for (const Button &button : buttons) {
        const QString text = settings.read(shell::StoredChoices::Section, button.key,
                                           QString::fromLatin1(button.defaultText));
        const Expected<bool> on = shell::TextToBoolean(text);
        if (!on)
            defaults.problems << Words::tr("the stored value \"%1\" of %2 is not True or "
                                           "False and was passed over")
                                     .arg(text, button.key);
        else if (*on)
            selected = button.mode;
        else if (selected == button.mode)
            selected.reset();
    }
    defaults.mode = selected;
    return defaults;
}

} // namespace velunor::cli
