// Image links: their stored form, the viewer's size rules on its widgets, the links following their
// sighting through the record form, and what the viewer shows after a link is removed or found
// missing.
#include "images/ImageLinks.h"
#include "FormFixture.h"

#include "FileSizeLimit.h"

#include <QListWidget>
#include <QScrollBar>

namespace {

// A one-colour PNG of the given size in the fixture's folder.
QString writePng(const FormFixture& f, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = f.file(name + u".png"_s);
    image.save(path);
    return path;
}

// The open viewer, if there is one.
QWidget* viewerOf(const FormFixture& f) {
    for (QWidget* viewer : f.form()->findChildren<QWidget*>(u"frmViewer"_s)) {
        if (viewer->isVisible()) {
            return viewer;
        }
    }
    return nullptr;
}

template <typename T = QWidget>
T* part(const FormFixture& f, const QString& name) {
    return viewerOf(f)->findChild<T*>(name);
}

QStringList listed(const FormFixture& f) {
    QStringList paths;
    auto* list = part<QListWidget>(f, u"List1"_s);
    for (int i = 0; i < list->count(); ++i) {
        paths.append(QFileInfo(list->item(i)->text()).baseName());
    }
    return paths;
}

// The width of the picture shown, which tells the test pictures apart; 0 for none.
int shownWidth(const FormFixture& f) {
    auto* image = part<QLabel>(f, u"Image1"_s);
    return image->pixmap().isNull() ? 0 : image->width();
}

}  // namespace

class TestViewer : public QObject {
    Q_OBJECT

private slots:
    void linkListRoundTrips_data();
    void linkListRoundTrips();
    void viewerFitsAndScrollsThePicture_data();
    void viewerFitsAndScrollsThePicture();
    void linksFollowTheirSighting();
    void removedAndMissingLinks();
    void linksWrittenByHandAreKept_data();
    void linksWrittenByHandAreKept();
    void viewImagesActsOnlyWhereThereAreLinks();
    void aFailingDiskLosesNoLinks();
};

void TestViewer::linkListRoundTrips_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("written");
    QTest::newRow("each path ends in a comma")
        << u"a.jpg,b.jpg,"_s << QStringList{u"a.jpg"_s, u"b.jpg"_s} << u"a.jpg,b.jpg,"_s;
    // Values typed by hand or imported may leave out the last comma.
    QTest::newRow("no comma after the last link")
        << u"a.jpg,b.jpg"_s << QStringList{u"a.jpg"_s, u"b.jpg"_s} << u"a.jpg,b.jpg,"_s;
    QTest::newRow("one link, no comma")
        << u"/photos/heron.jpg"_s << QStringList{u"/photos/heron.jpg"_s} << u"/photos/heron.jpg,"_s;
    QTest::newRow("an empty link")
        << u"a.jpg,,b.jpg,"_s << QStringList{u"a.jpg"_s, QString(), u"b.jpg"_s}
        << u"a.jpg,,b.jpg,"_s;
    QTest::newRow("no links") << QString() << QStringList() << u""_s;
}

void TestViewer::linkListRoundTrips() {
    QFETCH(QString, stored);
    QFETCH(QStringList, paths);
    QFETCH(QString, written);
    QCOMPARE(links::read(stored), paths);
    const QString text = links::write(paths);
    QCOMPARE(text, written);
    QVERIFY(!text.isNull());  // an empty list is an empty text, not Null
    QVERIFY(!links::storable(u"/photos/gull, adult.jpg"_s));
}

void TestViewer::viewerFitsAndScrollsThePicture_data() {
    QTest::addColumn<QSize>("picture");  // pixels, 15 twips each on the offscreen screen
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("frame");
    QTest::newRow("small") << QSize(200, 133) << QSize(535, 253) << QSize(200, 133);
    QTest::newRow("widest without growing") << QSize(497, 20) << QSize(535, 140) << QSize(497, 20);
    QTest::newRow("one pixel wider") << QSize(498, 20) << QSize(536, 140) << QSize(498, 20);
    QTest::newRow("taller than the screen")
        << QSize(300, 900) << QSize(535, 800) << QSize(300, 680);
    QTest::newRow("wider than the screen") << QSize(1300, 40) << QSize(800, 160) << QSize(762, 40);
    // Its scroll ranges in twips would pass 32,767.
    QTest::newRow("both") << QSize(3000, 1000) << QSize(800, 800) << QSize(762, 680);
}

