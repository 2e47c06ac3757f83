#pragma once

// A record form on a life list in a scratch program folder, driven through the object names of
// its controls as a user would drive it.
#include "TestPlatform.h"

#include "record_form/FrmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

// One sighting: field name and text.
using Sighting = QList<std::pair<QString, QString>>;

class FormFixture : public TestPlatform {
public:
    FormFixture() = default;
    // A program whose folder (and life list) is `folder`; nothing is opened yet.
    explicit FormFixture(const QString& folder) : TestPlatform(folder) {}
    // The record form open on a life list of these sightings, or on a new life list.
    explicit FormFixture(const QList<Sighting>& sightings) {
        makeList(sightings);
        open();
    }
    ~FormFixture() override;

    // Sightings "Bird 1" to "Bird <count>", seen in Peru.
    static QList<Sighting> birdList(int count);
    // A new life list (starter record only), or one holding the given sightings instead.
    void makeList(const QList<Sighting>& sightings = {});
    // Opens the life list and shows the record form on it, active, as at start-up.
    FrmMain* open();
    // Closes the form as "Exit" does; false when the form refused to close.
    bool close();
    // Opens the record form on a copy of another fixture's life list.
    void openCopyOf(const FormFixture& other);

    FrmMain* form() const { return m_form.get(); }
    template <typename T = QWidget>
    T* get(const QString& name) const {
        T* widget = m_form->findChild<T*>(name);
        if (!widget) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }
    bool shown(const QString& name) const { return get(name)->isVisible(); }
    bool enabled(const QString& name) const {
        return get<QObject>(name)->property("enabled").toBool();
    }

    // The text a control shows, whatever kind it is.
    QString text(const QString& name) const;
    // Gives a field the focus as Tab would and types `text` over what it holds; then, if asked,
    // moves on to another control as Tab would.
    void enter(const QString& name, const QString& text, const char* then = nullptr);
    // Gives a combo box the focus as Tab would and picks one of its list entries.
    void choose(const QString& name, const QString& entry);
    // Gives a control the focus as Tab would.
    void focus(const QString& name);
    // Clicks a button with the mouse.
    void click(const QString& name);
    // Chooses a menu item.
    void trigger(const QString& name);
    // Gives commands in turn: clicks each button (cmd...), chooses each menu item (mnu...). The
    // message boxes they show get the answers given, then their default buttons.
    void press(std::initializer_list<const char*> commands,
               std::initializer_list<int> answers = {});

    QString panel(int number) const { return text(u"Panel%1"_s.arg(number)); }
    QString shownName() const { return text(u"txtCommonName"_s); }
    // The record shown and its position: "Bird 2|Record 2 ".
    QString shownAt() const { return shownName() + u'|' + panel(2); }
    QWidget* focused() const { return QApplication::focusWidget(); }
    int total() const;

    // One value from the file, through the program's own connection.
    QVariant query(const QString& sql, const QVariantList& values = {}) const;
    // One field of the sighting with the given Number, as stored.
    QVariant stored(int number, const QString& field) const;

private:
    std::unique_ptr<FrmMain> m_form;
    bool m_ended = false;
};
