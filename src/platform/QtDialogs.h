#pragma once

#include "platform/Dialogs.h"

class QWidget;

// The real message and input boxes.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QString programTitle) : m_programTitle(std::move(programTitle)) {}

    int msgBox(const QString& prompt, int style = mb::OKOnly, const QString& title = {}) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;

private:
    QString titleOrProgram(const QString& title) const;
    QString m_programTitle;
};
