#pragma once

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>

// A failure of the life-list report: the number the user is shown, and what went wrong.
struct ReportError {
    static constexpr int kLayoutNotFound = 20504;  // the layout file is missing or unreadable
    static constexpr int kLayoutInvalid = 20510;   // the layout file has a mistake
    static constexpr int kPrintFailed = 20513;     // the print job failed

    int number = 0;
    QString description;
    explicit operator bool() const { return number != 0; }
};

struct ReportFont {
    QString family;
    double points = 10;
    bool bold = false;
    bool italic = false;
};

// A text placed at the left, in the centre or at the right of a line or column. The text may
// hold values in braces, as "Page {Page} of {Pages}".
struct ReportPiece {
    enum Align { Left, Center, Right } align = Left;
    QString text;
};

// A line of texts in one font, or a rule across the page.
struct ReportLine {
    bool rule = false;
    QString font;
    double indent = 0;  // twips from the left edge
    QList<ReportPiece> pieces;
};

struct ReportColumn {
    double width = 0;  // share of the printable width, 0 to 1
    ReportPiece::Align align = ReportPiece::Left;
    QString heading;
    QString text;
};

// A level of grouping: a heading line where the field's value changes; {Value} is the value
// (`blank` when it is empty) and {Count} the number of sightings in the group.
struct ReportGroup {
    QString field;
    QString blank;
    ReportLine line;
};

// The printed life list's layout, as its layout file gives it. Lengths are in twips.
struct ReportLayout {
    QSizeF paper{12240, 15840};  // Letter
    bool landscape = false;
    QMarginsF margins{720, 720, 720, 720};
    QHash<QString, ReportFont> fonts;
    QList<ReportLine> header;  // at the top of every page
    QList<ReportLine> footer;  // at the foot of every page
    QString headingsFont;      // the column headings under the header; none when empty
    QString rowsFont;          // the sighting rows
    QList<ReportColumn> columns;
    QList<ReportGroup> groups;  // outermost first
    QStringList sortFields;     // the order of the sightings within the groups

    // Every field the sightings are sorted by: the groups' then the sort fields.
    QStringList sortOrder() const;
    // Every field the report reads: the sort order's, then those the columns show (not the
    // values of the page a column's text may show too).
    QStringList fieldsRead() const;
};

// Reads a layout file. A file that is missing or cannot be read is kLayoutNotFound; a mistake
// in it is kLayoutInvalid, with the line and what is wrong there.
ReportError readReportLayout(const QString& path, ReportLayout& layout);
// The same for a layout's text; `fileName` names it in the descriptions.
ReportError parseReportLayout(const QString& fileName, const QString& text, ReportLayout& layout);

// `text` with each value in braces replaced by what `valueOf` gives for its name; "{{" is a
// brace.
QString fillIn(const QString& text, const std::function<QString(const QString&)>& valueOf);
