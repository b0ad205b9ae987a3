#pragma once

#include "conversion/CommandLine.h" // ChannelMode

#include <QString>
#include <QStringList>

#include <optional>

namespace velunor::shell {
class SettingsStore;
}

namespace velunor::cli {

// The choices the window would start with, read and never written: the
// channel mode its three buttons would show and the text of its output
// folder field.
struct StoredDefaults {
    // None when every stored button is off.
    std::optional<conversion::ChannelMode> mode;
    // "" when nothing is stored and the machine has no desktop or home folder.
    QString outputFolder;
    // Stored values that are not a Boolean, and were passed over as the
    // window passes them over.
    QStringList problems;
};

// Reads the stored choices as the window's start does: mix is selected until
// a stored button says otherwise; each button stored as on selects it alone,
// each stored as off clears it, in the order of the buttons. The output
// folder defaults to the desktop folder (the home folder where there is no
// desktop folder) followed by "/".
StoredDefaults ReadStoredDefaults(const shell::SettingsStore &settings);

} // namespace velunor::cli
