#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The language the program speaks: the user's locale chooses it among the
// translations at hand. English is the program's own language and needs no
// catalogue, so an English, C or POSIX locale costs nothing at start.
namespace velunor::shell::Languages {

// The catalogue of everything the command line shows (the core's words
// included), and the one the window adds to it.
inline const QString CommandLineCatalogue = QStringLiteral("velunor");
inline const QString WindowCatalogue = QStringLiteral("velunor_window");

// The language the locale asks for ("de", "pt_BR"), as the environment
// gives it in the order gettext reads it: LANGUAGE (a list, best first)
// unless the messages' locale (LC_ALL, LC_MESSAGES, LANG) is C or POSIX, and
// else that locale. Each entry is tried as it is and then by its language
// alone; the first that `isAtHand` accepts wins. "" when English comes first,
// when the locale is C or POSIX, or when no wanted language is at hand.
QString Chosen(const std::function<bool(const QString &language)> &isAtHand);

// Installs, for the language the locale chooses, the program's catalogues
// `catalogues` (the first one decides which languages are at hand) and Qt's
// own catalogues `qtCatalogues` ("qtbase") from Qt's folder. The program's
// lie in `folder`, by default in translations/ beside the program, which is
// looked up only once a language other than English is wanted. Needs the
// application object, which keeps them. Returns the language, "" for
// English, when nothing is installed.
QString Install(const QStringList &catalogues, const QStringList &qtCatalogues = {},
                const QString &folder = QString());

// The language installed, "" for English.
QString Current();

// Takes every installed catalogue away again: the program speaks English.
void Remove();

} // namespace velunor::shell::Languages
