#include "help/HelpBrowser.h"

#include "help/HelpCollection.h"

#include <QImage>
#include <QScrollBar>

namespace {

bool isHelpPage(const QUrl& url) {
    return url.scheme() == QLatin1String("qthelp");
}

}  // namespace

HelpBrowser::HelpBrowser(const HelpCollection& help, std::function<void(const QUrl&)> openOutside,
                         QWidget* parent)
    : QTextBrowser(parent), m_help(help), m_openOutside(std::move(openOutside)) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

void HelpBrowser::followLink(const QUrl& url) {
    const QUrl target = url.isRelative() ? source().resolved(url) : url;
    if (isHelpPage(target)) {
        setSource(target);
    } else if (m_openOutside) {
        m_openOutside(target);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (!isHelpPage(url)) {
        return {};
    }
    const QByteArray data = m_help.fileData(url);
    if (type != QTextDocument::ImageResource || data.isEmpty()) {
        return data;
    }
    QImage picture = QImage::fromData(data);
    const int room = viewport()->width() - 2 * int(document()->documentMargin()) -
                     verticalScrollBar()->sizeHint().width();
    if (room > 100 && picture.width() > room) {
        picture = picture.scaledToWidth(room, Qt::SmoothTransformation);
    }
    return picture;
}
