#include "output/ReportLayout.h"

#include "database/Schema.h"
#include "output/LayoutLine.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr double kTwipsPerPoint = 20;

struct Paper {
    const char* name;
    double width;  // points
    double height;
};
constexpr Paper kPapers[] = {
    {"A3", 841.89, 1190.55}, {"A4", 595.28, 841.89}, {"A5", 419.53, 595.28},
    {"Letter", 612, 792},    {"Legal", 612, 1008},   {"Executive", 522, 756},
};

// What a layout may hold. A real one is a few kilobytes; these keep a damaged or hostile file
// from taking the program's time and memory.
constexpr qint64 kLargestFile = 1 << 20;  // bytes
constexpr qsizetype kLongestLine = 4000;  // characters
constexpr qsizetype kLongestText = 1000;
constexpr qsizetype kMostColumns = 50;
constexpr qsizetype kMostGroups = 10;
constexpr qsizetype kMostSortFields = 15;
constexpr double kSmallestFont = 1;  // points
constexpr double kLargestFont = 200;
constexpr double kNarrowestColumn = 0.01;  // of the printable width
// A line of text is at most this many times its font's size high.
constexpr double kLineSpacing = 1.5;
constexpr double kRuleHeight = 120;  // twips, with the space around it

// The values every text of the page may use; groups and columns add their own.
const QStringList kPageValues = {QStringLiteral("Title"), QStringLiteral("CompanyTag"),
                                 QStringLiteral("PrintDate"), QStringLiteral("Page"),
                                 QStringLiteral("Pages")};

using Mistake = LayoutMistake;

class Parser {
public:
    Parser(ReportLayout& layout) : m_layout(layout) {}
    void parseLine(const QString& line);
    void finish();

private:
    QString word(const QString& expected) { return m_line.word(expected); }
    QString quoted(const QString& expected) { return m_line.quoted(expected); }
    bool atEnd() const { return m_line.atEnd(); }
    QString font();
    QString field();
    ReportPiece::Align align(const QString& text) const;
    QString checkedText(const QString& text, const QStringList& extraValues) const;
    ReportLine line(const QStringList& extraValues, QString* blank = nullptr);

    ReportLayout& m_layout;
    LayoutLine m_line;
};

QString Parser::font() {
    const QString name = word(QStringLiteral("the font's name"));
    if (!m_layout.fonts.contains(name)) {
        throw Mistake{
            QStringLiteral("the font '%1' is not given on a 'font' line above").arg(name)};
    }
    return name;
}

QString Parser::field() {
    const QString name = word(QStringLiteral("the field's name"));
    if (name != field::Number && !lifelist::birdListFields().contains(name)) {
        throw Mistake{QStringLiteral("'%1' is not a field of the life list").arg(name)};
    }
    return name;
}

ReportPiece::Align Parser::align(const QString& text) const {
    if (text == u"left") {
        return ReportPiece::Left;
    }
    if (text == u"center") {
        return ReportPiece::Center;
    }
    if (text == u"right") {
        return ReportPiece::Right;
    }
    throw Mistake{QStringLiteral("'%1' is not left, center or right").arg(text)};
}

QString Parser::checkedText(const QString& text, const QStringList& extraValues) const {
    if (text.size() > kLongestText) {
        throw Mistake{QStringLiteral("a text of more than %1 characters").arg(kLongestText)};
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'{') {
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'{') {
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', i);
        if (close < 0) {
            throw Mistake{QStringLiteral("a '{' is not closed by '}' (write '{{' for a brace)")};
        }
        const QString name = text.mid(i + 1, close - i - 1);
        if (!kPageValues.contains(name) && !extraValues.contains(name)) {
            throw Mistake{QStringLiteral("{%1} is not a value this text can show").arg(name)};
        }
        i = close;
    }
    return text;
}

// [indent <length>] [blank "<text>"] then one or more <align> "<text>".
ReportLine Parser::line(const QStringList& extraValues, QString* blank) {
    ReportLine result;
    result.font = font();
    while (!atEnd()) {
        const QString keyword = word({});
        if (keyword == u"indent") {
            result.indent = LayoutLine::length(word(QStringLiteral("the indent")));
        } else if (keyword == u"blank" && blank) {
            *blank = checkedText(quoted(QStringLiteral("the text for an empty value")), {});
        } else {
            const ReportPiece::Align where = align(keyword);
            result.pieces.append(
                {where, checkedText(quoted(QStringLiteral("the text")), extraValues)});
        }
    }
    if (result.pieces.isEmpty()) {
        throw Mistake{QStringLiteral("the line has no text")};
    }
    return result;
}

