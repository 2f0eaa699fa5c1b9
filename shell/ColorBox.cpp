#include "shell/ColorBox.h"

#include "controls/SchemeFollower.h"

#include <QKeyEvent>
#include <QMouseEvent>

TColorBox::TColorBox(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFixedWidth(40);
    setContextMenuPolicy(Qt::NoContextMenu);
    // A desktop colour shown here follows the desktop while the dialog is open.
    TSchemeFollower::follow(this, [this] { showValue(); });
    showValue();
}

void TColorBox::setValue(TSchemeColor value)
{
    value_ = value;
    showValue();
}

void TColorBox::showValue()
{
    QPalette colors = palette();
    const QColor shown = value_.resolve();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colors.setColor(group, QPalette::Base, shown);
    setPalette(colors);
}

void TColorBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit chooseRequested();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void TColorBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        emit chooseRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
