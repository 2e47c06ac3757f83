#pragma once

#include "record_form/DataControl.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The record form's text boxes and combo boxes as bound controls.
class LineEditBinding : public BoundControl {
public:
    explicit LineEditBinding(QLineEdit* edit) : m_edit(edit) {}
    QString text() const override;
    void setText(const QString& text) override;

private:
    QLineEdit* m_edit;
};

class PlainTextBinding : public BoundControl {
public:
    explicit PlainTextBinding(QPlainTextEdit* edit) : m_edit(edit) {}
    QString text() const override;
    void setText(const QString& text) override;

private:
    QPlainTextEdit* m_edit;
};

class ComboBinding : public BoundControl {
public:
    explicit ComboBinding(QComboBox* combo) : m_combo(combo) {}
    QString text() const override;
    void setText(const QString& text) override;

private:
    QComboBox* m_combo;
};
