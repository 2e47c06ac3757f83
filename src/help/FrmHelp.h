#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

class HelpBrowser;
class HelpCollection;
class QLineEdit;
class QTabWidget;

// The help window: the pages of the help collection with their contents, index and search
// panes. A collection that is missing or damaged is reported in the window itself.
class FrmHelp : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Plovix Help");

    // `openOutside` opens a web address that a page links to.
    FrmHelp(const QString& collectionFile, std::function<void(const QUrl&)> openOutside,
            QWidget* parent = nullptr);
    ~FrmHelp() override;

    // Shows the window on the contents and the start page.
    void showContents();
    // Shows the window on the topic with this index keyword.
    void showTopic(const QString& keyword);

private:
    void buildPanes();
    void showPage(const QUrl& url);
    void showProblem(const QString& html);
    void bringUp();

    std::unique_ptr<HelpCollection> m_help;
    QTabWidget* tabPanes = nullptr;
    QLineEdit* txtIndexLookFor = nullptr;
    HelpBrowser* txtPage = nullptr;
};
