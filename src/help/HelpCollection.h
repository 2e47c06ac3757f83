#pragma once

#include <QString>
#include <QUrl>
#include <memory>

class QHelpEngine;

// The program's help: a Qt help collection beside the program, opened read-only. It gives the
// pages' addresses for the start page and for a topic's keyword, and the engine that the help
// window's contents, index and search panes are built on.
class HelpCollection {
public:
    // The collection's file name in the program folder; its compressed pages lie beside it.
    static QString fileName() { return QStringLiteral("plovix.qhc"); }
    // The page the contents open on.
    static QString startPage() { return QStringLiteral("index.html"); }

    explicit HelpCollection(const QString& collectionFile);
    ~HelpCollection();

    const QString& file() const { return m_file; }
    // Empty when the collection is ready; otherwise why it cannot be used ("is missing").
    const QString& problem() const { return m_problem; }
    bool ready() const { return m_problem.isEmpty(); }
    // Null when the collection is not ready.
    QHelpEngine* engine() const { return ready() ? m_engine.get() : nullptr; }

    QUrl startUrl() const;
    // The page of the topic with this index keyword; empty when there is none.
    QUrl topicUrl(const QString& keyword) const;
    // A page's bytes (pictures and style sheets too); empty when the collection has no such
    // file.
    QByteArray fileData(const QUrl& url) const;

private:
    QString m_file;
    QString m_problem;
    QString m_namespace;
    std::unique_ptr<QHelpEngine> m_engine;
};
