#pragma once

#include "platform/Dialogs.h"

#include <memory>

class QWidget;

// The real message and input boxes.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QString programTitle);
    ~QtDialogs() override;

    int msgBox(const QString& prompt, int style = mb::OKOnly, const QString& title = {}) override;
    int msgBoxWithDetails(const QString& prompt, const QString& details, int style,
                          const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> showSave(const QString& title, const QString& filter,
                                    const QString& fileName) override;
    std::optional<QString> showOpen(const QString& title, const QString& filter) override;
    QPrinter* showPrinter() override;
    void showPreview(const QString& caption, const QPageLayout& page,
                     const std::function<void(QPrinter&)>& paint) override;

private:
    QString titleOrProgram(const QString& title) const;
    QString m_programTitle;
    std::unique_ptr<QPrinter> m_printer;
};
