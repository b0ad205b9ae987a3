#include "filelist/WildcardPattern.h"

namespace velunor::filelist {

WildcardPattern::WildcardPattern(const QString &pattern) : folded_(pattern.toCaseFolded())
{
    if (folded_.endsWith(QLatin1String(".*"))) {
        hasAnyExtensionTail_ = true;
        foldedStem_ = folded_.chopped(2);
    }
}

bool WildcardPattern::matches(QStringView name) const
{
    return matchesFolded(name, folded_) ||
           (hasAnyExtensionTail_ && matchesFolded(name, foldedStem_));
}

bool WildcardPattern::matchesFolded(QStringView name, QStringView pattern)
{
    // Greedy matching that returns to the last "*" on a mismatch: linear for
    // the usual patterns, never exponential.
    qsizetype n = 0, p = 0;
    qsizetype starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            resumeAt = n;
            continue;
        }
        if (p < pattern.size() &&
            (pattern[p] == QLatin1Char('?') || pattern[p] == name[n].toCaseFolded())) {
            ++p;
            ++n;
            continue;
        }
        if (starAt < 0)
            return false;
        p = starAt + 1;
        n = ++resumeAt;
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace velunor::filelist
