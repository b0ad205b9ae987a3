#pragma once

#include <QString>
#include <QStringView>

namespace velunor::filelist {

// A file-name pattern with the two wildcards users know from file dialogs:
// "*" (any run of characters, none included) and "?" (exactly one character),
// matched without regard to case. Every other character, "[" included, stands
// for itself. A pattern ending in ".*" also matches a name without any dot, so
// "*.*" matches every name.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString &pattern);

    bool matches(QStringView name) const;

private:
    static bool matchesFolded(QStringView name, QStringView foldedPattern);

    QString folded_;
    // The pattern without its trailing ".*", when it has one.
    QString foldedStem_;
    bool hasAnyExtensionTail_ = false;
};

} // namespace velunor::filelist
