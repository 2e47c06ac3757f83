#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One species of the world checklist, with its order and family as the lookup lists hold them
// (scientific names).
struct ChecklistSpecies {
    QString english;
    QString scientific;
    QString order;
    QString family;
};

// The world checklist shipped with the program: every species with its English and scientific
// names, order and family, indexed for completing a name as it is typed and for finding a
// species by either name. Names are compared ignoring letter case, accents and apostrophes.
class Checklist {
public:
    enum class Names { English, Scientific };

    // The checklist of a CSV file with the columns common_name, scientific_name, order and
    // family_scientific (others are ignored); no value when the file is missing, unreadable or
    // not such a checklist, with what is wrong with it in `error` ("is missing").
    static std::optional<Checklist> load(const QString& path, QString& error);
    static std::optional<Checklist> fromCsv(const QString& text, QString& error);

    qsizetype size() const { return m_species.size(); }
    const ChecklistSpecies& at(qsizetype index) const { return m_species[index]; }

    // The species whose names of the given kind match `typed`: first those in which every typed
    // word begins a word of the name ("eur wr": "Eurasian Wren"), then those holding the typed
    // text anywhere; each group in checklist order.
    QList<qsizetype> complete(Names kind, const QString& typed) const;

    // The species of that name, if the checklist has it.
    std::optional<qsizetype> find(Names kind, const QString& name) const;

private:
    Checklist() = default;
    const QStringList& keysOf(Names kind) const {
        return kind == Names::English ? m_englishKeys : m_scientificKeys;
    }

    QList<ChecklistSpecies> m_species;
    QStringList m_englishKeys;  // folded names: words of letters and digits, one space apart
    QStringList m_scientificKeys;
    QHash<QString, qsizetype> m_byEnglish;  // by folded name
    QHash<QString, qsizetype> m_byScientific;
};

// A name folded for matching: case and accents dropped, apostrophes left out, and every other
// run of characters that are not letters or digits made one space ("Rüppell’s Warbler":
// "ruppells warbler").
QString foldName(const QString& name);
