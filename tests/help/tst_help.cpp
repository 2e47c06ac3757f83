// The help window, the maker's web site and the About box: the compiled help collection with its
// topics, contents and search, and the Help menu of the record form in every mode.
#include "FormFixture.h"

#include "help/FrmAbout.h"
#include "help/FrmHelp.h"
#include "help/HelpCollection.h"
#include "platform/QtShell.h"
#include "record_form/Commands.h"

#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QTabWidget>
#include <QTextBrowser>

namespace {

const QString kHelpFolder = QStringLiteral(PLOVIX_HELP_DIR);
const QString kCollection = kHelpFolder + u"/plovix.qhc"_s;

// The pages under an entry of the contents and its entries, by file name.
void collectPages(const QHelpContentItem* item, QSet<QString>& pages) {
    pages.insert(item->url().fileName());
    for (int i = 0; i < item->childCount(); ++i) {
        collectPages(item->child(i), pages);
    }
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    // The topics the Help menu asks for, "wildcard" and the name of every command lead to a
    // page of the help.
    void keywordsLeadToTheirPages_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("page");  // empty: any page
        QTest::newRow("overview") << u"Plovix Overview"_s << u"overview.html"_s;
        QTest::newRow("licence") << u"License Agreement"_s << u"license.html"_s;
        QTest::newRow("wildcard") << u"wildcard"_s << u"search.html"_s;
        for (const Command& row : commandTable()) {
            QString name = QString::fromLatin1(row.itemCaption).remove(u'&');
            name.chop(name.endsWith(u"..."_s) ? 3 : 0);
            QTest::newRow(row.item) << name << QString();
        }
    }
    void keywordsLeadToTheirPages() {
        QFETCH(QString, keyword);
        QFETCH(QString, page);
        const HelpCollection help(kCollection);
        QVERIFY2(help.ready(), qPrintable(help.problem()));
        const QUrl topic = help.topicUrl(keyword);
        QVERIFY2(topic.isValid(), qPrintable(keyword));
        QVERIFY2(page.isEmpty() || topic.fileName() == page, qPrintable(topic.fileName()));
        QVERIFY(help.fileData(topic).contains("<h1>"));
    }

    // Every page of the help is in its contents, and its search finds the backup copies.
    void contentsAndSearchReachEveryPage() {
        const HelpCollection help(kCollection);
        QHelpEngine* engine = help.engine();
        QVERIFY(engine);
        QHelpContentModel* contents = engine->contentModel();
        QTRY_VERIFY(!contents->isCreatingContents() && contents->rowCount() == 1);
        QSet<QString> listed;
        collectPages(contents->contentItemAt(contents->index(0, 0)), listed);
        const QString space = engine->registeredDocumentations().value(0);
        QSet<QString> pages;
        for (const QUrl& file : engine->files(space, QString(), u"html"_s)) {
            pages.insert(file.fileName());
        }
        QVERIFY(pages.size() >= 15);
        QCOMPARE(pages - listed, QSet<QString>());
        QCOMPARE(help.startUrl().fileName(), HelpCollection::startPage());

        QHelpSearchEngine* search = engine->searchEngine();
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        search->reindexDocumentation();
        QVERIFY(indexed.wait(30000));
        QSignalSpy found(search, &QHelpSearchEngine::searchingFinished);
        search->search(u"backup"_s);
        QVERIFY(found.wait(10000));
        QStringList hits;
        for (const QHelpSearchResult& hit :
             search->searchResults(0, found.first().first().toInt())) {
            hits.append(hit.url().fileName());
        }
        QVERIFY2(hits.contains(u"maintenance.html"_s), qPrintable(hits.join(u' ')));
    }

