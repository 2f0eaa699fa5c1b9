#include "controls/WashLabel.h"

#include "controls/SchemeFollower.h"

#include <QPainter>

TWashLabel::TWashLabel(QWidget *parent) : QLabel(parent) {}

TWashLabel::TWashLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {}

void TWashLabel::setWash(const TWash &wash)
{
    wash_ = wash;
    update();
}

void TWashLabel::setFontColor(TSchemeColor color)
{
    fontColor_ = color;
    applyFontColor();
    // A font colour taken from the desktop follows it.
    if (color.isSystem())
        TSchemeFollower::follow(this, [this] { applyFontColor(); });
}

void TWashLabel::applyFontColor()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, fontColor_.resolve());
    pal.setColor(QPalette::Inactive, QPalette::WindowText, fontColor_.resolve());
    setPalette(pal);
}

void TWashLabel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        wash_.paint(painter, rect());
    }
    QLabel::paintEvent(event);
}
