#include "shell/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <optional>

namespace velunor::shell {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)
};

QString Address(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// The value of `key` in `section` of the INI file at `path` as the file
// writes it, after the "=" and without the spaces around it; none when the
// file holds no such line. Key names are read as QSettings writes them, with
// "%XX" for the characters it escapes.
std::optional<QString> RawIniValue(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = QByteArray::fromPercentEncoding(line.mid(1, line.size() - 2).toUtf8()) ==
                        section.toUtf8();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0)
            continue;
        if (QByteArray::fromPercentEncoding(line.left(equals).trimmed().toUtf8()) == key.toUtf8())
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
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
    // An INI value with an unquoted comma comes back as a list, which no
    // longer tells how it was written: it was one text, taken as it stands.
    if (value.typeId() == QMetaType::QStringList)
        return RawIniValue(settings_->fileName(), section, key)
            .value_or(value.toStringList().join(QLatin1Char(',')));
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    settings_->setValue(Address(section, key), text);
    settings_->sync();
}

Expected<bool> TextToBoolean(const QString &text)
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
    return Failure{13, Words::tr("Type mismatch")};
}

QString BooleanToText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace velunor::shell
