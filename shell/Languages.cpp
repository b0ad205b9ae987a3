#include "shell/Languages.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

namespace velunor::shell::Languages {

namespace {

QByteArray Variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

// "C", "C.UTF-8", "POSIX": the locale whose texts are the program's own.
bool IsPlainLocale(const QByteArray &locale)
{
    return locale.isEmpty() || locale == "C" || locale.startsWith("C.") || locale == "POSIX";
}

// "de_DE.UTF-8@euro" becomes "de_DE": the codeset and the modifier name no
// catalogue.
QString WithoutCodeset(const QByteArray &entry)
{
    qsizetype end = entry.size();
    for (const char mark : {'.', '@'})
        if (const qsizetype at = entry.indexOf(mark); at >= 0 && at < end)
            end = at;
    return QString::fromLatin1(entry.left(end));
}

QString CatalogueFile(const QString &folder, const QString &catalogue, const QString &language)
{
    return folder + u'/' + catalogue + u'_' + language + QStringLiteral(".qm");
}

// What Install() installed; the application owns the catalogues.
struct Installed {
    QString language;
    QList<QTranslator *> catalogues;
};

Installed &TheInstalled()
{
    static Installed installed;
    return installed;
}

bool InstallCatalogue(const QString &file)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file) && QCoreApplication::installTranslator(translator)) {
        TheInstalled().catalogues << translator;
        return true;
    }
    delete translator;
    return false;
}

} // namespace

QString Chosen(const std::function<bool(const QString &language)> &isAtHand)
{
    QByteArray messages = Variable("LC_ALL");
    if (messages.isEmpty())
        messages = Variable("LC_MESSAGES");
    if (messages.isEmpty())
        messages = Variable("LANG");
    if (IsPlainLocale(messages))
        return QString();
    const QByteArray list = Variable("LANGUAGE");
    for (const QByteArray &entry : (list.isEmpty() ? QByteArrayList{messages} : list.split(':'))) {
        if (entry.isEmpty())
            continue;
        if (IsPlainLocale(entry))
            return QString();
        const QString wanted = WithoutCodeset(entry);
        const QString language = wanted.section(u'_', 0, 0);
        if (language == QLatin1String("en"))
            return QString();
        if (isAtHand(wanted))
            return wanted;
        if (language != wanted && isAtHand(language))
            return language;
    }
    return QString();
}

QString Install(const QStringList &catalogues, const QStringList &qtCatalogues,
                const QString &given)
{
    if (catalogues.isEmpty())
        return QString();
    QString folder = given;
    const QString language = Chosen([&](const QString &candidate) {
        if (folder.isEmpty())
            folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
        return QFile::exists(CatalogueFile(folder, catalogues.front(), candidate));
    });
    if (language.isEmpty())
        return QString();
    Remove();
    TheInstalled().language = language;
    for (const QString &catalogue : catalogues)
        InstallCatalogue(CatalogueFile(folder, catalogue, language));
    // Qt's catalogues come per language ("qtbase_de"), a few per country
    // ("qtbase_pt_BR"): the closer one where there is one.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &catalogue : qtCatalogues) {
        if (!InstallCatalogue(CatalogueFile(qtFolder, catalogue, language)))
            InstallCatalogue(CatalogueFile(qtFolder, catalogue, language.section(u'_', 0, 0)));
    }
    return language;
}

QString Current()
{
    return TheInstalled().language;
}

void Remove()
{
    Installed &installed = TheInstalled();
    for (QTranslator *catalogue : std::as_const(installed.catalogues)) {
        QCoreApplication::removeTranslator(catalogue);
        delete catalogue;
    }
    installed = Installed();
}

} // namespace velunor::shell::Languages
