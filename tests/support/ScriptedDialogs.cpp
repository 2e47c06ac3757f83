#include "ScriptedDialogs.h"

int ScriptedDialogs::msgBox(const QString& prompt, int style, const QString& title) {
    m_calls.append({Call::Message, prompt, style, title, {}});
    if (!m_answers.isEmpty()) {
        return m_answers.takeFirst().toInt();
    }
    return mb::defaultAnswer(style);
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
    m_calls.append({Call::Input, prompt, 0, title, defaultText});
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
        messages.append(call.title + QLatin1Char('|') + call.prompt);
    }
    m_calls.clear();
    return messages;
}