void TestViewer::viewerFitsAndScrollsThePicture() {
    QFETCH(QSize, picture);
    QFETCH(QSize, window);
    QFETCH(QSize, frame);
    FormFixture f(FormFixture::birdList(1));
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(800, 800));
    f.dialogs.type(writePng(f, u"bird"_s, picture));
    f.press({"cmdAddImage"});
    QCOMPARE(viewerOf(f)->frameGeometry().size(), window);
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(
        viewerOf(f)->frameGeometry()));
    auto* shown = part(f, u"Picture1"_s);
    QCOMPARE(shown->geometry(), QRect(QPoint(16, 80), frame));
    auto* image = part(f, u"Image1"_s);
    for (auto* bar : {part<QScrollBar>(f, u"HScroll1"_s), part<QScrollBar>(f, u"VScroll1"_s)}) {
        const bool across = bar->orientation() == Qt::Horizontal;
        const int hidden =
            across ? picture.width() - frame.width() : picture.height() - frame.height();
        QCOMPARE(bar->isVisible(), hidden > 0);
        if (hidden == 0) {
            continue;
        }
        QCOMPARE(bar->maximum(), hidden);
        QCOMPARE(bar->value(), 0);
        // Flush with the frame, and at its end the picture's edge meets the frame's.
        QCOMPARE(across ? bar->geometry().top() : bar->geometry().left(),
                 across ? shown->geometry().bottom() + 1 : shown->geometry().right() + 1);
        bar->setValue(bar->maximum());
        QCOMPARE(across ? image->geometry().right() : image->geometry().bottom(),
                 across ? shown->width() - 1 : shown->height() - 1);
    }
}

void TestViewer::linksFollowTheirSighting() {
    FormFixture f(FormFixture::birdList(2));
    const QString gull = writePng(f, u"gull"_s, {60, 40});
    QVERIFY(!f.enabled(u"cmdViewImages"_s));

    // Adding the first link shows it; the form's View command follows the stored links.
    f.dialogs.type(gull);
    f.press({"cmdAddImage"});
    QCOMPARE(f.dialogs.calls().last().title, u"Add An Image Link"_s);
    QVERIFY(f.dialogs.calls().last().prompt.startsWith(
        u"All Supported Image Files (*.jpg *.jpeg *.gif *.bmp *.dib *.ico *.wmf *.emf *.png"_s));
    QCOMPARE(viewerOf(f)->windowTitle(), u"Plovix Image Viewer - Sighting Number 2"_s);
    QCOMPARE(listed(f), QStringList{u"gull"_s});
    QVERIFY(!f.enabled(u"cmdViewImages"_s));

    // Leaving the sighting closes the viewer and stores its links in that sighting.
    f.press({"cmdPrevious"});
    QVERIFY(!viewerOf(f));
    QCOMPARE(f.stored(2, u"Images"_s).toString(), gull + u","_s);
    QVERIFY(!f.enabled(u"cmdViewImages"_s));
    f.press({"cmdNext", "cmdViewImages"});
    QCOMPARE(listed(f), QStringList{u"gull"_s});

    // A cancelled Add leaves a viewer opened to view; one opened to add closes.
    f.dialogs.cancelInput();
    part<QPushButton>(f, u"cmdAdd"_s)->click();
    QVERIFY(viewerOf(f));
    part<QPushButton>(f, u"cmdClose"_s)->click();
    QVERIFY(!viewerOf(f));
    f.dialogs.cancelInput();
    f.press({"cmdAddImage"});
    QVERIFY(!viewerOf(f));
    QCOMPARE(f.stored(2, u"Images"_s).toString(), gull + u","_s);

    // A path with a comma is refused, as it could not be read back whole.
    f.dialogs.type(f.file(u"gull, adult.png"_s));
    f.press({"cmdAddImage"});
    QCOMPARE(f.takeMessages().last().section(u'|', 0, 0), u"Image Link Not Added"_s);
    QCOMPARE(f.stored(2, u"Images"_s).toString(), gull + u","_s);
}

