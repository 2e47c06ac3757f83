#include "editor/FrmEdit.h"

#include "services/MDatabase.h"
#include "database/Schema.h"
#include "services/MValidation.h"
#include "services/MWindow.h"
#include "services/Program.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FrmEdit::FrmEdit(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(kCaption);
    setModal(true);
    buildForm();
}

FrmEdit::~FrmEdit() = default;

void FrmEdit::buildForm() {
    auto* lblInstructions = new QLabel(
        QStringLiteral("BULK CHANGE: Use with caution, will affect ALL matching entries."), this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    QFont bold = lblInstructions->font();
    bold.setBold(true);
    lblInstructions->setFont(bold);
    auto* lblSelect = new QLabel(
        QStringLiteral("Select entry you wish to change, then click Edit or Delete"), this);
    lblSelect->setObjectName(QStringLiteral("lblSelect"));

    auto* fraSelect = new QGroupBox(QStringLiteral("Choose field to edit"), this);
    fraSelect->setObjectName(QStringLiteral("fraSelect"));
    auto* choices = new QVBoxLayout(fraSelect);
    optChoice = new QButtonGroup(this);
    for (bulk::Field field : bulk::kFields) {
        const int index = int(field);
        auto* option = new QRadioButton(bulk::fieldName(field), fraSelect);
        option->setObjectName(QStringLiteral("optChoice%1").arg(index));
        optChoice->addButton(option, index);
        choices->addWidget(option);
    }
    choices->addStretch();
    connect(optChoice, &QButtonGroup::idClicked, this, &FrmEdit::optChoice_Click);

    lstEdit = new QListWidget(this);
    lstEdit->setObjectName(QStringLiteral("lstEdit"));
    lstEdit->setMinimumSize(300, 220);
    connect(lstEdit, &QListWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });

    auto button = [this](const char* name, const char* caption) {
        auto* made = new QPushButton(QString::fromUtf8(caption), this);
        made->setObjectName(QLatin1String(name));
        made->setAutoDefault(false);
        return made;
    };
    cmdEdit = button("cmdEdit", "&Edit");
    cmdDelete = button("cmdDelete", "De&lete");
    cmdDone = button("cmdDone", "&Done");
    connect(cmdEdit, &QPushButton::clicked, this, &FrmEdit::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &FrmEdit::cmdDelete_Click);
    connect(cmdDone, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* each : {cmdEdit, cmdDelete, cmdDone}) {
        buttons->addWidget(each);
    }
    auto* middle = new QHBoxLayout;
    middle->addWidget(fraSelect);
    middle->addWidget(lstEdit, 1);
    auto* form = new QVBoxLayout(this);
    form->addWidget(lblInstructions);
    form->addWidget(lblSelect);
    form->addLayout(middle, 1);
    form->addLayout(buttons);
}

void FrmEdit::Form_Load() {
    // No field is chosen and the list is empty until an option is clicked. The window takes its
    // size first, so that a first opening is centred.
    adjustSize();
    formPosition(this, false, *m_program.gobjSettings);
}

void FrmEdit::optChoice_Click(int index) {
    lstEdit->clear();
    mintChoice = index;
    if (!m_program.gdbBirdList) {
        return;
    }
    DbError error;
    lstEdit->addItems(bulk::entries(*m_program.gdbBirdList, bulk::Field(index), error));
    if (error) {
        reportDatabaseError(m_program, error);
    }
}

bool FrmEdit::selectedEntry(const QString& title, const QString& noSelection) {
    const QListWidgetItem* item = mintChoice >= 0 ? lstEdit->currentItem() : nullptr;
    if (!item || !item->isSelected()) {
        m_program.dialogs.msgBox(noSelection, mb::Information | mb::OKOnly, title);
        return false;
    }
    mstrItem = item->text();
    return true;
}

QString FrmEdit::entryNamed() const {
    return QStringLiteral("%1 - '%2'")
        .arg(bulk::fieldName(bulk::Field(mintChoice)).toUpper(), mstrItem);
}

void FrmEdit::cmdEdit_Click() {
    const QString mstrTitle = m_program.app.title + QStringLiteral(" - Text Replacement");
    if (!selectedEntry(mstrTitle, QStringLiteral("No replacement item selected"))) {
        return;
    }
    const std::optional<QString> answer = m_program.dialogs.inputBox(
        QStringLiteral("Enter replacement text for\n\n") + entryNamed(), mstrTitle, mstrItem);
    // Cancelled, emptied or only blanks: nothing changes. A text longer than the field takes
    // is refused as the record form refuses it.
    const QString mstrNewText = answer.value_or(QString());
    if (mstrNewText.trimmed().isEmpty() ||
        !checkTextLength(m_program.dialogs, mstrNewText, kShortTextLimit)) {
        return;
    }
    if (mstrNewText != mstrItem) {
        m_program.cursor.setMousePointer(WaitCursor::Hourglass);
        const DbError error =
            bulk::rename(*m_program.gdbBirdList, bulk::Field(mintChoice), mstrItem, mstrNewText);
        m_program.cursor.setMousePointer(WaitCursor::Default);
        if (error) {
            reportDatabaseError(m_program, error);
        }
    }
    optChoice_Click(mintChoice);
}

void FrmEdit::cmdDelete_Click() {
    const QString mstrTitle = m_program.app.title + QStringLiteral(" - Item Deletion");
    if (!selectedEntry(mstrTitle, QStringLiteral("No item selected"))) {
        return;
    }
    const int answer = m_program.dialogs.msgBox(
        QStringLiteral("Do you wish to remove ALL instances of\n\n%1\n\nfrom your life list?")
            .arg(entryNamed()),
        mb::YesNo | mb::Question | mb::DefaultButton2, QStringLiteral("Deletion Confirmation"));
    if (answer != mb::Yes) {
        return;
    }
    m_program.cursor.setMousePointer(WaitCursor::Hourglass);
    const DbError error = bulk::remove(*m_program.gdbBirdList, bulk::Field(mintChoice), mstrItem);
    m_program.cursor.setMousePointer(WaitCursor::Default);
    if (error) {
        reportDatabaseError(m_program, error);
    }
    optChoice_Click(mintChoice);
}

void FrmEdit::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void FrmEdit::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    formPosition(this, true, *m_program.gobjSettings);
}
