#pragma once

#include <QString>
#include <functional>
#include <optional>

class QPageLayout;
class QPrinter;

// Message-box styles and answers, with the values the program's messages are written in.
namespace mb {
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton1 = 0,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

inline int buttonsOf(int style) {
    return style & 0x0F;
}
inline int iconOf(int style) {
    return style & 0xF0;
}
inline int defaultButtonOf(int style) {
    return (style & 0xF00) / 256;
}  // 0-based
// The answer that pressing Enter gives for a style.
int defaultAnswer(int style);
}  // namespace mb

// Every message box and input box the program shows goes through this interface, so that the
// text, title, icon and buttons the user sees can be checked and answered in tests.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box; an empty title shows the program's title. Returns an mb::Answer.
    virtual int msgBox(const QString& prompt, int style = mb::OKOnly,
                       const QString& title = {}) = 0;

    // A message box with a details area the user can open, holding `details` (none when
    // empty).
    virtual int msgBoxWithDetails(const QString& prompt, const QString& details, int style,
                                  const QString& title) = 0;

    // A one-line input box; no value when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;

    // A save dialog proposing `fileName`, with one file type (`filter`, as "Text File (*.txt)").
    // No value when the user cancels. Replacing an existing file is asked about by the caller.
    virtual std::optional<QString> showSave(const QString& title, const QString& filter,
                                            const QString& fileName) = 0;

    // An open dialog for one existing file, offering the file types of `filter` (Qt's form:
    // "Description (*.a *.b);;..."), the first chosen. No value when the user cancels.
    virtual std::optional<QString> showOpen(const QString& title, const QString& filter) = 0;

    // The print dialog; the printer chosen there is kept for the next print. Null when the
    // user cancels.
    virtual QPrinter* showPrinter() = 0;

    // A print preview window with this caption, maximised, on pages of `page`; `paint` draws
    // the document on the printer it is given (the preview's, or the one its Print button
    // chose). Returns when the user closes it.
    virtual void showPreview(const QString& caption, const QPageLayout& page,
                             const std::function<void(QPrinter&)>& paint) = 0;
};
