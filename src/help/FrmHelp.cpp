#include "help/FrmHelp.h"

#include "help/HelpBrowser.h"
#include "help/HelpCollection.h"

#include <QAction>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

enum Pane { ContentsPane, IndexPane, SearchPane };

}  // namespace

FrmHelp::FrmHelp(const QString& collectionFile, std::function<void(const QUrl&)> openOutside,
                 QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_help(std::make_unique<HelpCollection>(collectionFile)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/plovix.png")));

    txtPage = new HelpBrowser(*m_help, std::move(openOutside));
    txtPage->setObjectName(QStringLiteral("txtPage"));
    tabPanes = new QTabWidget;
    tabPanes->setObjectName(QStringLiteral("tabPanes"));
    auto* splitter = new QSplitter;
    splitter->addWidget(tabPanes);
    splitter->addWidget(txtPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 740});
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("tbrNavigation"));
    bar->setMovable(false);
    QAction* back = bar->addAction(QStringLiteral("Back"), txtPage, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(txtPage, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(QStringLiteral("Forward"), txtPage, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(txtPage, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    bar->addAction(QStringLiteral("Home"), this, [this] { showPage(m_help->startUrl()); });

    if (m_help->ready()) {
        buildPanes();
    } else {
        tabPanes->setEnabled(false);
        bar->setEnabled(false);
        showProblem(QStringLiteral("<p>The help file %1 %2.</p>"
                                   "<p>Plovix keeps its help in the files plovix.qhc and "
                                   "plovix.qch beside the program. Installing Plovix again puts "
                                   "them back; your life list is not touched.</p>")
                        .arg(m_help->file().toHtmlEscaped(), m_help->problem()));
    }
    resize(1080, 740);
}

FrmHelp::~FrmHelp() {
    // The panes are the engine's views: they go before it does.
    delete takeCentralWidget();
}

void FrmHelp::buildPanes() {
    QHelpEngine* engine = m_help->engine();

    QHelpContentWidget* contents = engine->contentWidget();
    contents->setObjectName(QStringLiteral("lstContents"));
    // A topic opens as soon as it is chosen, with the mouse or the arrow keys.
    connect(contents->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, engine](const QModelIndex& current) {
                if (const QHelpContentItem* item = engine->contentModel()->contentItemAt(current)) {
                    showPage(item->url());
                }
            });
    // The contents open with the start page's topics in view.
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(0); });
    tabPanes->addTab(contents, QStringLiteral("Contents"));

    auto* indexPane = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPane);
    txtIndexLookFor = new QLineEdit;
    txtIndexLookFor->setObjectName(QStringLiteral("txtIndexLookFor"));
    QHelpIndexWidget* index = engine->indexWidget();
    index->setObjectName(QStringLiteral("lstIndex"));
    auto* lookFor = new QLabel(QStringLiteral("&Look for:"));
    lookFor->setBuddy(txtIndexLookFor);
    indexLayout->addWidget(lookFor);
    indexLayout->addWidget(txtIndexLookFor);
    indexLayout->addWidget(index);
    connect(txtIndexLookFor, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(txtIndexLookFor, &QLineEdit::returnPressed, index,
            &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document) { showPage(document.url); });
    // A keyword of several topics shows the first; the others are in the contents.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents) {
                if (!documents.isEmpty()) {
                    showPage(documents.first().url);
                }
            });
    tabPanes->addTab(indexPane, QStringLiteral("Index"));

    QHelpSearchEngine* search = engine->searchEngine();
    auto* searchPane = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPane);
    QHelpSearchQueryWidget* query = search->queryWidget();
    query->setObjectName(QStringLiteral("txtSearchFor"));
    QHelpSearchResultWidget* results = search->resultWidget();
    results->setObjectName(QStringLiteral("lstSearchResults"));
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, search,
            [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &FrmHelp::showPage);
    // The words of the pages are indexed once, the first time the window opens; the search
    // waits for it.
    connect(search, &QHelpSearchEngine::indexingStarted, query,
            [query] { query->setEnabled(false); });
    connect(search, &QHelpSearchEngine::indexingFinished, query,
            [query] { query->setEnabled(true); });
    search->scheduleIndexDocumentation();
    tabPanes->addTab(searchPane, QStringLiteral("Search"));

    // Choosing a pane puts the typing where it belongs.
    connect(tabPanes, &QTabWidget::currentChanged, this, [this, contents, query](int pane) {
        QWidget* typing[] = {contents, txtIndexLookFor, query};
        typing[pane]->setFocus();
    });
}

void FrmHelp::showPage(const QUrl& url) {
    if (url.isValid()) {
        txtPage->setSource(url);
    }
}

void FrmHelp::showProblem(const QString& html) {
    txtPage->setHtml(QStringLiteral("<h2>%1</h2>%2").arg(kCaption, html));
}

void FrmHelp::bringUp() {
    show();
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void FrmHelp::showContents() {
    if (m_help->ready()) {
        tabPanes->setCurrentIndex(ContentsPane);
        showPage(m_help->startUrl());
    }
    bringUp();
}

void FrmHelp::showTopic(const QString& keyword) {
    if (m_help->ready()) {
        const QUrl page = m_help->topicUrl(keyword);
        if (page.isValid()) {
            showPage(page);
        } else {
            showProblem(QStringLiteral("<p>The help file has no topic \"%1\".</p>")
                            .arg(keyword.toHtmlEscaped()));
        }
    }
    bringUp();
}