void TestViewer::removedAndMissingLinks() {
    FormFixture f(FormFixture::birdList(1));
    QStringList paths;
    for (int width : {100, 120, 140}) {
        paths.append(writePng(f, u"p%1"_s.arg(width), {width, 30}));
    }
    const QString missing = f.file(u"gone.png"_s);
    const QString notFound =
        u"Invalid File|File not found\n"
        "Please check that the file name and location are correct."_s;
    QVERIFY(!f.program->gdbBirdList->execute(
        u"UPDATE \"Bird List\" SET Images = ?"_s,
        {links::write({missing, paths[0], missing, paths[1], paths[2]})}));
    f.press({"cmdFirst", "cmdViewImages"});
    // The missing first link is reported and removed, and the next one shown.
    QCOMPARE_MESSAGES(f, notFound);
    QCOMPARE(shownWidth(f), 100);
    auto* list = part<QListWidget>(f, u"List1"_s);
    auto act = [&](int row, const char* button) {
        list->setCurrentRow(row);
        part<QPushButton>(f, QLatin1String(button))->click();
    };
    // A missing link further down goes too, and the same picture stays shown.
    act(1, "cmdView");
    QCOMPARE_MESSAGES(f, notFound);
    QCOMPARE(listed(f), QStringList({u"p100"_s, u"p120"_s, u"p140"_s}));
    QCOMPARE(shownWidth(f), 100);
    act(2, "cmdView");
    act(0, "cmdDelete");  // above the picture shown
    QCOMPARE(shownWidth(f), 140);
    QCOMPARE(list->currentRow(), 1);
    act(1, "cmdDelete");  // the picture shown: the one before it
    QCOMPARE(shownWidth(f), 120);
    act(0, "cmdDelete");  // the last
    QCOMPARE(shownWidth(f), 0);
    QCOMPARE(viewerOf(f)->frameGeometry().size(), QSize(535, 102));
    QVERIFY(!part(f, u"cmdView"_s)->isEnabled() && !part(f, u"cmdDelete"_s)->isEnabled());
    part<QPushButton>(f, u"cmdDelete"_s)->setEnabled(true);
    act(-1, "cmdDelete");
    QCOMPARE_MESSAGES(f, u"No Link Selected|Please select an image link to delete."_s);
    part<QPushButton>(f, u"cmdClose"_s)->click();
    const QVariant stored = f.stored(1, u"Images"_s);
    QVERIFY(!stored.isNull() && stored.toString().isEmpty());
}

// Values a user typed into a spreadsheet, or that came in through its import, without the comma
// after the last link.
void TestViewer::linksWrittenByHandAreKept_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("separator");  // between the links: "," or ",,"
    QTest::newRow("one link") << QStringList{u"heron"_s} << u","_s;
    QTest::newRow("two links") << QStringList{u"a"_s, u"b"_s} << u","_s;
    QTest::newRow("an empty link between") << QStringList{u"a"_s, u"b"_s} << u",,"_s;
}

void TestViewer::linksWrittenByHandAreKept() {
    QFETCH(QStringList, names);
    QFETCH(QString, separator);
    FormFixture f(FormFixture::birdList(2));
    QStringList paths;
    for (const QString& name : names) {
        paths.append(writePng(f, name, {40 + 10 * int(paths.size()), 30}));
    }
    const QString value = paths.join(separator);
    QVERIFY(!f.program->gdbBirdList->execute(u"UPDATE \"Bird List\" SET Images = ?"_s, {value}));
    f.press({"cmdFirst", "cmdNext"});
    QVERIFY(f.enabled(u"cmdViewImages"_s));
    f.press({"cmdViewImages"});
    QCOMPARE(part<QListWidget>(f, u"List1"_s)->count(), paths.size() + (separator.size() - 1));
    QCOMPARE(listed(f).last(), names.last());
    // Looked at, not changed: the value stays as it was written, whether the viewer is closed
    // or the form moves away.
    part<QPushButton>(f, u"cmdClose"_s)->click();
    f.press({"cmdViewImages", "cmdPrevious"});
    QCOMPARE(f.stored(2, u"Images"_s).toString(), value);
    // A link added keeps every link there was.
    const QString added = writePng(f, u"added"_s, {90, 30});
    f.dialogs.type(added);
    f.press({"cmdNext", "cmdAddImage", "cmdPrevious"});
    QCOMPARE(f.stored(2, u"Images"_s).toString(), value + u","_s + added + u","_s);
    QVERIFY(f.takeMessages().isEmpty());
}

