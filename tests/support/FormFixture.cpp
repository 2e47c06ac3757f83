#include "FormFixture.h"

#include "services/MDatabase.h"
#include "database/NewLifeList.h"
#include "database/Schema.h"

#include <QSqlQuery>

FormFixture::~FormFixture() {
    if (m_form && !m_ended) {
        m_form->hide();
    }
}

QList<Sighting> FormFixture::birdList(int count) {
    QList<Sighting> list;
    for (int i = 1; i <= count; ++i) {
        list.append({{u"CommonName"_s, u"Bird %1"_s.arg(i)}, {"Country", "Peru"}});
    }
    return list;
}

void FormFixture::makeList(const QList<Sighting>& sightings) {
    QFile::remove(listPath());
    DbError error = createNewLifeList(listPath());
    std::unique_ptr<Database> db = error ? nullptr : Database::open(listPath(), error);
    if (!sightings.isEmpty() && db) {
        // The sightings are numbered from 1.
        error = db->execute(u"DELETE FROM \"Bird List\""_s);
        db->execute(u"DELETE FROM sqlite_sequence"_s);
    }
    for (const Sighting& sighting : sightings) {
        QStringList fields;
        QVariantList values;
        for (const auto& [field, value] : sighting) {
            fields.append(quoteIdentifier(field));
            values.append(value);
        }
        error = error ? error
                      : db->execute(u"INSERT INTO \"Bird List\" (%1) VALUES (?%2)"_s.arg(
                                        fields.join(u','), u",?"_s.repeated(fields.size() - 1)),
                                    values);
    }
    if (error) {
        qFatal("cannot make the life list: %s", qPrintable(error.description));
    }
}

FrmMain* FormFixture::open() {
    if (!openBirdListDatabase(*program)) {
        qFatal("the life list does not open");
    }
    m_ended = false;
    m_form = std::make_unique<FrmMain>(*program, [this] { m_ended = true; });
    if (DbError error = m_form->Form_Load()) {
        qFatal("Form_Load: %s", qPrintable(error.description));
    }
    m_form->show();
    m_form->activateWindow();
    if (!QTest::qWaitForWindowActive(m_form.get())) {
        qFatal("the record form does not become active");
    }
    return m_form.get();
}

bool FormFixture::close() {
    trigger(u"mnuExit"_s);
    return m_ended;
}

void FormFixture::openCopyOf(const FormFixture& other) {
    QFile::copy(other.listPath(), listPath());
    open();
}

QString FormFixture::text(const QString& name) const {
    QWidget* widget = get(name);
    for (const char* property : {"currentText", "plainText", "text"}) {
        if (const QVariant text = widget->property(property); text.isValid()) {
            return text.toString();
        }
    }
    qFatal("no text in %s", qPrintable(name));
}

void FormFixture::focus(const QString& name) {
    // What the form left for the event loop (a focus sent back by a check) happens first.
    QCoreApplication::processEvents();
    get(name)->setFocus(Qt::TabFocusReason);
}

void FormFixture::enter(const QString& name, const QString& text, const char* then) {
    QWidget* widget = get(name);
    focus(name);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(widget, Qt::Key_Delete);
    }
    for (const QChar ch : text) {
        if (ch == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
        } else {
            // A letter no key of the test keyboard has is typed as its text.
            QKeyEvent press(QEvent::KeyPress, ch.unicode() < 128 ? ch.toUpper().unicode() : 0,
                            Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &press);
        }
    }
    if (then) {
        focus(QLatin1String(then));
    }
}

void FormFixture::choose(const QString& name, const QString& entry) {
    auto* combo = get<QComboBox>(name);
    focus(name);
    const int index = combo->findText(entry);
    if (index < 0) {
        qFatal("%s has no entry %s", qPrintable(name), qPrintable(entry));
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void FormFixture::click(const QString& name) {
    QCoreApplication::processEvents();
    auto* button = get<QPushButton>(name);
    if (!button->isVisible() || !button->isEnabled()) {
        qFatal("button %s cannot be clicked", qPrintable(name));
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void FormFixture::trigger(const QString& name) {
    QCoreApplication::processEvents();
    auto* action = get<QAction>(name);
    if (!action->isEnabled()) {
        qFatal("menu item %s is disabled", qPrintable(name));
    }
    action->trigger();
}

void FormFixture::press(std::initializer_list<const char*> commands,
                        std::initializer_list<int> answers) {
    for (int answer : answers) {
        dialogs.answer(answer);
    }
    for (const char* command : commands) {
        const QString name = QLatin1String(command);
        name.startsWith(u"cmd") ? click(name) : trigger(name);
    }
}

int FormFixture::total() const {
    return query(u"SELECT COUNT(*) FROM \"Bird List\""_s).toInt();
}

QVariant FormFixture::query(const QString& sql, const QVariantList& values) const {
    QSqlQuery statement(program->gdbBirdList->sql());
    if (runSql(statement, sql, values) || !statement.next()) {
        return {};
    }
    return statement.value(0);
}

QVariant FormFixture::stored(int number, const QString& field) const {
    return query(u"SELECT %1 FROM \"Bird List\" WHERE Number = ?"_s.arg(quoteIdentifier(field)),
                 {number});
}