void Parser::parseLine(const QString& text) {
    m_line = LayoutLine(text);
    if (atEnd()) {
        return;
    }
    const QString keyword = word({});
    if (keyword == u"page") {
        const QString name = word(QStringLiteral("the paper size"));
        const auto paper =
            std::find_if(std::begin(kPapers), std::end(kPapers),
                         [&](const Paper& p) { return name == QLatin1String(p.name); });
        if (paper == std::end(kPapers)) {
            throw Mistake{
                QStringLiteral("'%1' is not a paper size (A3, A4, A5, Letter, Legal, Executive)")
                    .arg(name)};
        }
        m_layout.paper = QSizeF(paper->width, paper->height) * kTwipsPerPoint;
        if (!atEnd()) {
            const QString orientation = word({});
            if (orientation != u"portrait" && orientation != u"landscape") {
                throw Mistake{QStringLiteral("'%1' is not portrait or landscape").arg(orientation)};
            }
            m_layout.landscape = orientation == u"landscape";
        }
    } else if (keyword == u"margins") {
        QList<double> sides;
        while (!atEnd()) {
            sides.append(LayoutLine::length(word({})));
        }
        if (sides.size() == 1) {
            m_layout.margins = QMarginsF(sides[0], sides[0], sides[0], sides[0]);
        } else if (sides.size() == 4) {
            m_layout.margins = QMarginsF(sides[3], sides[0], sides[1], sides[2]);
        } else {
            throw Mistake{
                QStringLiteral("margins takes one length, or four: top right bottom left")};
        }
    } else if (keyword == u"font") {
        const QString name = word(QStringLiteral("the font's name"));
        ReportFont font;
        font.family = quoted(QStringLiteral("the font family"));
        font.points = LayoutLine::number(word(QStringLiteral("the font size")),
                                         QStringLiteral("a size in points"));
        while (!atEnd()) {
            const QString style = word({});
            if (style == u"bold") {
                font.bold = true;
            } else if (style == u"italic") {
                font.italic = true;
            } else {
                throw Mistake{QStringLiteral("'%1' is not bold or italic").arg(style)};
            }
        }
        if (!(font.points >= kSmallestFont && font.points <= kLargestFont)) {
            throw Mistake{QStringLiteral("a font's size is from %1 to %2 points")
                              .arg(kSmallestFont)
                              .arg(kLargestFont)};
        }
        m_layout.fonts.insert(name, font);
    } else if (keyword == u"header" || keyword == u"footer") {
        QList<ReportLine>& lines = keyword == u"header" ? m_layout.header : m_layout.footer;
        if (m_line.takeWord(QStringLiteral("rule"))) {
            lines.append(ReportLine{true, {}, 0, {}});
        } else {
            lines.append(line({}));
        }
    } else if (keyword == u"headings") {
        m_layout.headingsFont = font();
    } else if (keyword == u"rows") {
        m_layout.rowsFont = font();
    } else if (keyword == u"column") {
        static const QRegularExpression share(QStringLiteral("^([0-9.]+)%$"));
        const QString width = word(QStringLiteral("the column's width"));
        const QRegularExpressionMatch match = share.match(width);
        if (!match.hasMatch()) {
            throw Mistake{QStringLiteral("'%1' is not a width such as 20%").arg(width)};
        }
        if (m_layout.columns.size() >= kMostColumns) {
            throw Mistake{QStringLiteral("more than %1 columns").arg(kMostColumns)};
        }
        ReportColumn column;
        column.width = LayoutLine::number(match.captured(1), QStringLiteral("a width")) / 100;
        if (column.width < kNarrowestColumn) {
            throw Mistake{
                QStringLiteral("a column is at least %1% wide").arg(kNarrowestColumn * 100)};
        }
        column.align = align(word(QStringLiteral("left, center or right")));
        column.heading = checkedText(quoted(QStringLiteral("the column's heading")), {});
        QStringList fields = lifelist::birdListFields();
        fields.append(field::Number);
        column.text = checkedText(quoted(QStringLiteral("the column's text")), fields);
        m_layout.columns.append(column);
    } else if (keyword == u"sort") {
        while (!atEnd()) {
            m_layout.sortFields.append(field());
            if (m_layout.sortFields.size() > kMostSortFields) {
                throw Mistake{QStringLiteral("more than %1 sort fields").arg(kMostSortFields)};
            }
        }
    } else if (keyword == u"group") {
        if (m_layout.groups.size() >= kMostGroups) {
            throw Mistake{QStringLiteral("more than %1 group lines").arg(kMostGroups)};
        }
        ReportGroup group;
        group.field = field();
        group.line = line({QStringLiteral("Value"), QStringLiteral("Count")}, &group.blank);
        m_layout.groups.append(group);
    } else {
        throw Mistake{QStringLiteral("'%1' is not a layout keyword").arg(keyword)};
    }
    if (!atEnd()) {
        throw Mistake{QStringLiteral("'%1' is one word too many").arg(word({}))};
    }
}

