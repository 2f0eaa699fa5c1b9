#pragma once

#include "controls/SchemeColor.h"

#include <QLineEdit>

// A small field that shows one colour of the scheme as its background. It keeps the value as the
// files keep it, so a reference to a desktop colour stays a reference until a colour is picked.
class TColorBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TColorBox(QWidget *parent = nullptr);

    TSchemeColor value() const { return value_; }
    void setValue(TSchemeColor value);

signals:
    // A double click, or Space for those who work from the keyboard.
    void chooseRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showValue();

    TSchemeColor value_;
};
