// The picture links of a sighting: its stored Images text read into paths and written back.
//
// Input: the stored text as it is (any bytes). Its lines are also taken as a list of paths to
// store, each one checked with storable() first, as the viewer does before linking a file.
#include "FuzzInput.h"
#include "images/ImageLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString stored = fuzz::typedText(data, size);

    // Reading any stored text and writing it again keeps every character of it: a text that
    // does not end in a comma only gains one.
    const QStringList paths = links::read(stored);
    const QString written = links::write(paths);
    FUZZ_CHECK(!written.isNull());
    const bool closed = stored.isEmpty() || stored.endsWith(QLatin1Char(','));
    FUZZ_CHECK(written == (closed ? stored : stored + QLatin1Char(',')));
    FUZZ_CHECK(paths.size() == stored.count(QLatin1Char(',')) + (closed ? 0 : 1));
    FUZZ_CHECK(links::read(written) == paths);

    // Paths the viewer accepts come back as they went in, in their order.
    QStringList accepted;
    for (const QString& path : fuzz::linesOf(stored)) {
        FUZZ_CHECK(links::storable(path) == !path.contains(QLatin1Char(',')));
        if (links::storable(path)) {
            accepted.append(path);
        }
    }
    FUZZ_CHECK(links::read(links::write(accepted)) == accepted);
    FUZZ_CHECK(links::write({}).isEmpty() && links::read(QString()).isEmpty());
    return 0;
}
