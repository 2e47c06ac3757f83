// The checks in front of libwmf and libemf2svg: whether a picture is a metafile, and the walk
// over its records and the sizes read from its header before a library is handed the file.
//
// Input: the bytes of the picture file.
#include "FuzzInput.h"
#include "images/Metafile.h"
#include "images/MetafileParts.h"

#include <cmath>

namespace {

// The libraries are not fuzzed here: the renderers that call them (WmfPicture.cpp,
// EmfPicture.cpp) are left out, and these stand in for them, noting which renderMetafile chose.
enum class Renderer { None, Wmf, Emf };
Renderer reached = Renderer::None;

// What renderEmf works out before it calls emf2svg.
void checkEmf(const QByteArray& data) {
    qsizetype length = -1;
    if (!metafile::emfDamage(data, &length).isEmpty()) {
        return;
    }
    // The records handed over end with the end-of-file record, and are a whole EMF themselves,
    // whatever follows them in the file.
    FUZZ_CHECK(length >= 88 && length <= data.size() && length % 4 == 0);
    QByteArray records(data.constData(), length);
    qsizetype again = -1;
    FUZZ_CHECK(metafile::emfDamage(records + QByteArray(12, '\x7F'), &again).isEmpty());
    FUZZ_CHECK(again == length);

    const QSizeF mm100 = metafile::emfSizeMm100(data);
    if (!mm100.isEmpty()) {
        FUZZ_CHECK(std::isfinite(mm100.width()) && std::isfinite(mm100.height()));
        for (const double dpi : {96.0, 10000.0}) {
            const double width = std::round(mm100.width() / 2540 * dpi);
            const double height = std::round(mm100.height() / 2540 * dpi);
            // A size that passes is one a QImage can be made at.
            if (metafile::sizeProblem(width, height).isEmpty()) {
                FUZZ_CHECK(width >= 1 && width <= 32767 && height >= 1 && height <= 32767);
            }
        }
    }

    // Only the bounds change, and the records stay whole.
    const QByteArray before = records;
    metafile::setBoundsToFrame(records);
    FUZZ_CHECK(records.size() == before.size());
    FUZZ_CHECK(records.first(8) == before.first(8) && records.sliced(24) == before.sliced(24));
    again = -1;
    FUZZ_CHECK(metafile::emfDamage(records, &again).isEmpty() && again == length);
}

// What renderWmf walks before it opens libwmf.
void checkWmf(const QByteArray& data) {
    QPointF origin;
    bool ownMapping = false;
    if (!metafile::walkWmf(data, &origin, &ownMapping).isEmpty()) {
        return;
    }
    // The walk ends at the end-of-file record: nothing after it is read.
    QPointF originAgain;
    bool ownMappingAgain = false;
    FUZZ_CHECK(
        metafile::walkWmf(data + QByteArray(7, '\xFF'), &originAgain, &ownMappingAgain).isEmpty());
    FUZZ_CHECK(originAgain == origin && ownMappingAgain == ownMapping);
}

}  // namespace

namespace metafile {

QImage renderWmf(const QByteArray&, double, double, QString* error) {
    reached = Renderer::Wmf;
    return failure(error, QStringLiteral("not drawn here"));
}

QImage renderEmf(const QByteArray&, double, double, QString* error) {
    reached = Renderer::Emf;
    return failure(error, QStringLiteral("not drawn here"));
}

}  // namespace metafile

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);

    // The picture loader judges by the first bytes it peeks at; they are enough.
    const bool metafile = isMetafile(bytes);
    FUZZ_CHECK(isMetafile(bytes.first(std::min<qsizetype>(bytes.size(), 44))) == metafile);

    // A metafile reaches the renderer of its kind, at a resolution it can be drawn at; anything
    // else is refused before either.
    for (const double dpi : {96.0, 0.0}) {
        reached = Renderer::None;
        QString error;
        FUZZ_CHECK(renderMetafile(bytes, dpi, dpi, &error).isNull() && !error.isEmpty());
        const Renderer expected = dpi == 0 || !metafile    ? Renderer::None
                                  : metafile::isEmf(bytes) ? Renderer::Emf
                                                           : Renderer::Wmf;
        FUZZ_CHECK(reached == expected);
    }

    checkEmf(bytes);
    checkWmf(bytes);
    return 0;
}
