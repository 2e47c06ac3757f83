#include "help/HelpCollection.h"

#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>

HelpCollection::HelpCollection(const QString& collectionFile) : m_file(collectionFile) {
    const QFileInfo info(collectionFile);
    if (!info.exists()) {
        m_problem = QStringLiteral("is missing");
        return;
    }
    if (!info.isReadable()) {
        m_problem = QStringLiteral("cannot be read");
        return;
    }
    m_engine = std::make_unique<QHelpEngine>(info.absoluteFilePath());
    // The collection is never written: the program folder may be shared or read-only.
    m_engine->setReadOnly(true);
    m_engine->setUsesFilterEngine(true);
    if (!m_engine->setupData()) {
        m_problem = QStringLiteral("cannot be read (%1)").arg(m_engine->error());
        return;
    }
    // The pages themselves are in the compressed help file the collection names.
    const QStringList documents = m_engine->registeredDocumentations();
    if (documents.isEmpty() ||
        !QFileInfo::exists(m_engine->documentationFileName(documents.first()))) {
        m_problem = QStringLiteral("holds no pages: its compressed help file is missing");
        return;
    }
    m_namespace = documents.first();
}

HelpCollection::~HelpCollection() = default;

QUrl HelpCollection::startUrl() const {
    if (!ready()) {
        return {};
    }
    return m_engine->findFile(
        QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(m_namespace, startPage())));
}

QUrl HelpCollection::topicUrl(const QString& keyword) const {
    if (!ready()) {
        return {};
    }
    const QList<QHelpLink> links = m_engine->documentsForKeyword(keyword);
    return links.isEmpty() ? QUrl() : links.first().url;
}

QByteArray HelpCollection::fileData(const QUrl& url) const {
    return ready() ? m_engine->fileData(url) : QByteArray();
}
