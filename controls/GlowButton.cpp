#include "controls/GlowButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionToolButton>
#include <QStylePainter>

TGlowButton::TGlowButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
}

void TGlowButton::setGradient(const QColor &from, const QColor &to)
{
    gradientFrom_ = from;
    gradientTo_ = to;
    update();
}

void TGlowButton::setMirrorGradient(const QColor &from, const QColor &to)
{
    mirrorFrom_ = from;
    mirrorTo_ = to;
    update();
}

void TGlowButton::setFontColor(const QColor &color)
{
    fontColor_ = color;
    QPalette pal = palette();
    pal.setColor(QPalette::ButtonText, color);
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
    update();
}

void TGlowButton::setBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void TGlowButton::paintEvent(QPaintEvent *event)
{
    if (!gradientFrom_.isValid()) {
        QToolButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal half = area.height() / 2;
    QLinearGradient upper(area.topLeft(), QPointF(area.left(), area.top() + half));
    upper.setColorAt(0, gradientFrom_);
    upper.setColorAt(1, gradientTo_);
    QLinearGradient lower(QPointF(area.left(), area.top() + half), area.bottomLeft());
    lower.setColorAt(0, mirrorFrom_.isValid() ? mirrorFrom_ : gradientTo_);
    lower.setColorAt(1, mirrorTo_.isValid() ? mirrorTo_ : gradientFrom_);
    QPainterPath shape;
    shape.addRoundedRect(area, 3, 3);
    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(QRectF(area.left(), area.top(), area.width(), half), upper);
    painter.fillRect(QRectF(area.left(), area.top() + half, area.width(), half + 1), lower);
    painter.restore();
    if (underMouse() || isDown() || isChecked()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), isDown() ? 2 : 1));
        painter.drawPath(shape);
    }
    painter.end();

    QStylePainter stylePainter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On |
                      QStyle::State_Raised);
    if (fontColor_.isValid())
        option.palette.setColor(QPalette::ButtonText, fontColor_);
    if (!isEnabled())
        option.palette.setColor(QPalette::ButtonText,
                                palette().color(QPalette::Disabled, QPalette::ButtonText));
    stylePainter.drawControl(QStyle::CE_ToolButtonLabel, option);
}
