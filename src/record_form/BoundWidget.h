#pragma once

#include "database/BoundControl.h"

class QWidget;

// A text box (one line or several) or a combo box of the record form as a bound control.
class BoundWidget : public BoundControl {
public:
    explicit BoundWidget(QWidget* widget) : m_widget(widget) {}
    QString text() const override;
    void setText(const QString& text) override;

private:
    QWidget* m_widget;
};
