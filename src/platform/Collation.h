#pragma once

#include <QCollatorSortKey>
#include <QString>

// The desktop's alphabetical order: letter case and accents count only between texts that are
// otherwise the same ("Côte d'Ivoire" before "Czechia", "Åland Islands" among the A's). A
// desktop without a language of its own ("C", "POSIX") gets the order of English.
namespace collation {

// True when `a` comes before `b`; texts the order calls equal are ordered by character code, so
// that the order is the same at every run.
bool before(const QString& a, const QString& b);

// A text's place in that order, worked out once, for sorting many texts: keys compare as
// `before` compares their texts.
class Key {
public:
    explicit Key(const QString& text);
    int compare(const Key& other) const;

private:
    QCollatorSortKey m_key;
    QString m_text;
};

}  // namespace collation
