#pragma once

#include <QString>

namespace velunor::platform {
class Platform;
}

// Start-up and event routines that belong to the window alone.
namespace velunor::shell::Main {

// Opens the home page on about one start in a hundred: the drawn number
// (1 to 100) must be exactly 7. Returns the drawn number.
int HomePageChance(velunor::platform::Platform &platform);
inline const QString kHomePage = QStringLiteral("https://velunor.org/");

} // namespace velunor::shell::Main
