#pragma once

#include <QString>

// The desktop's alphabetical order: letter case and accents count only between texts that are
// otherwise the same ("Côte d'Ivoire" before "Czechia", "Åland Islands" among the A's). A
// desktop without a language of its own ("C", "POSIX") gets the order of English.
namespace collation {

// True when `a` comes before `b`; texts the order calls equal are ordered by character code, so
// that the order is the same at every run.
bool before(const QString& a, const QString& b);

}  // namespace collation
