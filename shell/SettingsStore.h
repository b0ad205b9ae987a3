#pragma once

#include "platform/Result.h"

#include <QString>

#include <memory>

class QSettings;

namespace velunor::shell {

// Where the program keeps its four remembered choices: one section, and a key
// for the output folder and for each of the three channel-mode buttons.
struct StoredChoices {
    static inline const QString Section = QStringLiteral("Velunor");
    static inline const QString OutputFolder = QStringLiteral("Output Folder");
    static inline const QString Option1 = QStringLiteral("Option1");
    static inline const QString Option2 = QStringLiteral("Option2");
    static inline const QString Option3 = QStringLiteral("Option3");
};

// The four remembered choices, kept as text in the per-user INI file
// ~/.config/Tarvenic.conf, group [Velunor]. Every write reaches the disk at
// once, because the program may be ended at any moment.
class SettingsStore {
public:
    // Opens the per-user store of the application name `application`.
    explicit SettingsStore(const QString &application = QStringLiteral("Tarvenic"));
    // Opens the store kept in the INI file `iniPath` (tests).
    static std::unique_ptr<SettingsStore> AtPath(const QString &iniPath);
    ~SettingsStore();

    // The stored text when the key exists (an empty value included),
    // otherwise `defaultText`.
    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &text);

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};

// "True"/"False" as stored, or numeric text (0 false, any other number true).
// Any other text is a type mismatch (13).
Expected<bool> TextToBoolean(const QString &text);
// How a Boolean is stored.
QString BooleanToText(bool value);

} // namespace velunor::shell
