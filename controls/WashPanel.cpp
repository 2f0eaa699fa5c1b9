#include "controls/WashPanel.h"

#include "controls/SchemeFollower.h"

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
    // A font colour taken from the desktop follows it.
    if (color.isSystem())
        TSchemeFollower::follow(this, [this] { applyFontColor(); });
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
