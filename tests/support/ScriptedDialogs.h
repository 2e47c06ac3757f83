#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

// Dialogs for tests: records every box and answers from a queue. A message box with no queued
// answer gets its default button; an input box with none is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    struct Call {
        enum Kind { Message, Input, Save, Open, Print, Preview } kind = Message;
        QString prompt;
        int style = 0;
        QString title;
        QString defaultText;
        QString details;  // the details area of a message box
    };

    int msgBox(const QString& prompt, int style = mb::OKOnly, const QString& title = {}) override;
    int msgBoxWithDetails(const QString& prompt, const QString& details, int style,
                          const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    // The next queued text is the file chosen; the print dialog chooses a PDF file.
    std::optional<QString> showSave(const QString& title, const QString& filter,
                                    const QString& fileName) override;
    // The next queued text is the file chosen.
    std::optional<QString> showOpen(const QString& title, const QString& filter) override;
    QPrinter* showPrinter() override;
    // The next queued text, if any, is a PDF file that gets the previewed pages.
    void showPreview(const QString& caption, const QPageLayout& page,
                     const std::function<void(QPrinter&)>& paint) override;

    // Queues the answer to the next message box (an mb::Answer).
    void answer(int answer) { m_answers.append(answer); }
    // Queues the text typed into the next input box and confirmed.
    void type(const QString& text) { m_answers.append(text); }
    // Queues a cancelled input box, save or print dialog.
    void cancelInput() { m_answers.append(QVariant()); }

    const QList<Call>& calls() const { return m_calls; }
    // The files proposed by the save dialogs shown so far.
    QStringList proposedFiles() const;
    // The message and input boxes shown since the last call, as "title|text", and forgets them
    // and the dialogs.
    QStringList takeMessages();

private:
    std::optional<QString> takeText();

    QList<Call> m_calls;
    QList<QVariant> m_answers;
    std::unique_ptr<QPrinter> m_printer;
};
