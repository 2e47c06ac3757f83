// The record form's fields: lookup boxes that grow as entries are typed, the family list that
// follows the order, the fixed month and year lists, length checks, the binomial name, the
// Edit menu and the status-bar hints.
#include "FormFixture.h"

#include "record_form/MValidation.h"

#include <QClipboard>
#include <QMenuBar>

namespace {

QList<Sighting> sightings() {
    return {
        {{QStringLiteral("CommonName"), QStringLiteral("Wren")},
         {QStringLiteral("Order"), QStringLiteral("Passeriformes")},
         {QStringLiteral("Family"), QStringLiteral("Troglodytidae")}},
        {{QStringLiteral("CommonName"), QStringLiteral("Osprey")},
         {QStringLiteral("Order"), QStringLiteral("Accipitriformes")},
         {QStringLiteral("Family"), QStringLiteral("Pandionidae")}},
    };
}

QStringList listOf(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items.append(combo->itemText(i));
    }
    return items;
}

QString tooLong(int n, int max) {
    return QStringLiteral(
               "Maximum Text Length Exceeded|Please shorten this entry.\nIt contains "
               "%1 characters and a maximum of %2 is allowed.")
        .arg(n)
        .arg(max);
}

}  // namespace

class TestRecordFormFields : public QObject {
    Q_OBJECT