void Parser::finish() {
    if (m_layout.columns.isEmpty()) {
        throw Mistake{QStringLiteral("no 'column' line gives the columns of a sighting")};
    }
    if (m_layout.rowsFont.isEmpty()) {
        throw Mistake{QStringLiteral("no 'rows' line gives the font of the sightings")};
    }
    double total = 0;
    for (const ReportColumn& column : m_layout.columns) {
        total += column.width;
    }
    if (total > 1.0001) {
        throw Mistake{QStringLiteral("the columns are wider than the page (%1%)").arg(total * 100)};
    }
    const QSizeF paper = m_layout.landscape ? m_layout.paper.transposed() : m_layout.paper;
    const QMarginsF& m = m_layout.margins;
    if (m.left() + m.right() >= paper.width() || m.top() + m.bottom() >= paper.height()) {
        throw Mistake{QStringLiteral("the margins leave no room on the page")};
    }
    // Every page has room for a sighting's line under all its group headings.
    const auto height = [this](const ReportLine& line) {
        return line.rule ? kRuleHeight
                         : m_layout.fonts.value(line.font).points * kTwipsPerPoint * kLineSpacing;
    };
    const auto textHeight = [this](const QString& font) {
        return font.isEmpty() ? 0
                              : m_layout.fonts.value(font).points * kTwipsPerPoint * kLineSpacing;
    };
    double needed = textHeight(m_layout.headingsFont) + textHeight(m_layout.rowsFont);
    for (const QList<ReportLine>* lines : {&m_layout.header, &m_layout.footer}) {
        for (const ReportLine& line : *lines) {
            needed += height(line);
        }
    }
    for (const ReportGroup& group : m_layout.groups) {
        needed += height(group.line) + kRuleHeight;
    }
    if (needed > paper.height() - m.top() - m.bottom()) {
        throw Mistake{
            QStringLiteral("the header, footer, headings and groups leave no room for "
                           "the sightings on the page")};
    }
}

}  // namespace

QStringList ReportLayout::sortOrder() const {
    QStringList order;
    for (const ReportGroup& group : groups) {
        order.append(group.field);
    }
    return order + sortFields;
}

QStringList ReportLayout::fieldsRead() const {
    QStringList fields = sortOrder();
    fields.removeDuplicates();
    for (const ReportColumn& column : columns) {
        fillIn(column.text, [&fields](const QString& name) {
            // A value of the page is no field, and no column of the life list to read.
            if (!kPageValues.contains(name) && !fields.contains(name)) {
                fields.append(name);
            }
            return QString();
        });
    }
    return fields;
}

QString fillIn(const QString& text, const std::function<QString(const QString&)>& valueOf) {
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'{') {
            result += text[i++];
        } else if (i + 1 < text.size() && text[i + 1] == u'{') {
            result += u'{';
            i += 2;
        } else {
            const qsizetype close = text.indexOf(u'}', i);
            if (close < 0) {
                result += text.mid(i);
                break;
            }
            result += valueOf(text.mid(i + 1, close - i - 1));
            i = close + 1;
        }
    }
    return result;
}

ReportError parseReportLayout(const QString& fileName, const QString& text, ReportLayout& layout) {
    layout = ReportLayout{};
    Parser parser(layout);
    qsizetype number = 0;
    for (const QStringView line : QStringView(text).tokenize(u'\n')) {
        ++number;
        try {
            if (line.size() > kLongestLine) {
                throw Mistake{
                    QStringLiteral("a line of more than %1 characters").arg(kLongestLine)};
            }
            parser.parseLine(line.toString());
        } catch (const Mistake& mistake) {
            return {ReportError::kLayoutInvalid,
                    QStringLiteral("%1, line %2: %3").arg(fileName).arg(number).arg(mistake.what)};
        }
    }
    try {
        parser.finish();
    } catch (const Mistake& mistake) {
        return {ReportError::kLayoutInvalid, QStringLiteral("%1: %2").arg(fileName, mistake.what)};
    }
    return {};
}

ReportError readReportLayout(const QString& path, ReportLayout& layout) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {ReportError::kLayoutNotFound, file.errorString()};
    }
    // No more than a layout can be is read.
    const QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError) {
        return {ReportError::kLayoutNotFound, file.errorString()};
    }
    const QString name = QFileInfo(path).fileName();
    if (bytes.size() > kLargestFile) {
        return {
            ReportError::kLayoutInvalid,
            QStringLiteral("%1, line %2: the file grows past %3 KB here; a layout takes a few KB")
                .arg(name)
                .arg(bytes.count('\n') + 1)
                .arg(kLargestFile / 1024)};
    }
    return parseReportLayout(name, QString::fromUtf8(bytes), layout);
}
