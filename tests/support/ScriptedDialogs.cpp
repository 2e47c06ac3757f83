#include "ScriptedDialogs.h"

#include <QPrinter>

ScriptedDialogs::ScriptedDialogs() = default;
ScriptedDialogs::~ScriptedDialogs() = default;

int ScriptedDialogs::msgBox(const QString& prompt, int style, const QString& title) {
    return msgBoxWithDetails(prompt, {}, style, title);
}

int ScriptedDialogs::msgBoxWithDetails(const QString& prompt, const QString& details, int style,
                                       const QString& title) {
    m_calls.append({Call::Message, prompt, style, title, {}, details});
    if (!m_answers.isEmpty()) {
        return m_answers.takeFirst().toInt();
    }
    return mb::defaultAnswer(style);
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
    m_calls.append({Call::Input, prompt, 0, title, defaultText, {}});
    return takeText();
}

std::optional<QString> ScriptedDialogs::showSave(const QString& title, const QString& filter,
                                                 const QString& fileName) {
    m_calls.append({Call::Save, filter, 0, title, fileName, {}});
    return takeText();
}

std::optional<QString> ScriptedDialogs::showOpen(const QString& title, const QString& filter) {
    m_calls.append({Call::Open, filter, 0, title, {}, {}});
    return takeText();
}

QPrinter* ScriptedDialogs::showPrinter() {
    m_calls.append({Call::Print, {}, 0, {}, {}, {}});
    const std::optional<QString> pdf = takeText();
    if (!pdf) {
        return nullptr;
    }
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(*pdf);
    return m_printer.get();
}

void ScriptedDialogs::showPreview(const QString& caption, const QPageLayout& page,
                                  const std::function<void(QPrinter&)>& paint) {
    m_calls.append({Call::Preview, {}, 0, caption, {}, {}});
    if (const std::optional<QString> pdf = takeText()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*pdf);
        printer.setPageLayout(page);
        paint(printer);
    }
}

QStringList ScriptedDialogs::proposedFiles() const {
    QStringList files;
    for (const Call& call : m_calls) {
        if (call.kind == Call::Save) {
            files.append(call.defaultText);
        }
    }
    return files;
}

std::optional<QString> ScriptedDialogs::takeText() {
    if (!m_answers.isEmpty()) {
        const QVariant answer = m_answers.takeFirst();
        if (answer.isValid()) {
            return answer.toString();
        }
    }
    return std::nullopt;
}

QStringList ScriptedDialogs::takeMessages() {
    QStringList messages;
    for (const Call& call : m_calls) {
        if (call.kind == Call::Message || call.kind == Call::Input) {
            messages.append(call.title + QLatin1Char('|') + call.prompt);
        }
    }
    m_calls.clear();
    return messages;
}
