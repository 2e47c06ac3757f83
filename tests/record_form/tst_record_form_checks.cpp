// Length checks, the species capitalisation, the Edit menu, the status-bar hints, and the check
// before a file is written.
#include "FormFixture.h"

#include "record_form/MValidation.h"

#include <QClipboard>
#include <QMenuBar>

namespace {

QString tooLong(int n, int max) {
    return QStringLiteral(
               "Maximum Text Length Exceeded|Please shorten this entry.\nIt contains "
               "%1 characters and a maximum of %2 is allowed.")
        .arg(n)
        .arg(max);
}

}  // namespace

class TestRecordFormChecks : public QObject {
    Q_OBJECT

private slots:
    void textsLongerThanTheirFieldAreRefused() {
        FormFixture f;
        f.makeList(FormFixture::birdList(2));
        f.open();
        // The field that has the focus when the window opens is checked like any other.
        QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("txtCommonName")));
        QTest::keyClicks(QApplication::focusWidget(), QString(45, QLatin1Char('z')));
        f.focus(QStringLiteral("txtAlternateName"));
        QCOMPARE_MESSAGES(f, tooLong(51, 50));  // "Bird 2" and the 45 letters typed after it
        for (const char* name : {"txtCommonName", "txtLocation", "cboCountry", "cboOrder"}) {
            f.enter(QLatin1String(name), QString(50, QLatin1Char('a')));
            f.focus(QStringLiteral("txtAlternateName"));
            QVERIFY2(f.takeMessages().isEmpty(), name);
            f.enter(QLatin1String(name), QString(51, QLatin1Char('b')));
            f.focus(QStringLiteral("txtAlternateName"));
            QCOMPARE_MESSAGES(f, tooLong(51, 50));
            // The text stays, selected, in the box that has the focus again.
            QCOMPARE(QApplication::focusWidget(), f.get(QLatin1String(name)));
            QCOMPARE(f.text(QLatin1String(name)), QString(51, QLatin1Char('b')));
            f.enter(QLatin1String(name), QStringLiteral("Peru"));
        }
        // A click on a button does not go through while the field refuses to be left.
        f.enter(QStringLiteral("txtCommonName"), QString(55, QLatin1Char('x')));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE_MESSAGES(f, tooLong(55, 50));
        QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("txtCommonName")));
        QVERIFY(!f.get<QPushButton>(QStringLiteral("cmdFirst"))->isDown());
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Bird 2"));

        // A country that is too long is neither looked up nor stored.
        QCOMPARE(
            f.query(QStringLiteral("SELECT COUNT(*) FROM Countries WHERE Country LIKE 'bbbb%'")),
            QVariant(0));

        auto* comments = f.get<QPlainTextEdit>(QStringLiteral("txtComments"));
        f.focus(QStringLiteral("txtComments"));
        comments->setPlainText(QString(32000, QLatin1Char('c')));
        f.focus(QStringLiteral("txtAdditional"));
        QVERIFY(f.takeMessages().isEmpty());
        f.focus(QStringLiteral("txtComments"));
        comments->moveCursor(QTextCursor::End);
        QTest::keyClick(comments, Qt::Key_D);
        // A menu command leaves the field as well, and is not carried out.
        f.trigger(QStringLiteral("mnuFirst"));
        QCOMPARE_MESSAGES(f, tooLong(32001, 32000));
        QCOMPARE(comments->textCursor().selectedText().size(), 32001);
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
    }

    void speciesIsCapitalised() {
        FormFixture f;
        f.makeList(FormFixture::birdList(1));
        f.open();
        const QList<std::pair<QString, QString>> cases{
            {QStringLiteral("PASSER DOMESTICUS"), QStringLiteral("Passer domesticus")},
            {QStringLiteral("passer Domesticus"), QStringLiteral("Passer domesticus")},
            {QStringLiteral("AB"), QStringLiteral("Ab")},
            {QStringLiteral("x"), QStringLiteral("x")},
            {QStringLiteral("émberiza"), QStringLiteral("Émberiza")},
        };
        for (const auto& [typed, stored] : cases) {
            f.enter(QStringLiteral("txtSpecies"), typed);
            f.focus(QStringLiteral("txtLocation"));
            QCOMPARE(f.text(QStringLiteral("txtSpecies")), stored);
        }
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
                state +=
                    f.item(QLatin1String(name))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
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
        auto over = [&](const QString& name, QPoint at = {}) {
            // The event goes to the innermost widget under the pointer, as the window system's.
            QWidget* widget = f.get(name);
            const QPoint point = at.isNull() ? widget->rect().center() : at;
            QWidget* target = widget->childAt(point) ? widget->childAt(point) : widget;
            const QPointF local = target->mapFrom(widget, point);
            QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            return f.panel(1);
        };
        QCOMPARE(over(QStringLiteral("cmdNext")),
                 QStringLiteral("Displays your next sighting record"));
        // The frame empties the panel; the common name leaves it as it is.
        QCOMPARE(over(QStringLiteral("frmName"), QPoint(2, 2)), QString());
        QCOMPARE(over(QStringLiteral("cmdAdd")), QStringLiteral("Creates a new sighting record"));
        QCOMPARE(over(QStringLiteral("txtCommonName")),
                 QStringLiteral("Creates a new sighting record"));
        QCOMPARE(over(QStringLiteral("lblCountryRect"), QPoint(1, 1)),
                 QStringLiteral("Select Country from drop-down list or type new entry"));
        QCOMPARE(over(QStringLiteral("cboCountry")),
                 QStringLiteral("Select Country from drop-down list or type new entry"));
        QCOMPARE(over(QStringLiteral("lblYearRect"), QPoint(1, 1)),
                 QStringLiteral("Select Year from drop-down list"));
        QCOMPARE(over(QStringLiteral("txtComments")), QString());
    }

    void confirmOverwriteGivesTheExtensionAndAsksBeforeReplacing() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        QDir(dir.path()).mkpath(QStringLiteral("Lists.old"));
        const QString folder = dir.filePath(QStringLiteral("Lists.old/"));
        const QList<std::pair<QString, QString>> names{
            {QStringLiteral("birds"), QStringLiteral("birds.html")},
            {QStringLiteral("birds.txt"), QStringLiteral("birds.html")},
            {QStringLiteral("birds.HTML"), QStringLiteral("birds.HTML")},
        };
        for (const auto& [given, result] : names) {
            QString fileName = folder + given;
            QVERIFY(confirmOverwrite(dialogs, fileName, QStringLiteral("html")));
            QCOMPARE(fileName, folder + result);
        }
        QVERIFY(dialogs.calls().isEmpty());

        QString fileName = folder + QStringLiteral("birds");
        QFile existing(folder + QStringLiteral("birds.html"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        // No is the default answer.
        QVERIFY(!confirmOverwrite(dialogs, fileName, QStringLiteral("html")));
        QCOMPARE(dialogs.calls().size(), 1);
        QCOMPARE(dialogs.calls()[0].prompt,
                 folder + QStringLiteral("birds.html\nThis file already exists.\n\nReplace "
                                         "existing file?"));
        QCOMPARE(dialogs.calls()[0].style, 308);
        QCOMPARE(dialogs.calls()[0].title, QStringLiteral("Save File"));
        dialogs.answer(mb::Yes);
        QVERIFY(confirmOverwrite(dialogs, fileName, QStringLiteral("html")));
        QVERIFY(existing.exists());
    }
};

QTEST_MAIN(TestRecordFormChecks)
#include "tst_record_form_checks.moc"