// View Images is there for a browsed sighting with links, and only then; in the viewer Delete
// removes the link selected, and none after a Ctrl+click took the selection away.
void TestViewer::viewImagesActsOnlyWhereThereAreLinks() {
    FormFixture f(FormFixture::birdList(2));
    const QString gull = writePng(f, u"gull"_s, {60, 40});
    QVERIFY(!f.program->gdbBirdList->execute(
        u"UPDATE \"Bird List\" SET Images = ? WHERE Number = 2"_s, {links::write({gull})}));
    f.press({"cmdFirst", "cmdNext"});
    QVERIFY(f.enabled(u"cmdViewImages"_s));
    f.press({"cmdSearch"});
    QVERIFY(!f.enabled(u"cmdViewImages"_s) && !f.enabled(u"mnuViewImages"_s));
    f.press({"cmdCancelSearch", "cmdAdd"});
    QVERIFY(!f.enabled(u"cmdViewImages"_s));
    f.press({"cmdCancel"});
    QVERIFY(f.enabled(u"cmdViewImages"_s));

    f.press({"cmdViewImages"});
    auto* list = part<QListWidget>(f, u"List1"_s);
    QCOMPARE(list->currentRow(), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    QVERIFY(list->selectedItems().isEmpty());
    part<QPushButton>(f, u"cmdDelete"_s)->click();
    QCOMPARE_MESSAGES(f, u"No Link Selected|Please select an image link to delete."_s);
    QCOMPARE(listed(f), QStringList{u"gull"_s});
    // The last link removed, and later the first one added: the command follows at once.
    list->setCurrentRow(0);
    part<QPushButton>(f, u"cmdDelete"_s)->click();
    part<QPushButton>(f, u"cmdClose"_s)->click();
    QCOMPARE(f.stored(2, u"Images"_s).toString(), QString());
    QVERIFY(!f.enabled(u"cmdViewImages"_s));
    f.dialogs.type(gull);
    f.press({"cmdAddImage"});
    part<QPushButton>(f, u"cmdClose"_s)->click();
    QVERIFY(f.enabled(u"cmdViewImages"_s));
}

// The disk fails while the viewer writes its links back: the engine cannot even undo its change
// until the disk works again, and the record shown can no longer be read. Nothing stored is
// written over meanwhile, and the form moves again once the disk works.
void TestViewer::aFailingDiskLosesNoLinks() {
    FormFixture f(FormFixture::birdList(300));
    const QString kept = writePng(f, u"kept"_s, {50, 30});
    QVERIFY(!f.program->gdbBirdList->execute(u"UPDATE \"Bird List\" SET Images = ?"_s,
                                             {links::write({kept})}));
    const QVariant images = f.query(u"SELECT group_concat(Images, '|') FROM \"Bird List\""_s);
    f.press({"cmdLast"});
    f.dialogs.type(writePng(f, u"added"_s, {60, 30}));
    f.press({"cmdAddImage"});
    QCOMPARE(listed(f), QStringList({u"kept"_s, u"added"_s}));

    // The journal fits under the limit; the last sighting's page lies beyond it, and so do the
    // pages the form reads next.
    FileSizeLimit full(16384);
    f.press({"cmdPrevious"});
    const QStringList failed = f.takeMessages();
    QVERIFY2(!failed.isEmpty() && failed[0].startsWith(u"Image Viewer Unloading Error|"_s),
             qPrintable(failed.join(u" / "_s)));
    // Links that cannot be read are not offered for changing, so none are written back.
    f.dialogs.type(writePng(f, u"later"_s, {70, 30}));
    f.press({"cmdAddImage"});
    full.lift();
    QCOMPARE(f.takeMessages(),
             QStringList{u"Image Viewer Loading Error|Error 3021:\nNo current record."_s});
    QVERIFY(!viewerOf(f));
    f.press({"cmdFirst"});
    QCOMPARE(f.takeMessages(), QStringList());
    QCOMPARE(f.shownAt(), u"Bird 1|Record 1 "_s);
    QCOMPARE(f.query(u"SELECT group_concat(Images, '|') FROM \"Bird List\""_s), images);
    QCOMPARE(f.query(u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
}

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
