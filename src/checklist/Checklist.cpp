#include "checklist/Checklist.h"

#include "database/CsvReader.h"

#include <QFile>
#include <QVarLengthArray>
#include <algorithm>

namespace {

bool isApostrophe(QChar ch) {
    switch (ch.unicode()) {
        case u'\'':
        case u'`':
        case u'\u2018':
        case u'\u2019':
        case u'\u02BC':
            return true;
        default:
            return false;
    }
}

// Letters that carry no accent to drop but are written as plain letters when typed.
QStringView plainLetters(QChar folded) {
    switch (folded.unicode()) {
        case u'\u00DF':
            return u"ss";
        case u'\u00E6':
            return u"ae";
        case u'\u00F8':
            return u"o";
        case u'\u0153':
            return u"oe";
        case u'\u0142':
            return u"l";
        case u'\u0111':
        case u'\u00F0':
            return u"d";
        case u'\u00FE':
            return u"th";
        case u'\u0131':
            return u"i";
        default:
            return {};
    }
}

using Words = QVarLengthArray<QStringView, 8>;

Words wordsOf(QStringView key) {
    Words words;
    for (QStringView word : key.tokenize(u' ')) {
        words.append(word);
    }
    return words;
}

// Every typed word begins a word of the name, each a word of its own. The typed words come
// longest first: a shorter word that begins the same name words as a longer one begins all the
// name words the longer one does, so placing the longer ones first never misplaces one.
bool everyWordBegins(QStringView key, const Words& typed) {
    const Words name = wordsOf(key);
    QVarLengthArray<bool, 8> used(name.size(), false);
    for (QStringView word : typed) {
        qsizetype at = 0;
        while (at < name.size() && (used[at] || !name[at].startsWith(word))) {
            ++at;
        }
        if (at == name.size()) {
            return false;
        }
        used[at] = true;
    }
    return true;
}

}  // namespace

QString foldName(const QString& name) {
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    bool apart = false;
    for (const QChar ch : decomposed) {
        if (ch.category() == QChar::Mark_NonSpacing || isApostrophe(ch)) {
            continue;
        }
        if (!ch.isLetterOrNumber()) {
            apart = true;
            continue;
        }
        if (apart && !folded.isEmpty()) {
            folded += u' ';
        }
        apart = false;
        const QChar lower = ch.toCaseFolded();
        const QStringView plain = plainLetters(lower);
        if (plain.isEmpty()) {
            folded += lower;
        } else {
            folded += plain;
        }
    }
    return folded;
}

std::optional<Checklist> Checklist::load(const QString& path, QString& error) {
    QFile file(path);
    if (!file.exists()) {
        error = QStringLiteral("is missing");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot be read");
        return std::nullopt;
    }
    return fromCsv(QString::fromUtf8(file.readAll()), error);
}

std::optional<Checklist> Checklist::fromCsv(const QString& text, QString& error) {
    QList<QStringList> rows = parseCsv(text);
    if (rows.isEmpty()) {
        error = QStringLiteral("is empty");
        return std::nullopt;
    }
    QStringList header = rows.takeFirst();
    for (QString& name : header) {
        name = name.trimmed().remove(QChar(0xFEFF));
    }
    const char* const needed[] = {"common_name", "scientific_name", "order", "family_scientific"};
    qsizetype column[4];
    for (int i = 0; i < 4; ++i) {
        column[i] = header.indexOf(QLatin1String(needed[i]));
        if (column[i] < 0) {
            error = QStringLiteral("has no %1 column").arg(QLatin1String(needed[i]));
            return std::nullopt;
        }
    }
    const qsizetype width = *std::max_element(std::begin(column), std::end(column)) + 1;

    Checklist checklist;
    checklist.m_species.reserve(rows.size());
    checklist.m_englishKeys.reserve(rows.size());
    checklist.m_scientificKeys.reserve(rows.size());
    checklist.m_byEnglish.reserve(rows.size());
    checklist.m_byScientific.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        ChecklistSpecies species;
        if (row.size() >= width) {
            species = {row[column[0]].trimmed(), row[column[1]].trimmed(), row[column[2]].trimmed(),
                       row[column[3]].trimmed()};
        }
        if (species.english.isEmpty() || species.scientific.isEmpty()) {
            // Rows are counted as a spreadsheet shows them, the header being row 1.
            error = QStringLiteral("has no species in row %1").arg(r + 2);
            return std::nullopt;
        }
        const qsizetype index = checklist.m_species.size();
        checklist.m_englishKeys.append(foldName(species.english));
        checklist.m_scientificKeys.append(foldName(species.scientific));
        // A name listed twice finds its first species.
        if (!checklist.m_byEnglish.contains(checklist.m_englishKeys.last())) {
            checklist.m_byEnglish.insert(checklist.m_englishKeys.last(), index);
        }
        if (!checklist.m_byScientific.contains(checklist.m_scientificKeys.last())) {
            checklist.m_byScientific.insert(checklist.m_scientificKeys.last(), index);
        }
        checklist.m_species.append(std::move(species));
    }
    if (checklist.m_species.isEmpty()) {
        error = QStringLiteral("holds no species");
        return std::nullopt;
    }
    return checklist;
}

QList<qsizetype> Checklist::complete(Names kind, const QString& typed) const {
    QList<qsizetype> found;
    const QString query = foldName(typed);
    if (query.isEmpty()) {
        return found;
    }
    Words words = wordsOf(query);
    std::stable_sort(words.begin(), words.end(),
                     [](QStringView a, QStringView b) { return a.size() > b.size(); });
    const QStringList& keys = keysOf(kind);
    QList<qsizetype> inside;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (everyWordBegins(keys[i], words)) {
            found.append(i);
        } else if (keys[i].contains(query)) {
            inside.append(i);
        }
    }
    found.append(inside);
    return found;
}

std::optional<qsizetype> Checklist::find(Names kind, const QString& name) const {
    const QHash<QString, qsizetype>& index = kind == Names::English ? m_byEnglish : m_byScientific;
    const auto at = index.constFind(foldName(name));
    if (at == index.constEnd()) {
        return std::nullopt;
    }
    return *at;
}
