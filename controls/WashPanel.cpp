#include "controls/WashPanel.h"

#include <QEvent>
#include <QPainter>

TWashPanel::TWashPanel(QWidget *parent) : QFrame(parent) {}

void TWashPanel::setWash(const TWash &wash)
{
    wash_ = wash;
    update();
}

void TWashPanel::setFontColor(TSchemeColor color)
{
    fontColor_ = color;
    applyFontColor();
}

void TWashPanel::applyFontColor()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, fontColor_.resolve());
    pal.setColor(QPalette::Inactive, QPalette::WindowText, fontColor_.resolve());
    setPalette(pal);
}

void TWashPanel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        wash_.paint(painter, rect());
    }
    QFrame::paintEvent(event);
}

void TWashPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && fontColor_.isSystem())
        applyFontColor();
    QFrame::changeEvent(event);
}