    static int rows(FormFixture& f, const QString& where, const QVariantList& values) {
        return f.query(QStringLiteral("SELECT COUNT(*) FROM ") + where, values).toInt();
    }

private slots:
    void aNewCountryIsStoredOnceAndTakesItsAlphabeticalPlace() {
        FormFixture f;
        f.makeList(sightings());
        f.open();
        auto* country = f.get<QComboBox>(QStringLiteral("cboCountry"));
        const int before = country->count();
        f.enter(QStringLiteral("cboCountry"), QStringLiteral("Côte d'Azur"));
        QCOMPARE(f.panel(1),
                 QStringLiteral("Select Country from drop-down list or type new entry"));
        f.focus(QStringLiteral("cboRegion"));
        QCOMPARE(country->count(), before + 1);
        const QStringList items = listOf(country);
        const qsizetype at = items.indexOf(QStringLiteral("Côte d'Azur"));
        QVERIFY(at > 0);
        QVERIFY(QString::compare(items[at - 1], items[at], Qt::CaseInsensitive) < 0);
        QVERIFY(QString::compare(items[at], items[at + 1], Qt::CaseInsensitive) < 0);
        QCOMPARE(country->currentText(), QStringLiteral("Côte d'Azur"));

        // Leaving again, or typing it in another case, stores nothing more.
        f.focus(QStringLiteral("cboCountry"));
        f.focus(QStringLiteral("cboRegion"));
        f.enter(QStringLiteral("cboCountry"), QStringLiteral("CÔTE D'AZUR"));
        f.focus(QStringLiteral("cboRegion"));
        QCOMPARE(rows(f, QStringLiteral("Countries WHERE Country LIKE '%azur%'"), {}), 1);
        QCOMPARE(country->count(), before + 1);
        QVERIFY(f.takeMessages().isEmpty());

        // The entry is kept whether or not the sighting is.
        f.click(QStringLiteral("cmdAdd"));
        f.enter(QStringLiteral("cboRegion"), QStringLiteral("Lesser Antilles"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Dropped"));
        f.click(QStringLiteral("cmdCancel"));
        QCOMPARE(rows(f, QStringLiteral("Regions WHERE Region = ?"), {"Lesser Antilles"}), 1);
    }

    void theFamilyListFollowsTheOrder() {
        FormFixture f;
        f.makeList(sightings());
        f.open();
        auto* order = f.get<QComboBox>(QStringLiteral("cboOrder"));
        auto* family = f.get<QComboBox>(QStringLiteral("cboFamily"));
        QCOMPARE(family->currentText(), QStringLiteral("Pandionidae"));
        QVERIFY(listOf(family).contains(QStringLiteral("Accipitridae")));
        QVERIFY(!listOf(family).contains(QStringLiteral("Troglodytidae")));

        // The mouse wheel passing over the box changes nothing.
        QWheelEvent wheel(QPointF(5, 5), order->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(order, &wheel);
        QCOMPARE(order->currentText(), QStringLiteral("Accipitriformes"));
        // Tabbing through the order without changing it keeps the family.
        f.focus(QStringLiteral("cboOrder"));
        f.focus(QStringLiteral("cboFamily"));
        QCOMPARE(family->currentText(), QStringLiteral("Pandionidae"));

        // Picking another order reloads the list and empties the family.
        f.choose(QStringLiteral("cboOrder"), QStringLiteral("Passeriformes"));
        QCOMPARE(family->currentText(), QString());
        QVERIFY(listOf(family).contains(QStringLiteral("Troglodytidae")));

        // A new family is stored under the order shown, once; under another order it is
        // another row, and a new order is stored too.
        const QString families = QStringLiteral("Families WHERE Family = ? AND \"Order\" = ?");
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("Cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        QCOMPARE(rows(f, families, {"Cettiidae", "Passeriformes"}), 1);
        QCOMPARE(rows(f, QStringLiteral("Families WHERE Family LIKE 'cettiidae'"), {}), 1);
        f.enter(QStringLiteral("cboOrder"), QStringLiteral("Sylviiformes"));
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("Cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        QCOMPARE(rows(f, QStringLiteral("Orders WHERE \"Order\" = ?"), {"Sylviiformes"}), 1);
        QCOMPARE(rows(f, families, {"Cettiidae", "Sylviiformes"}), 1);

        // The record keeps what was chosen.
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.stored(2, QStringLiteral("Family")), QVariant(QStringLiteral("Cettiidae")));
        QCOMPARE(f.stored(2, QStringLiteral("Order")), QVariant(QStringLiteral("Sylviiformes")));
        QCOMPARE(family->currentText(), QStringLiteral("Troglodytidae"));
        QVERIFY(f.takeMessages().isEmpty());

        // A family needs an order.
        f.enter(QStringLiteral("cboOrder"), QString());
        f.focus(QStringLiteral("cboFamily"));
        QCOMPARE_MESSAGES(
            f, QStringLiteral("No Order Specified|An Order must be entered before a Family."));
        QCOMPARE(f.focused(), order);
        QCOMPARE(family->currentText(), QString());
    }

    void monthAndYearTakeOnlyListEntries() {
        FormFixture f;
        f.makeList({{{QStringLiteral("CommonName"), QStringLiteral("Kite")},
                     {QStringLiteral("Month"), QStringLiteral("Marchh")}},
                    {{QStringLiteral("CommonName"), QStringLiteral("Tern")},
                     {QStringLiteral("Month"), QStringLiteral("March")},
                     {QStringLiteral("Year"), QStringLiteral("2026")}}});
        f.open();
        auto* month = f.get<QComboBox>(QStringLiteral("cboMonth"));
        auto* year = f.get<QComboBox>(QStringLiteral("cboYear"));
        QCOMPARE(year->itemText(0), QStringLiteral("1970"));
        QCOMPARE(year->itemText(year->count() - 1), QStringLiteral("2026"));

        // Typing is discarded; Backspace makes a text that is no entry, which is refused.
        f.focus(QStringLiteral("cboMonth"));
        QCOMPARE(f.panel(1), QStringLiteral("Select Month from drop-down list"));
        QTest::keyClicks(month, QStringLiteral("xyz"));
        QCOMPARE(month->currentText(), QStringLiteral("March"));
        month->lineEdit()->end(false);
        QTest::keyClick(month, Qt::Key_Backspace);
        QCOMPARE(month->currentText(), QString());
        const QString refused =
            QStringLiteral("Plovix|Please select a Month from the drop-down list.");
        QCOMPARE_MESSAGES(f, refused);
        QCOMPARE(f.focused(), month);

        // Dropping down an empty box fills in today's month and year.
        month->showPopup();
        month->hidePopup();
        QCOMPARE(month->currentText(), QStringLiteral("December"));
        year->setCurrentIndex(-1);
        year->setEditText(QString());
        year->showPopup();
        year->hidePopup();
        QCOMPARE(year->currentText(), QStringLiteral("2026"));
        QVERIFY(f.takeMessages().isEmpty());

        // A stored month that is no entry is refused when its record is shown.
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE_MESSAGES(f, refused);
        QCOMPARE(month->currentText(), QString());
    }

    void textsLongerThanTheirFieldAreRefused() {
        FormFixture f;
        f.makeList(FormFixture::birdList(2));
        f.open();
        // The field that has the focus when the window opens is checked like any other.
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));
        QTest::keyClicks(f.focused(), QString(45, QLatin1Char('z')));
        f.focus(QStringLiteral("txtAlternateName"));
        QCOMPARE_MESSAGES(f, tooLong(51, 50));  // "Bird 2" and the 45 letters typed after it
        for (const char* name : {"txtCommonName", "txtLocation", "cboCountry", "cboOrder"}) {
            f.enter(QLatin1String(name), QString(50, QLatin1Char('a')));
            f.focus(QStringLiteral("txtAlternateName"));
            QVERIFY2(f.takeMessages().isEmpty(), name);
            f.enter(QLatin1String(name), QString(51, QLatin1Char('b')));
            f.focus(QStringLiteral("txtAlternateName"));
            QCOMPARE_MESSAGES(f, tooLong(51, 50));
            // The text stays in the box that has the focus again.
            QCOMPARE(f.focused(), f.get(QLatin1String(name)));
            QCOMPARE(f.text(QLatin1String(name)), QString(51, QLatin1Char('b')));
            f.enter(QLatin1String(name), QStringLiteral("Peru"));
        }
        // A country that is too long is neither looked up nor stored.
        QCOMPARE(rows(f, QStringLiteral("Countries WHERE Country LIKE 'bbbb%'"), {}), 0);

