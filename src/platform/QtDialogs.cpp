#include "platform/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

namespace {

struct ButtonSet {
    QList<std::pair<QMessageBox::StandardButton, int>> buttons;
};

ButtonSet buttonsFor(int style) {
    using B = QMessageBox;
    switch (mb::buttonsOf(style)) {
        case mb::OKCancel:
            return {{{B::Ok, mb::OK}, {B::Cancel, mb::Cancel}}};
        case mb::AbortRetryIgnore:
            return {{{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}}};
        case mb::YesNoCancel:
            return {{{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}}};
        case mb::YesNo:
            return {{{B::Yes, mb::Yes}, {B::No, mb::No}}};
        case mb::RetryCancel:
            return {{{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}}};
        default:
            return {{{B::Ok, mb::OK}}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (mb::iconOf(style)) {
        case mb::Critical:
            return QMessageBox::Critical;
        case mb::Question:
            return QMessageBox::Question;
        case mb::Exclamation:
            return QMessageBox::Warning;
        case mb::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QtDialogs::QtDialogs(QString programTitle) : m_programTitle(std::move(programTitle)) {}

QtDialogs::~QtDialogs() = default;

QString QtDialogs::titleOrProgram(const QString& title) const {
    return title.isEmpty() ? m_programTitle : title;
}

int QtDialogs::msgBox(const QString& prompt, int style, const QString& title) {
    return msgBoxWithDetails(prompt, {}, style, title);
}

int QtDialogs::msgBoxWithDetails(const QString& prompt, const QString& details, int style,
                                 const QString& title) {
    QMessageBox box(iconFor(style), titleOrProgram(title), prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (!details.isEmpty()) {
        box.setDetailedText(details);
    }
    const ButtonSet set = buttonsFor(style);
    for (const auto& [button, answer] : set.buttons) {
        box.addButton(button);
    }
    const qsizetype defaultIndex =
        std::min<qsizetype>(mb::defaultButtonOf(style), set.buttons.size() - 1);
    box.setDefaultButton(set.buttons[defaultIndex].first);
    const auto& last = set.buttons.last();
    box.setEscapeButton(set.buttons.size() == 1 ? set.buttons[0].first : last.first);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, answer] : set.buttons) {
        if (button == clicked) {
            return answer;
        }
    }
    return set.buttons.size() == 1 ? set.buttons[0].second : last.second;
}

std::optional<QString> QtDialogs::inputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), titleOrProgram(title),
                                               prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

std::optional<QString> QtDialogs::showSave(const QString& title, const QString& filter,
                                           const QString& fileName) {
    const QString chosen =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, fileName, filter, nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

std::optional<QString> QtDialogs::showOpen(const QString& title, const QString& filter) {
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

QPrinter* QtDialogs::showPrinter() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
    // The whole document is printed: there is no selection, page range or current page.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return m_printer.get();
}

void QtDialogs::showPreview(const QString& caption, const QPageLayout& page,
                            const std::function<void(QPrinter&)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(page);
    // A window of its own, so that it stays usable while the window it came from is disabled.
    QPrintPreviewDialog preview(&printer, nullptr, Qt::Window);
    preview.setObjectName(QStringLiteral("frmPreview"));
    preview.setWindowTitle(caption);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* target) { paint(*target); });
    // Maximised; a desktop without a window manager gets the whole free screen instead.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        preview.setGeometry(screen->availableGeometry());
    }
    preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
}
