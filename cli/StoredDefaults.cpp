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

StoredDefaults ReadStoredDefaults(const SettingsStore &settings)
{
    StoredDefaults defaults;
    const QString desktop = Main::DesktopPath();
    defaults.outputFolder = settings.read(StoredChoices::Section, StoredChoices::OutputFolder,
                                          desktop.isEmpty() ? QString() : desktop + u'/');

    struct Button {
        const QString &key;
        const char *defaultText;
        ChannelMode mode;
    };
    const std::array<Button, 3> buttons = {{
        {StoredChoices::Option1, "1", ChannelMode::Mix},
        {StoredChoices::Option2, "0", ChannelMode::LeftOnly},
        {StoredChoices::Option3, "0", ChannelMode::RightOnly},
    }};
    std::optional<ChannelMode> selected = ChannelMode::Mix;
    for (const Button &button : buttons) {
        const QString text = settings.read(StoredChoices::Section, button.key,
                                           QString::fromLatin1(button.defaultText));
        const Expected<bool> on = TextToBoolean(text);
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
