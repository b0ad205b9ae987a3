#pragma once

#include <QString>

namespace velunor {
class Platform;
}

// Start-up and event routines that belong to the window alone.
namespace velunor::Main {

// Opens the home page on about one start in a hundred: the drawn number
// (1 to 100) must be exactly 7. Returns the drawn number.
int HomePageChance(velunor::Platform &platform);
inline const QString kHomePage = QStringLiteral("https://velunor.org/");

} // namespace velunor::Main
