#include "platform/Collation.h"

#include <QCollator>
#include <QLocale>

namespace collation {

namespace {

QCollator makeCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// One collator for the whole run, made on first use (lists are sorted on the GUI thread).
const QCollator& theCollator() {
    static const QCollator collator = makeCollator();
    return collator;
}

}  // namespace

bool before(const QString& a, const QString& b) {
    const int order = theCollator().compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

Key::Key(const QString& text) : m_key(theCollator().sortKey(text)), m_text(text) {}

int Key::compare(const Key& other) const {
    const int order = m_key.compare(other.m_key);
    return order != 0 ? order : m_text.compare(other.m_text);
}

}  // namespace collation
