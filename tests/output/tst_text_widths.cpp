// Whether a text fits, worked out from its letters, must be what measuring it whole says, in
// every font, for every kind of text, right at the edge of the room.
#include "output/TextWidths.h"
#include "platform/TwipCanvas.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A canvas that measures and counts its measuring.
class MeasuringCanvas : public TwipCanvas {
public:
    double scaleWidth() const override { return 10800; }
    double scaleHeight() const override { return 14400; }
    double textWidth(const QString& text) const override {
        ++measured;
        return TwipCanvas::textWidth(text);
    }
    mutable int measured = 0;

protected:
    void paintText(QPointF, const QString&) override {}
    void paintLine(QPointF, QPointF) override {}
    void startPage() override {}
    void finish() override {}
};

const QStringList kTexts = {
    u"Somali Ostrich"_s,
    u"Puffinus puffinus, Buff-spotted Flufftail"_s,
    u"AVATAR To Ty Yo Wa office fjord"_s,
    u"Côte d'Ivoire, Señor Núñez, café"_s,
    u"Łódź, Dương, Ørsted"_s,  // letters beyond Latin-1
    u"two  spaces and a trailing one "_s,
    u" leading"_s,
    u"Photographed from the boat, light rain, \"café con leche\" afterwards."_s,
};

}  // namespace

class TestTextWidths : public QObject {
    Q_OBJECT

private slots:
    void fitsAsMeasuringWhole_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        // Liberation shapes letter pairs only; DejaVu joins "ffi" and others.
        QTest::newRow("Arial") << u"Arial"_s << false;
        QTest::newRow("Arial bold") << u"Arial"_s << true;
        QTest::newRow("DejaVu Sans") << u"DejaVu Sans"_s << false;
        QTest::newRow("Times New Roman") << u"Times New Roman"_s << false;
    }

    void fitsAsMeasuringWhole() {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        MeasuringCanvas canvas;
        canvas.setFontName(family);
        canvas.setFontSize(9);
        canvas.setFontBold(bold);
        TextWidths widths(canvas);
        widths.useFont(family + QString::number(bold));
        for (const QString& text : kTexts) {
            const double exact = canvas.TwipCanvas::textWidth(text);
            for (const double room : {exact - 20, exact - 0.5, exact, exact + 0.5, exact + 20}) {
                QVERIFY2(widths.fits(text, room) == (exact <= room),
                         qPrintable(u"%1 in %2"_s.arg(text).arg(room - exact)));
                // The same line built word by word, as wrapping builds it.
                const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
                TextWidths::Estimate line = widths.of(words.first());
                for (qsizetype i = 1; i < words.size(); ++i) {
                    line = widths.joined(line, words[i - 1].back(), words[i]);
                }
                const QString joined = words.join(u' ');
                QVERIFY2(widths.fits(joined, line, room) ==
                             (canvas.TwipCanvas::textWidth(joined) <= room),
                         qPrintable(u"%1 built in %2"_s.arg(joined).arg(room - exact)));
            }
        }
    }

    // Far from the edge, a font that shapes pair by pair needs no measuring once its letters
    // are known.
    void measuresOnlyNearTheEdge() {
        MeasuringCanvas canvas;
        canvas.setFontName(u"Arial"_s);
        canvas.setFontSize(9);
        TextWidths widths(canvas);
        widths.useFont(u"text"_s);
        const QString text = u"Seen at dawn from the hide"_s;
        QVERIFY(widths.fits(text, 1e6));
        const int before = canvas.measured;
        QVERIFY(widths.fits(text, 1e6));
        QVERIFY(!widths.fits(text, 10));
        QCOMPARE(canvas.measured, before);
    }
};

QTEST_MAIN(TestTextWidths)
#include "tst_text_widths.moc"
