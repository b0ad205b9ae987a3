#include "shell/SettingsStore.h"

#include "platform/PlatformError.h"

#include <QSettings>
#include <QStandardPaths>

#include <cmath>

namespace velunor {

namespace {
QString Address(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

SettingsStore::SettingsStore(const QString &application)
    : settings_(std::make_unique<QSettings>(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QLatin1Char('/') + application + QStringLiteral(".conf"),
          QSettings::IniFormat))
{
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings))
{
}

std::unique_ptr<SettingsStore> SettingsStore::AtPath(const QString &iniPath)
{
    return std::unique_ptr<SettingsStore>(
        new SettingsStore(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)));
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultText) const
{
    const QString address = Address(section, key);
    if (!settings_->contains(address))
        return defaultText;
    const QVariant value = settings_->value(address);
    // An INI value with an unquoted comma comes back as a list; it was one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    settings_->setValue(Address(section, key), text);
    settings_->sync();
}

bool TextToBoolean(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool numeric = false;
    const double number = trimmed.toDouble(&numeric);
    if (numeric && std::isfinite(number))
        return number != 0.0;
    throw PlatformError(QStringLiteral("Type mismatch"), 13);
}

QString BooleanToText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace velunor