        // A click on a button does not go through while the field refuses to be left.
        f.enter(QStringLiteral("txtCommonName"), QString(55, QLatin1Char('x')));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE_MESSAGES(f, tooLong(55, 50));
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));
        QVERIFY(!f.get<QPushButton>(QStringLiteral("cmdFirst"))->isDown());
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Bird 2"));
        // Leaving the binomial name capitalises it.
        f.enter(QStringLiteral("txtSpecies"), QStringLiteral("PASSER DOMESTICUS"));
        f.focus(QStringLiteral("txtLocation"));
        QCOMPARE(f.text(QStringLiteral("txtSpecies")), QStringLiteral("Passer domesticus"));

        // A long text; a menu command leaves the field as well, and is not carried out.
        auto* comments = f.get<QPlainTextEdit>(QStringLiteral("txtComments"));
        f.focus(QStringLiteral("txtComments"));
        comments->setPlainText(QString(32000, QLatin1Char('c')));
        f.focus(QStringLiteral("txtAdditional"));
        QVERIFY(f.takeMessages().isEmpty());
        f.focus(QStringLiteral("txtComments"));
        comments->moveCursor(QTextCursor::End);
        QTest::keyClick(comments, Qt::Key_D);
        f.trigger(QStringLiteral("mnuFirst"));
        QCOMPARE_MESSAGES(f, tooLong(32001, 32000));
        QCOMPARE(comments->textCursor().selectedText().size(), 32001);
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
    }

    void speciesCapitalisation_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("upper") << "PASSER DOMESTICUS"
                               << "Passer domesticus";
        QTest::newRow("mixed") << "passer Domesticus"
                               << "Passer domesticus";
        QTest::newRow("two letters") << "AB"
                                     << "Ab";
        QTest::newRow("one letter kept") << "x"
                                         << "x";
        QTest::newRow("accented") << "émberiza"
                                  << "Émberiza";
        QTest::newRow("outside the basic plane") << "\U00010428\U00010429"
                                                 << "\U00010400\U00010429";
    }
    void speciesCapitalisation() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(capitaliseSpecies(typed), stored);
    }

    void theEditMenuFollowsTheFocusedControl() {
        FormFixture f;
        f.makeList(FormFixture::birdList(1));
        f.open();
        QMenu* edit = f.form()->menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit"));
        auto enabled = [&] {
            emit edit->aboutToShow();
            QString state;
            for (const char* name :
                 {"mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuDeleteText", "mnuSelectAll"}) {
                state += f.enabled(QLatin1String(name)) ? QLatin1Char('1') : QLatin1Char('0');
            }
            return state;
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("Heron"));
        auto* name = f.get<QLineEdit>(QStringLiteral("txtCommonName"));
        f.focus(QStringLiteral("txtCommonName"));
        name->end(false);
        // Unchanged, caret at the end, nothing selected.
        QCOMPARE(enabled(), QStringLiteral("000101"));
        name->selectAll();
        QCOMPARE(enabled(), QStringLiteral("011110"));

        f.trigger(QStringLiteral("mnuCut"));
        QCOMPARE(name->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Bird 1"));
        QCOMPARE(enabled(), QStringLiteral("100100"));
        f.trigger(QStringLiteral("mnuPaste"));
        f.trigger(QStringLiteral("mnuPaste"));
        QCOMPARE(name->text(), QStringLiteral("Bird 1Bird 1"));
        name->home(false);
        QCOMPARE(enabled(), QStringLiteral("100111"));
        f.trigger(QStringLiteral("mnuDeleteText"));
        QCOMPARE(name->text(), QStringLiteral("ird 1Bird 1"));
        f.trigger(QStringLiteral("mnuSelectAll"));
        QCOMPARE(name->selectedText(), QStringLiteral("ird 1Bird 1"));

        // A button has no text to work on.
        f.focus(QStringLiteral("cmdAdd"));
        QCOMPARE(enabled(), QStringLiteral("000000"));
    }

    void hintsFollowTheMouse() {
        FormFixture f;
        f.makeList(FormFixture::birdList(1));
        f.open();
        auto over = [&](const char* name, QPoint at = {}) {
            // The event goes to the innermost widget under the pointer, as the window system's.
            QWidget* widget = f.get(QLatin1String(name));
            const QPoint point = at.isNull() ? widget->rect().center() : at;
            QWidget* target = widget->childAt(point) ? widget->childAt(point) : widget;
            const QPointF local = target->mapFrom(widget, point);
            QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            return f.panel(1);
        };
        QCOMPARE(over("cmdNext"), QStringLiteral("Displays your next sighting record"));
        // The frame empties the panel; the common name leaves it as it is.
        QCOMPARE(over("frmName", QPoint(2, 2)), QString());
        QCOMPARE(over("cmdAdd"), QStringLiteral("Creates a new sighting record"));
        QCOMPARE(over("txtCommonName"), QStringLiteral("Creates a new sighting record"));
        const QString country =
            QStringLiteral("Select Country from drop-down list or type new entry");
        QCOMPARE(over("lblCountryRect", QPoint(1, 1)), country);
        QCOMPARE(over("lblYearRect", QPoint(1, 1)),
                 QStringLiteral("Select Year from drop-down list"));
        QCOMPARE(over("txtComments"), QString());
        // While search targets are typed, a lookup box only offers its list.
        f.click(QStringLiteral("cmdSearch"));
        QCOMPARE(
            over("lblCountryRect", QPoint(1, 1)),
            QStringLiteral("In search mode, Country can only be selected from drop-down list"));
        QCOMPARE(
            over("cmdFindNext"),
            QStringLiteral("Displays the next sighting record that matches your search targets"));
    }

    void confirmOverwriteGivesTheExtensionAndAsksBeforeReplacing() {
        TestPlatform p;
        QVERIFY(QDir(p.folder()).mkpath(QStringLiteral("Lists.old")));
        const QString folder = p.file(QStringLiteral("Lists.old/"));
        for (const auto& [given, result] : {std::pair{"birds", "birds.html"},
                                            {"birds.txt", "birds.html"},
                                            {"birds.HTML", "birds.HTML"}}) {
            QString fileName = folder + QLatin1String(given);
            QVERIFY(confirmOverwrite(p.dialogs, fileName, QStringLiteral("html")));
            QCOMPARE(fileName, folder + QLatin1String(result));
        }
        QVERIFY(p.dialogs.calls().isEmpty());

        QString fileName = folder + QStringLiteral("birds");
        QFile existing(folder + QStringLiteral("birds.html"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QVERIFY(!confirmOverwrite(p.dialogs, fileName, QStringLiteral("html")));
        QCOMPARE(p.dialogs.calls()[0].style, mb::Exclamation | mb::YesNo | mb::DefaultButton2);
        QCOMPARE_MESSAGES(p, QStringLiteral("Save File|") + folder +
                                 QStringLiteral("birds.html\nThis file already exists.\n\n"
                                                "Replace existing file?"));
        p.dialogs.answer(mb::Yes);
        QVERIFY(confirmOverwrite(p.dialogs, fileName, QStringLiteral("html")));
        QVERIFY(existing.exists());
    }
};

QTEST_MAIN(TestRecordFormFields)
#include "tst_record_form_fields.moc"
