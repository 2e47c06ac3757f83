#pragma once

#include "database/BulkEdit.h"

#include <QDialog>

class Program;
class QButtonGroup;
class QListWidget;
class QPushButton;

// The life-list editor: the user chooses a field (order, family, location, country, region),
// selects one of its entries and renames or removes it in every sighting and in its lookup
// table at once. It is modal; the record form brings itself up to date when it closes.
class FrmEdit : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Plovix - Life List Editor");

    FrmEdit(Program& program, QWidget* parent);
    ~FrmEdit() override;

    // Puts the window where it last stood, with no field chosen and an empty list.
    void Form_Load();

protected:
    // However the window closes (Done, Escape, its close button), it is unloaded.
    void done(int result) override;

private:
    void buildForm();
    void optChoice_Click(int index);
    void cmdEdit_Click();
    void cmdDelete_Click();
    // The field chosen and the entry selected, or false after telling the user to select one.
    bool selectedEntry(const QString& title, const QString& noSelection);
    // "FAMILY - 'Gulls'", as the prompts name the entry.
    QString entryNamed() const;
    void Form_Unload();

    Program& m_program;
    bool m_unloaded = false;
    int mintChoice = -1;
    QString mstrItem;
    QButtonGroup* optChoice = nullptr;
    QListWidget* lstEdit = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdDone = nullptr;
};
