// The record form's fields: lookup boxes that grow as entries are typed, the family list that
// follows the order, the fixed month and year lists, length checks, the binomial name, the
// Edit menu and the status-bar hints.
#include "FormFixture.h"

#include "database/Schema.h"
#include "services/MValidation.h"

#include <QClipboard>
#include <QMenuBar>

namespace {

QList<Sighting> sightings() {
    return {{{"CommonName", "Wren"}, {"Order", "Passeriformes"}, {"Family", "Troglodytidae"}},
            {{"CommonName", "Osprey"}, {"Order", "Accipitriformes"}, {"Family", "Pandionidae"}}};
}

QStringList listOf(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items.append(combo->itemText(i));
    }
    return items;
}

QString tooLong(int n, int max) {
    return (u"Maximum Text Length Exceeded|Please shorten this entry.\nIt contains "
            u"%1 characters and a maximum of %2 is allowed."_s)
        .arg(n)
        .arg(max);
}

}  // namespace

class TestRecordFormFields : public QObject {
    Q_OBJECT

    static int rows(FormFixture& f, const QString& where, const QVariantList& values) {
        return f.query(u"SELECT COUNT(*) FROM "_s + where, values).toInt();
    }

private slots:
    void aNewCountryIsStoredOnceAndTakesItsAlphabeticalPlace() {
        FormFixture f(sightings());
        auto* country = f.get<QComboBox>("cboCountry");
        const int before = country->count();
        f.enter("cboCountry", "Côte d'Azur");
        QCOMPARE(f.panel(1), u"Select Country from drop-down list or type new entry"_s);
        f.focus("cboRegion");
        QCOMPARE(country->count(), before + 1);
        // Alphabetical, accents and case aside.
        const QStringList items = listOf(country);
        for (const auto& [first, second] : {std::pair{"Côte d'Azur", "Côte d'Ivoire"},
                                            {"Côte d'Ivoire", "Czechia"},
                                            {"Réunion", "Rwanda"},
                                            {"Türkiye", "Tuvalu"},
                                            {"Åland Islands", "Albania"}}) {
            const qsizetype at = items.indexOf(QString::fromUtf8(first));
            QVERIFY2(at >= 0 && at < items.indexOf(QString::fromUtf8(second)), first);
        }
        QCOMPARE(country->currentText(), u"Côte d'Azur"_s);

        // Leaving again, or typing it in another case, stores nothing more.
        f.focus("cboCountry");
        f.focus("cboRegion");
        f.enter("cboCountry", "CÔTE D'AZUR", "cboRegion");
        QCOMPARE(rows(f, u"Countries WHERE Country LIKE '%azur%'"_s, {}), 1);
        QCOMPARE(country->count(), before + 1);
        QVERIFY(f.takeMessages().isEmpty());

        // The entry is kept whether or not the sighting is.
        f.click("cmdAdd");
        f.enter("cboRegion", "Lesser Antilles");
        f.enter("txtCommonName", "Dropped");
        f.click("cmdCancel");
        QCOMPARE(rows(f, u"Regions WHERE Region = ?"_s, {"Lesser Antilles"}), 1);
    }

