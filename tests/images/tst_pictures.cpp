// Loading the pictures that sightings link: every kind the viewer offers, told by content, at its
// pixel or natural size; and the error numbers of files that cannot be shown.
#include "images/PictureFiles.h"
#include "images/PictureLoader.h"

#include <unistd.h>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;
using namespace picturefiles;

namespace {

constexpr int kColourSlack = 12;  // JPEG and WebP are lossy

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSize metafileSize(double dpiX, double dpiY) {
    return {qRound(kMetafileInches.width() * dpiX), qRound(kMetafileInches.height() * dpiY)};
}

bool isNear(const QColor& colour, const QColor& expected) {
    return qAbs(colour.red() - expected.red()) <= kColourSlack &&
           qAbs(colour.green() - expected.green()) <= kColourSlack &&
           qAbs(colour.blue() - expected.blue()) <= kColourSlack && colour.alpha() == 255;
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void loadsEveryFormat_data();
    void loadsEveryFormat();
    void reportsFailures_data();
    void reportsFailures();

private:
    QTemporaryDir m_dir;
};

void TestPictures::loadsEveryFormat_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("sizeSlack");
    QTest::addColumn<QColor>("corner");  // top left; the metafiles leave it blank, on white
    const QString folder = m_dir.path();
    const QColor white(Qt::white);
    for (const QString& format : formats()) {
        const bool metafile = format == u"wmf"_s || format == u"emf"_s;
        QTest::newRow(qPrintable(format)) << writePicture(folder, format) << 96.0 << 96.0
                                          << (metafile ? metafileSize(96, 96) : kRasterSize)
                                          << (metafile ? 1 : 0) << (metafile ? white : kColour);
    }
    for (const char* format : {"wmf", "emf"}) {
        QTest::addRow("%s at 144 x 72 dpi", format)
            << writePicture(folder, QString::fromLatin1(format)) << 144.0 << 72.0
            << metafileSize(144, 72) << 1 << white;
    }
    const QString jpegAsGif = folder + u"/jpeg.gif"_s;
    const QString wmfAsPng = folder + u"/wmf.png"_s;
    QFile::copy(writePicture(folder, u"jpg"_s), jpegAsGif);
    QFile::copy(writePicture(folder, u"wmf"_s), wmfAsPng);
    QTest::newRow("jpeg named .gif") << jpegAsGif << 96.0 << 96.0 << kRasterSize << 0 << kColour;
    QTest::newRow("wmf named .png")
        << wmfAsPng << 96.0 << 96.0 << metafileSize(96, 96) << 1 << white;
    // A WMF without its placeable header gives no size: it is fitted to what it draws, and libwmf's
    // units (here twips) are taken as points, which at 4.8 dpi come out as twips do at 96.
    const QString plainWmf =
        writeFile(folder + u"/plain.wmf"_s, bytesOf(writePicture(folder, u"wmf"_s)).mid(22));
    const QSize drawn(metafileSize(96, 96).width() * 3 / 4, metafileSize(96, 96).height());
    QTest::newRow("wmf without its placeable header")
        << plainWmf << 4.8 << 4.8 << drawn << 1 << kColour;
    // 45 megapixels, as a full-frame camera takes them: beyond Qt's own reading limit.
    const QSize camera(8192, 5464);
    QImage photo(camera, QImage::Format_RGB32);
    photo.fill(kColour);
    const QString photoPath = folder + u"/camera.jpg"_s;
    photo.save(photoPath, "JPG", 80);
    QTest::newRow("a full-frame camera's photograph")
        << photoPath << 96.0 << 96.0 << camera << 0 << kColour;
}

void TestPictures::loadsEveryFormat() {
    QFETCH(QString, path);
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);
    QFETCH(QSize, size);
    QFETCH(int, sizeSlack);
    QFETCH(QColor, corner);
    QVERIFY2(!path.isEmpty(), "the picture could not be written");

    const LoadedPicture loaded = loadPicture(path, dpiX, dpiY);
    QVERIFY2(loaded.ok(), qPrintable(loaded.description));
    QVERIFY2(qAbs(loaded.image.width() - size.width()) <= sizeSlack &&
                 qAbs(loaded.image.height() - size.height()) <= sizeSlack,
             qPrintable(u"%1 x %2"_s.arg(loaded.image.width()).arg(loaded.image.height())));
    const QColor centre = loaded.image.pixelColor(loaded.image.rect().center());
    QVERIFY2(isNear(centre, kColour), qPrintable(centre.name(QColor::HexArgb)));
    const QColor topLeft = loaded.image.pixelColor(0, 0);
    QVERIFY2(isNear(topLeft, corner), qPrintable(topLeft.name(QColor::HexArgb)));
}

void TestPictures::reportsFailures_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("description");
    QTest::addColumn<qint64>("largest");
    const QString folder = m_dir.path();
    const qint64 largest = kLargestPicture;
    const QString notFound = u"File not found"_s;
    const QString noAccess = u"Path/File access error"_s;
    const QString invalid = u"Invalid picture"_s;

    QTest::newRow("missing") << folder + u"/none.jpg"_s << 53 << notFound << largest;
    const QString locked = writePicture(folder, u"png"_s);
    QFile::setPermissions(locked, {});
    QTest::newRow("unreadable") << locked << 75 << noAccess << largest;
    QTest::newRow("text named .jpg")
        << writeFile(folder + u"/notes.jpg"_s, "Grey heron, 3 May\n") << 481 << invalid << largest;
    QTest::newRow("empty") << writeFile(folder + u"/empty.bmp"_s, {}) << 481 << invalid << largest;
    for (const QString& format : {u"wmf"_s, u"emf"_s}) {
        const QByteArray whole = bytesOf(writePicture(folder, format));
        QTest::addRow("%s cut short", qPrintable(format))
            << writeFile(folder + u"/cut."_s + format, whole.left(whole.size() / 2)) << 481
            << invalid << largest;
    }
    // Too large for memory: a header that claims 30000 x 30000 pixels is refused before the
    // pixels are read; so is a small picture when less memory may be used.
    // (The height and width of a baseline JPEG follow its frame marker and a length and
    // precision.)
    QByteArray jpeg = bytesOf(writePicture(folder, u"jpg"_s));
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    for (const qsizetype at : {frame + 5, frame + 7}) {
        qToBigEndian<quint16>(30000, jpeg.data() + at);
    }
    QTest::newRow("30000 x 30000 pixels")
        << writeFile(folder + u"/huge.jpg"_s, jpeg) << 7 << u"Out of memory"_s << largest;
    QTest::newRow("more than may be used")
        << writePicture(folder, u"png"_s) << 7 << u"Out of memory"_s
        << qint64(kRasterSize.width() * kRasterSize.height() * 4 - 1);
}

void TestPictures::reportsFailures() {
    QFETCH(QString, path);
    QFETCH(int, errorNumber);
    QFETCH(QString, description);
    QFETCH(qint64, largest);
    if (QByteArray(QTest::currentDataTag()) == "unreadable" && ::geteuid() == 0) {
        QSKIP("root reads any file");
    }

    const LoadedPicture loaded = loadPicture(path, 96, 96, largest);
    QCOMPARE(loaded.errorNumber, errorNumber);
    QVERIFY2(loaded.description.startsWith(description), qPrintable(loaded.description));
    // A file that is there but cannot be shown is named, with the reason.
    if (errorNumber == 481 || errorNumber == 7) {
        QVERIFY2(loaded.description.endsWith(u": "_s + path), qPrintable(loaded.description));
    }
    QVERIFY(loaded.image.isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
