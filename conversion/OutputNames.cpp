#include "conversion/OutputNames.h"

#include "conversion/FilePlan.h"
#include "shell/Main.h"

namespace velunor {

namespace {

const QString kExtension = QStringLiteral(".mp3");

bool RefusedByFat(QChar c)
{
    static const QString refused = QStringLiteral("\"*:<>?\\|");
    return c.unicode() < 32 || c.unicode() == 127 || refused.contains(c);
}

} // namespace

QString FileSystemSafeName(const QString &base)
{
    QString safe = base;
    for (QChar &c : safe)
        if (RefusedByFat(c))
            c = QLatin1Char('_');
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

OutputNames::Claim OutputNames::claim(const QString &folderKey, const QString &folderText,
                                      const QString &inputPath)
{
    return claimUnique(folderKey, folderText, Main::StripExtension(Main::FileNameOf(inputPath)));
}

OutputNames::Claim OutputNames::claimSafe(const QString &folderKey, const QString &refusedPath)
{
    const QString base = Main::StripExtension(Main::FileNameOf(refusedPath));
    Claim claimed = claimUnique(folderKey, Main::FolderOf(refusedPath), FileSystemSafeName(base));
    claimed.change = NameChange::RefusedCharacters;
    return claimed;
}

OutputNames::Claim OutputNames::claimUnique(const QString &folderKey, const QString &folderText,
                                            const QString &base)
{
    const std::lock_guard lock(mutex_);
    const QString keyFolder = Main::FolderWithSeparator(folderKey);
    for (int number = 1;; ++number) {
        const QString name = number == 1 ? base + kExtension
                                         : base + QStringLiteral(" (%1)").arg(number) + kExtension;
        const QString key = keyFolder + name.toCaseFolded();
        if (!taken_.contains(key)) {
            taken_.insert(key);
            return {Main::FolderWithSeparator(folderText) + name,
                    number == 1 ? NameChange::None : NameChange::SameNameInList};
        }
    }
}

} // namespace velunor
