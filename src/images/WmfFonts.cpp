#include "images/WmfFonts.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <vector>

// After Qt's headers (see WmfFonts.h).
#include <fontconfig/fontconfig.h>
#include <libwmf/api.h>

namespace {

// Each PostScript name libwmf may ask for, and the fontconfig pattern for a font like it.
constexpr const char* kStandardFonts[][2] = {
    {"Times-Roman", "Times:scalable=true"},
    {"Times-Italic", "Times:italic:scalable=true"},
    {"Times-Bold", "Times:bold:scalable=true"},
    {"Times-BoldItalic", "Times:bold:italic:scalable=true"},
    {"Helvetica", "Helvetica:scalable=true"},
    {"Helvetica-Oblique", "Helvetica:italic:scalable=true"},
    {"Helvetica-Bold", "Helvetica:bold:scalable=true"},
    {"Helvetica-BoldOblique", "Helvetica:bold:italic:scalable=true"},
    {"Courier", "Courier:scalable=true"},
    {"Courier-Oblique", "Courier:italic:scalable=true"},
    {"Courier-Bold", "Courier:bold:scalable=true"},
    {"Courier-BoldOblique", "Courier:bold:italic:scalable=true"},
    {"Symbol", "Symbol:scalable=true"},
};

// The path of the font file fontconfig picks for a pattern; empty when it has none.
QByteArray matchingFontFile(const char* pattern) {
    QByteArray path;
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!wanted) {
        return path;
    }
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, wanted, &result);
    FcChar8* file = nullptr;
    if (found && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
        path = reinterpret_cast<const char*>(file);
    }
    if (found) {
        FcPatternDestroy(found);
    }
    FcPatternDestroy(wanted);
    return path;
}

// What libwmf is handed: file names under folders, both lists ending in a null entry. libwmf copies
// them, but they are kept for the whole run so that fontconfig is asked only once.
struct FontTable {
    QList<QByteArray> strings;
    std::vector<wmfMapping> mappings;
    std::vector<char*> folders;
};

FontTable makeTable() {
    FontTable table;
    for (const auto& [postScriptName, pattern] : kStandardFonts) {
        const QFileInfo file(QString::fromLocal8Bit(matchingFontFile(pattern)));
        if (file.fileName().isEmpty()) {
            continue;
        }
        // A QByteArray keeps its bytes where they are when the list it is in grows.
        table.strings << postScriptName << file.fileName().toLocal8Bit()
                      << file.absolutePath().toLocal8Bit();
        const qsizetype last = table.strings.size() - 1;
        wmfMapping mapping{};
        mapping.name = table.strings[last - 2].data();
        mapping.mapping = table.strings[last - 1].data();
        table.mappings.push_back(mapping);
        table.folders.push_back(table.strings[last].data());
    }
    table.mappings.push_back(wmfMapping{});
    table.folders.push_back(nullptr);
    return table;
}

}  // namespace

void addWmfFonts(wmfAPI_Options* options, unsigned long* flags) {
    static FontTable table = makeTable();
    if (table.mappings.size() <= 1) {
        return;  // fontconfig found nothing: libwmf keeps to its own folder
    }
    options->fontdirs = table.folders.data();
    options->font.ps = table.mappings.data();
    *flags |= WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP;
}
