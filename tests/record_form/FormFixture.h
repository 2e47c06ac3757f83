#pragma once

// A record form on a life list in a scratch folder, with scripted dialogs and a fixed clock,
// driven through the object names of its controls.
#include "app/Program.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Shell.h"
#include "record_form/FrmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// One sighting: field name and text.
using Sighting = QList<std::pair<QString, QString>>;

class FormFixture {
public:
    FormFixture();
    ~FormFixture();

    QString folder() const { return m_dir.path(); }
    QString listPath() const;

    // Sightings "Bird 1" to "Bird <count>", seen in Peru.
    static QList<Sighting> birdList(int count);
    // A new life list (starter record only), or one holding the given sightings instead.
    void makeList(const QList<Sighting>& sightings = {});
    // Opens the life list and shows the record form on it, active, as at start-up.
    FrmMain* open();
    // Closes the form as "Exit" does; false when the form refused to close.
    bool close();

    FrmMain* form() const { return m_form.get(); }
    template <typename T = QWidget>
    T* get(const QString& name) const {
        T* widget = m_form->findChild<T*>(name);
        if (!widget) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }
    QAction* item(const QString& name) const { return m_form->menuItem(name); }

    // The text a control shows, whatever kind it is.
    QString text(const QString& name) const;
    // Gives a field the focus as Tab would, and types `text` over what it holds.
    void enter(const QString& name, const QString& text);
    // Gives a combo box the focus as Tab would and picks one of its list entries.
    void choose(const QString& name, const QString& entry);
    // Gives a control the focus as Tab would.
    void focus(const QString& name);
    // Clicks a button with the mouse.
    void click(const QString& name);
    // Chooses a menu item.
    void trigger(const QString& name);

    QString panel(int number) const;
    QString shownName() const { return text(QStringLiteral("txtCommonName")); }
    int total() const;

    // One value from the file, through the program's own connection.
    QVariant query(const QString& sql, const QVariantList& values = {}) const;

    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15))};
    RecordingWaitCursor cursor;
    RecordingShell shell;
    std::unique_ptr<Program> program;

    // Message boxes shown since the last call, as "title|text".
    QStringList takeMessages();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FrmMain> m_form;
    bool m_ended = false;
};

// Comparison of the message boxes shown, in order.
#define QCOMPARE_MESSAGES(fixture, ...) \
    QCOMPARE((fixture).takeMessages(), QStringList({__VA_ARGS__}))