    // F1 opens the help at its contents in every mode of the form; the Help menu's topics open
    // their pages; without the help files the help window says so itself.
    void helpOpensFromTheForm_data() {
        QTest::addColumn<QString>("mode");  // the command that puts the form in its mode
        QTest::addColumn<QString>("command");
        // The page shown; without the help files, a text of the window's own.
        QTest::addColumn<QString>("shown");
        QTest::newRow("browse") << QString() << u"F1"_s << u"index.html"_s;
        QTest::newRow("add") << u"cmdAdd"_s << u"F1"_s << u"index.html"_s;
        QTest::newRow("search") << u"cmdSearch"_s << u"F1"_s << u"index.html"_s;
        QTest::newRow("overview") << u"cmdAdd"_s << u"mnuHelpOverview"_s << u"overview.html"_s;
        QTest::newRow("licence") << QString() << u"mnuHelpLicense"_s << u"license.html"_s;
        QTest::newRow("missing") << QString() << u"F1"_s << u"plovix.qhc is missing"_s;
    }
    void helpOpensFromTheForm() {
        QFETCH(QString, mode);
        QFETCH(QString, command);
        QFETCH(QString, shown);
        const bool installed = shown.endsWith(u".html"_s);
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        for (const char* name : {"plovix.qhc", "plovix.qch"}) {
            QVERIFY(!installed || QFile::copy(kHelpFolder + u'/' + QLatin1String(name),
                                              f.file(QLatin1String(name))));
        }
        f.open();
        if (!mode.isEmpty()) {
            f.click(mode);
        }
        if (command == u"F1"_s) {
            QTest::keyClick(f.focused() ? f.focused() : f.form(), Qt::Key_F1);
        } else {
            f.trigger(command);
        }
        FrmHelp* help = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            help = help ? help : qobject_cast<FrmHelp*>(window);
        }
        QVERIFY(help && help->isVisible());
        auto* page = help->findChild<QTextBrowser*>(u"txtPage"_s);
        if (installed) {
            QCOMPARE(page->source().fileName(), shown);
            QCOMPARE(help->findChild<QTabWidget*>(u"tabPanes"_s)->currentIndex(), 0);
        } else {
            QVERIFY2(page->toPlainText().contains(shown), qPrintable(page->toPlainText()));
        }
        QCOMPARE_MESSAGES(f);
    }

    // The maker's site opens in the browser; when no browser starts, the user is told.
    void webSiteOpensOrSaysWhyNot() {
        FormFixture f(FormFixture::birdList(2));
        const QUrl site(u"https://www.tenvane.example/plovix"_s);
        f.trigger(u"mnuHelpWebSite"_s);
        QCOMPARE_MESSAGES(f);
        f.shell.works = false;
        f.trigger(u"mnuHelpWebSite"_s);
        QCOMPARE(f.shell.opened, QList<QUrl>({site, site}));
        QCOMPARE_MESSAGES(f,
                          u"|An error has occurred trying to access the internet.  Please check "
                          u"your browser settings and internet connection and try again."_s);
        QCOMPARE(f.shownAt(), u"Bird 2|Record 2 "_s);
    }

    // What the desktop's opener answers is what the commands hear: an opener that finds no
    // browser, or fails to open the file, is a failure; one that keeps a browser open in the
    // foreground has succeeded.
    void theDesktopsOpenerIsHeard_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("opened");
        QTest::newRow("opened") << QByteArray("exit 0") << true;
        QTest::newRow("no program for it") << QByteArray("exit 3") << false;
        QTest::newRow("the program failed") << QByteArray("exit 4") << false;
        QTest::newRow("killed") << QByteArray("kill -9 $$") << false;
        QTest::newRow("a browser in the foreground") << QByteArray("sleep 5") << true;
    }
    void theDesktopsOpenerIsHeard() {
        QFETCH(QByteArray, script);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        QFile opener(bin.filePath(u"xdg-open"_s));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/asked\"\n" + script + "\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");
        const bool result = QtShell(500).openUrl(QUrl::fromLocalFile(u"/tmp/My Life List.html"_s));
        qputenv("PATH", path);
        QCOMPARE(result, opened);
        QFile asked(bin.filePath(u"asked"_s));
        QVERIFY(asked.open(QIODevice::ReadOnly));
        QCOMPARE(asked.readAll(), QByteArray("/tmp/My Life List.html\n"));
    }

    // The About box shows the version and a notice whose years end in this year; it is modal
    // over the record form and OK closes it.
    void aboutBox_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("years");
        QTest::newRow("first year") << 2024 << u"Software 2024"_s;
        QTest::newRow("later") << 2031 << u"Software 2024-2031"_s;
    }
    void aboutBox() {
        QFETCH(int, year);
        QFETCH(QString, years);
        FormFixture f(FormFixture::birdList(2));
        f.program->app.major = 2;
        f.program->app.minor = 10;
        f.program->app.revision = 3;
        f.clock.set(QDateTime(QDate(year, 1, 1), QTime(0, 0)));
        QString version, notice;
        // Reads and closes the box once it is up over the form.
        std::function<void()> answer = [&] {
            auto* about = qobject_cast<FrmAbout*>(QApplication::activeModalWidget());
            if (!about) {
                return QTimer::singleShot(10, answer);
            }
            version = about->findChild<QLabel*>(u"lblVersion"_s)->text();
            notice = about->findChild<QLabel*>(u"lblDescription"_s)->text();
            QTest::mouseClick(about->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
        };
        QTimer::singleShot(10, answer);
        f.trigger(u"mnuHelpAbout"_s);
        QCOMPARE(version, u"Version 2.10.3"_s);
        QVERIFY2(notice.endsWith(years), qPrintable(notice));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