    void theFamilyListFollowsTheOrder() {
        FormFixture f(sightings());
        auto* order = f.get<QComboBox>("cboOrder");
        auto* family = f.get<QComboBox>("cboFamily");
        QCOMPARE(family->currentText(), u"Pandionidae"_s);
        QVERIFY(listOf(family).contains(u"Accipitridae"_s));
        QVERIFY(!listOf(family).contains(u"Troglodytidae"_s));

        // The mouse wheel passing over the box changes nothing.
        QWheelEvent wheel(QPointF(5, 5), order->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(order, &wheel);
        QCOMPARE(order->currentText(), u"Accipitriformes"_s);
        // Tabbing through the order without changing it keeps the family.
        f.focus("cboOrder");
        f.focus("cboFamily");
        QCOMPARE(family->currentText(), u"Pandionidae"_s);

        // Picking another order reloads the list and empties the family.
        f.choose("cboOrder", "Passeriformes");
        QCOMPARE(family->currentText(), QString());
        QVERIFY(listOf(family).contains(u"Troglodytidae"_s));

        // A new family is stored under the order shown, once; under another order it is
        // another row, and a new order is stored too.
        const QString families = u"Families WHERE Family = ? AND \"Order\" = ?"_s;
        f.enter("cboFamily", "Cettiidae", "txtSpecies");
        f.enter("cboFamily", "cettiidae", "txtSpecies");
        QCOMPARE(rows(f, families, {"Cettiidae", "Passeriformes"}), 1);
        QCOMPARE(rows(f, u"Families WHERE Family LIKE 'cettiidae'"_s, {}), 1);
        // A new order keeps the family and its list.
        f.enter("cboOrder", "Sylviiformes", "cboFamily");
        QCOMPARE(family->currentText(), u"cettiidae"_s);
        QVERIFY(listOf(family).contains(u"Troglodytidae"_s));
        f.enter("cboFamily", "Cettiidae", "txtSpecies");
        QCOMPARE(rows(f, u"Orders WHERE \"Order\" = ?"_s, {"Sylviiformes"}), 1);
        QCOMPARE(rows(f, families, {"Cettiidae", "Sylviiformes"}), 1);

        // The record keeps what was chosen.
        f.click("cmdFirst");
        QCOMPARE(f.stored(2, u"Family"_s), QVariant(u"Cettiidae"_s));
        QCOMPARE(f.stored(2, u"Order"_s), QVariant(u"Sylviiformes"_s));
        QCOMPARE(family->currentText(), u"Troglodytidae"_s);

        // A family needs an order.
        f.enter("cboOrder", QString(), "cboFamily");
        QCOMPARE_MESSAGES(f, u"No Order Specified|An Order must be entered before a Family."_s);
        QCOMPARE(f.focused(), order);
        QCOMPARE(family->currentText(), QString());
    }

    void monthAndYearTakeOnlyListEntries() {
        FormFixture f(
            QList<Sighting>{{{"CommonName", "Kite"}, {"Month", "Marchh"}},
                            {{"CommonName", "Tern"}, {"Month", "March"}, {"Year", "2026"}}});
        auto* month = f.get<QComboBox>("cboMonth");
        auto* year = f.get<QComboBox>("cboYear");
        QCOMPARE(year->itemText(0), u"1970"_s);
        QCOMPARE(year->itemText(year->count() - 1), u"2026"_s);

        // Typing is discarded; Backspace makes a text that is no entry, which is refused.
        f.focus("cboMonth");
        QCOMPARE(f.panel(1), u"Select Month from drop-down list"_s);
        QTest::keyClicks(month, u"xyz"_s);
        QCOMPARE(month->currentText(), u"March"_s);
        month->lineEdit()->end(false);
        QTest::keyClick(month, Qt::Key_Backspace);
        QCOMPARE(month->currentText(), QString());
        const QString refused = u"Plovix|Please select a Month from the drop-down list."_s;
        QCOMPARE_MESSAGES(f, refused);
        QCOMPARE(f.focused(), month);

        // Dropping down an empty box fills in today's month and year.
        month->showPopup();
        month->hidePopup();
        QCOMPARE(month->currentText(), u"December"_s);
        year->setCurrentIndex(-1);
        year->setEditText(QString());
        year->showPopup();
        year->hidePopup();
        QCOMPARE(year->currentText(), u"2026"_s);

        // A stored month that is no entry is refused when its record is shown.
        f.click("cmdFirst");
        QCOMPARE_MESSAGES(f, refused);
        QCOMPARE(month->currentText(), QString());
    }

    void textsLongerThanTheirFieldAreRefused() {
        FormFixture f(FormFixture::birdList(2));
        // The field that has the focus when the window opens is checked like any other.
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        QTest::keyClicks(f.focused(), QString(45, QLatin1Char('z')));
        f.focus("txtAlternateName");
        QCOMPARE_MESSAGES(f, tooLong(51, 50));  // "Bird 2" and the 45 letters typed after it
        // Fifty characters are taken without a word (the next comparison has every message).
        for (const char* name : {"txtCommonName", "txtLocation", "cboCountry", "cboOrder"}) {
            f.enter(QLatin1String(name), QString(50, QLatin1Char('a')));
            f.focus("txtAlternateName");
            f.enter(QLatin1String(name), QString(51, QLatin1Char('b')));
            f.focus("txtAlternateName");
            QCOMPARE_MESSAGES(f, tooLong(51, 50));
            // The text stays in the box that has the focus again.
            QCOMPARE(f.focused(), f.get(QLatin1String(name)));
            QCOMPARE(f.text(QLatin1String(name)), QString(51, QLatin1Char('b')));
            f.enter(QLatin1String(name), u"Peru"_s);
        }
        // A country that is too long is neither looked up nor stored.
        QCOMPARE(rows(f, u"Countries WHERE Country LIKE 'bbbb%'"_s, {}), 0);

        // A click on a button does not go through while the field refuses to be left.
        f.enter("txtCommonName", QString(55, QLatin1Char('x')));
        f.click("cmdFirst");
        QCOMPARE_MESSAGES(f, tooLong(55, 50));
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        QVERIFY(!f.get<QPushButton>("cmdFirst")->isDown());
        QCOMPARE(f.panel(2), u"Record 2 "_s);
        f.enter("txtCommonName", "Bird 2");

        // A long text; a menu command leaves the field as well, and is not carried out.
        auto* comments = f.get<QPlainTextEdit>("txtComments");
        f.focus("txtComments");
        comments->setPlainText(QString(32000, QLatin1Char('c')));
        f.focus("txtAdditional");
        f.focus("txtComments");
        comments->moveCursor(QTextCursor::End);
        QTest::keyClick(comments, Qt::Key_D);
        f.trigger("mnuFirst");
        QCOMPARE_MESSAGES(f, tooLong(32001, 32000));
        QCOMPARE(comments->textCursor().selectedText().size(), 32001);
        QCOMPARE(f.panel(2), u"Record 2 "_s);
        comments->setPlainText(u"Short"_s);

        // Characters are counted as the user sees them.
        f.focus("txtLocation");
        f.get<QLineEdit>("txtLocation")->setText(QString(49, QLatin1Char('a')) + u"🦜"_s);
        f.focus("txtAlternateName");
        QVERIFY(f.takeMessages().isEmpty());
        // A button's Alt key leaves the field with its checks, like any other way of giving
        // the command.
        for (const auto& [name, key] : {std::pair{"txtLocation", Qt::Key_A},
                                        {"txtSpecies", Qt::Key_S},
                                        {"cboCountry", Qt::Key_A}}) {
            f.enter(QLatin1String(name), QString(51, QLatin1Char('q')));
            QTest::keyClick(f.focused(), key, Qt::AltModifier);
            QTRY_VERIFY(!f.dialogs.calls().isEmpty());  // the button clicks itself shortly
            QCOMPARE_MESSAGES(f, tooLong(51, 50));
            QCOMPARE(f.form()->currentMode(), FormMode::Browse);
            f.enter(QLatin1String(name), u"Mu"_s);
        }
        QTest::keyClick(f.focused(), Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(f.form()->currentMode(), FormMode::Add);
        QCOMPARE(rows(f, u"Countries WHERE Country = 'Mu'"_s, {}), 1);
        f.click("cmdCancel");

        // Whatever the focus did, the store itself refuses a text longer than its field.
        f.focus("txtCommonName");
        f.get<QLineEdit>("txtAlternateName")->setText(QString(51, QLatin1Char('n')));
        f.click("cmdNext");
        QCOMPARE_MESSAGES(f, tooLong(51, 50));
        QCOMPARE(f.panel(2), u"Record 2 "_s);
        QCOMPARE(f.focused(), f.get("txtAlternateName"));
        QVERIFY(f.stored(2, u"AlternateName"_s).isNull());
    }

    void speciesCapitalisation() {
        for (const auto& [typed, stored] : {std::pair{"PASSER DOMESTICUS", "Passer domesticus"},
                                            {"passer Domesticus", "Passer domesticus"},
                                            {"AB", "Ab"},
                                            {"x", "x"},  // one letter is kept as typed
                                            {"émberiza", "Émberiza"},
                                            {"\U00010428\U00010429", "\U00010400\U00010429"}}) {
            QCOMPARE(capitaliseSpecies(QString::fromUtf8(typed)), QString::fromUtf8(stored));
        }
    }

    void theEditMenuFollowsTheFocusAndTheHintsTheMouse() {
        FormFixture f(FormFixture::birdList(1));
        QMenu* edit = f.form()->menuBar()->findChild<QMenu*>(u"mnuEdit"_s);
        auto enabled = [&] {
            emit edit->aboutToShow();
            QString state;
            for (const char* item :
                 {"mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuDeleteText", "mnuSelectAll"}) {
                state += f.enabled(item) ? u'1' : u'0';
            }
            return state;
        };
        QGuiApplication::clipboard()->setText(u"Heron"_s);
        auto* name = f.get<QLineEdit>("txtCommonName");
        f.focus("txtCommonName");
        name->end(false);
        // Unchanged, caret at the end, nothing selected.
        QCOMPARE(enabled(), u"000101"_s);
        name->selectAll();
        QCOMPARE(enabled(), u"011110"_s);

        f.trigger("mnuCut");
        QCOMPARE(name->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), u"Bird 1"_s);
        QCOMPARE(enabled(), u"100100"_s);
        f.press({"mnuPaste", "mnuPaste"});
        QCOMPARE(name->text(), u"Bird 1Bird 1"_s);
        name->home(false);
        QCOMPARE(enabled(), u"100111"_s);
        f.trigger("mnuDeleteText");
        QCOMPARE(name->text(), u"ird 1Bird 1"_s);
        f.trigger("mnuSelectAll");
        QCOMPARE(name->selectedText(), u"ird 1Bird 1"_s);

        // A button has no text to work on.
        f.focus("cmdAdd");
        QCOMPARE(enabled(), u"000000"_s);

        // The status-bar hints follow the mouse.
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
        QCOMPARE(over("cmdNext"), u"Displays your next sighting record"_s);
        // The frame empties the panel; the common name leaves it as it is.
        QCOMPARE(over("frmName", QPoint(2, 2)), QString());
        QCOMPARE(over("cmdAdd"), u"Creates a new sighting record"_s);
        QCOMPARE(over("txtCommonName"), u"Creates a new sighting record"_s);
        QCOMPARE(over("lblYearRect", QPoint(1, 1)), u"Select Year from drop-down list"_s);
        // While search targets are typed, a lookup box only offers its list.
        f.click("cmdSearch");
        QCOMPARE(over("lblCountryRect", QPoint(1, 1)),
                 u"In search mode, Country can only be selected from drop-down list"_s);
    }

    // The web page and the statistics text file give the extension and the question; here, what
    // they cannot show.
    void confirmOverwriteTakesNoDotOfAFolderAndKeepsTheFile() {
        TestPlatform p;
        QVERIFY(QDir(p.folder()).mkpath(u"Lists.old"_s));
        QString fileName = p.file(u"Lists.old/birds"_s);
        QVERIFY(QFile(fileName + u".html"_s).open(QIODevice::WriteOnly));
        QVERIFY(!confirmOverwrite(p.dialogs, fileName, u"html"_s));
        QCOMPARE(fileName, p.file(u"Lists.old/birds.html"_s));
        QCOMPARE(p.dialogs.calls()[0].style, mb::Exclamation | mb::YesNo | mb::DefaultButton2);
        p.dialogs.answer(mb::Yes);
        QVERIFY(confirmOverwrite(p.dialogs, fileName, u"html"_s));
        QVERIFY(QFile::exists(fileName));  // it is the writer that replaces it
    }
};

QTEST_MAIN(TestRecordFormFields)
#include "tst_record_form_fields.moc"
