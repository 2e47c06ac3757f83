#pragma once

#include <QTextBrowser>
#include <functional>

class HelpCollection;

// The page view of the help window. It reads pages, pictures and the style sheet from the help
// collection; a link out of the help (a web address) goes to `openOutside`. Pictures wider than
// the view are shown scaled down to its width.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const HelpCollection& help, std::function<void(const QUrl&)> openOutside,
                QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& url);

    const HelpCollection& m_help;
    std::function<void(const QUrl&)> m_openOutside;
};
