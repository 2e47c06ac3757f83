#include "services/MValidation.h"

#include "platform/Dialogs.h"

#include <QFileInfo>

bool checkTextLength(Dialogs& dialogs, const QString& text, int maxLength) {
    // Characters as the user sees them: one beyond the basic range is one, not two.
    const qsizetype n = text.toUcs4().size();
    if (n <= maxLength) {
        return true;
    }
    dialogs.msgBox(QStringLiteral("Please shorten this entry.\n"
                                  "It contains %1 characters and a maximum of %2 is allowed.")
                       .arg(n)
                       .arg(maxLength),
                   mb::Exclamation | mb::OKOnly, QStringLiteral("Maximum Text Length Exceeded"));
    return false;
}

bool confirmOverwrite(Dialogs& dialogs, QString& fileName, const QString& extension) {
    const QString ending = QLatin1Char('.') + extension;
    if (!fileName.endsWith(ending, Qt::CaseInsensitive)) {
        const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        fileName = dot > slash ? fileName.left(dot) + ending : fileName + ending;
    }
    if (!QFileInfo::exists(fileName)) {
        return true;
    }
    const int answer = dialogs.msgBox(
        QStringLiteral("%1\nThis file already exists.\n\nReplace existing file?").arg(fileName),
        mb::Exclamation | mb::YesNo | mb::DefaultButton2, QStringLiteral("Save File"));
    return answer == mb::Yes;
}

std::optional<QString> chooseSaveFile(Dialogs& dialogs, const QString& title, const QString& filter,
                                      const QString& proposedPath, const QString& extension) {
    std::optional<QString> chosen;
    do {
        chosen = dialogs.showSave(title, filter, proposedPath);
        if (!chosen) {
            return std::nullopt;
        }
    } while (!confirmOverwrite(dialogs, *chosen, extension));
    return chosen;
}
