// The report layout file (birdlist.rpt), which users edit: read as the printed life list reads
// it before every print or preview.
//
// Input: the contents of the layout file.
#include "FuzzInput.h"
#include "database/Schema.h"
#include "output/ReportLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

// In memory where the system has a folder for it, as for the settings file's target.
QString scratchTemplate() {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/plovix-fuzz-XXXXXX");
}

const QString& layoutPath() {
    static QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("birdlist.rpt"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder for the layout file\n");
        std::abort();
    }
    return path;
}

void writeLayout(const QByteArray& bytes) {
    QFile file(layoutPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(layoutPath()));
        std::abort();
    }
}

const QStringList kPageValues = {QStringLiteral("Title"), QStringLiteral("CompanyTag"),
                                 QStringLiteral("PrintDate"), QStringLiteral("Page"),
                                 QStringLiteral("Pages")};

QStringList lifeListFields() {
    QStringList fields = lifelist::birdListFields();
    fields.append(QStringLiteral("Number"));
    return fields;
}

// A text the report fills in names only the values it can show there.
void checkText(const QString& text, const QStringList& extraValues) {
    FUZZ_CHECK(text.size() <= 1000);
    fillIn(text, [&](const QString& name) {
        FUZZ_CHECK(kPageValues.contains(name) || extraValues.contains(name));
        return QString();
    });
}

void checkLine(const ReportLayout& layout, const ReportLine& line, const QStringList& extraValues) {
    if (line.rule) {
        return;
    }
    FUZZ_CHECK(layout.fonts.contains(line.font));
    FUZZ_CHECK(!line.pieces.isEmpty());
    FUZZ_CHECK(std::isfinite(line.indent) && line.indent >= 0);
    for (const ReportPiece& piece : line.pieces) {
        checkText(piece.text, extraValues);
    }
}

// A layout that is read is one the report can lay out: every font it names is given, sizes and
// lengths are within bounds, and the page has room.
void checkLayout(const ReportLayout& layout) {
    for (const ReportFont& font : layout.fonts) {
        FUZZ_CHECK(font.points >= 1 && font.points <= 200);
    }
    const QMarginsF& m = layout.margins;
    const QSizeF paper = layout.landscape ? layout.paper.transposed() : layout.paper;
    FUZZ_CHECK(m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0);
    FUZZ_CHECK(m.left() + m.right() < paper.width() && m.top() + m.bottom() < paper.height());

    FUZZ_CHECK(layout.fonts.contains(layout.rowsFont));
    FUZZ_CHECK(layout.headingsFont.isEmpty() || layout.fonts.contains(layout.headingsFont));
    for (const QList<ReportLine>* lines : {&layout.header, &layout.footer}) {
        for (const ReportLine& line : *lines) {
            checkLine(layout, line, {});
        }
    }

    const QStringList fields = lifeListFields();
    FUZZ_CHECK(!layout.columns.isEmpty() && layout.columns.size() <= 50);
    double total = 0;
    for (const ReportColumn& column : layout.columns) {
        FUZZ_CHECK(column.width >= 0.01);
        total += column.width;
        checkText(column.heading, {});
        checkText(column.text, fields);
    }
    FUZZ_CHECK(total <= 1.0001);

    FUZZ_CHECK(layout.groups.size() <= 10 && layout.sortFields.size() <= 15);
    for (const ReportGroup& group : layout.groups) {
        checkLine(layout, group.line, {QStringLiteral("Value"), QStringLiteral("Count")});
        checkText(group.blank, {});
    }
    // The sightings are read with the fields the report asks for: none that is not the life
    // list's.
    for (const QString& field : layout.fieldsRead()) {
        FUZZ_CHECK(fields.contains(field));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    layoutPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeLayout(fuzz::bytesOf(data, size));
    ReportLayout layout;
    const ReportError error = readReportLayout(layoutPath(), layout);
    if (!error) {
        checkLayout(layout);
        return 0;
    }
    // A mistake is named with the file, and with a line of it when it is on one.
    FUZZ_CHECK(error.number == ReportError::kLayoutInvalid);
    FUZZ_CHECK(error.description.startsWith(QStringLiteral("birdlist.rpt")));
    const QString prefix = QStringLiteral("birdlist.rpt, line ");
    if (error.description.startsWith(prefix)) {
        bool ok = false;
        const qsizetype line =
            error.description.mid(prefix.size()).section(QLatin1Char(':'), 0, 0).toLongLong(&ok);
        FUZZ_CHECK(ok && line >= 1 && line <= fuzz::bytesOf(data, size).count('\n') + 1);
    }
    return 0;
}
