#pragma once

// One program on recording stand-ins for the desktop, in a program folder of its own: the
// platform every test program and the benchmark run the program's parts on. Also the reading
// of the files a program writes.
#include "Doubles.h"
#include "ScriptedDialogs.h"

#include "services/Program.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestPlatform {
public:
    // The program folder is `folder`, or a new scratch folder; settings are kept in it too.
    explicit TestPlatform(const QString& folder = {});
    virtual ~TestPlatform();

    QString folder() const { return m_folder; }
    QString file(const QString& name) const { return m_folder + QLatin1Char('/') + name; }
    QString listPath() const { return file(u"Bird List.mdb"_s); }
    // The files in the program folder, by name.
    QStringList files() const;

    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15))};
    RecordingWaitCursor cursor;
    RecordingShell shell;
    std::unique_ptr<Program> program;

    // Message boxes shown since the last call, as "title|text".
    QStringList takeMessages() { return dialogs.takeMessages(); }

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

// The bytes of a file; none when it cannot be read.
QByteArray fileBytes(const QString& path);
// The pages of a PDF file.
inline int pdfPages(const QString& path) {
    return int(fileBytes(path).count("/Type /Page\n"));
}

// Comparison of the message boxes shown, in order.
#define QCOMPARE_MESSAGES(platform, ...) \
    QCOMPARE((platform).takeMessages(), QStringList({__VA_ARGS__}))
