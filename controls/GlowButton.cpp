#include "controls/GlowButton.h"

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
    setGradient(TSchemeColor::fromColor(from), TSchemeColor::fromColor(to));
}

void TGlowButton::setMirrorGradient(const QColor &from, const QColor &to)
{
    setMirrorGradient(TSchemeColor::fromColor(from), TSchemeColor::fromColor(to));
}

void TGlowButton::setFontColor(const QColor &color)
{
    setFontColor(TSchemeColor::fromColor(color));
}

void TGlowButton::setGradient(TSchemeColor from, TSchemeColor to)
{
    upper_ = TWash{from, to, false};
    update();
}

void TGlowButton::setMirrorGradient(TSchemeColor from, TSchemeColor to)
{
    lower_ = TWash{from, to, false};
    update();
}

void TGlowButton::setFontColor(TSchemeColor color)
{
    font_ = color;
    update();
}

void TGlowButton::setBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

QColor TGlowButton::gradientFrom() const
{
    return upper_ ? upper_->from.resolve() : QColor();
}

QColor TGlowButton::gradientTo() const
{
    return upper_ ? upper_->to.resolve() : QColor();
}

QColor TGlowButton::mirrorFrom() const
{
    return lower_ ? lower_->from.resolve() : QColor();
}

QColor TGlowButton::mirrorTo() const
{
    return lower_ ? lower_->to.resolve() : QColor();
}

QColor TGlowButton::fontColor() const
{
    return font_ ? font_->resolve() : QColor();
}

TWash TGlowButton::lowerOrDefault() const
{
    // Without its own mirror the lower half reflects the upper one.
    return lower_ ? *lower_ : TWash{upper_->to, upper_->from, false};
}

void TGlowButton::paintFace(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal half = area.height() / 2;
    QPainterPath shape;
    shape.addRoundedRect(area, 3, 3);
    painter.save();
    painter.setClipPath(shape);
    upper_->paint(painter, QRectF(area.left(), area.top(), area.width(), half));
    lowerOrDefault().paint(painter, QRectF(area.left(), area.top() + half, area.width(), half + 1));
    // The glow: the face lights up under the mouse and darkens while pressed.
    if (isEnabled() && (isDown() || underMouse()))
        painter.fillRect(area, isDown() ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 70));
    // A button that does nothing must not look like one that does: its face fades to the
    // background and only a dashed outline marks its place.
    if (!isEnabled()) {
        QColor faded = palette().color(QPalette::Window);
        faded.setAlpha(215);
        painter.fillRect(area, faded);
    }
    painter.restore();
    if (!isEnabled()) {
        painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
        painter.drawPath(shape);
    }
    if (underMouse() || isDown() || isChecked() || hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), isDown() || isChecked() ? 2 : 1));
        painter.drawPath(shape);
    }
}

void TGlowButton::paintEvent(QPaintEvent *event)
{
    if (!upper_) {
        QToolButton::paintEvent(event);
        return;
    }
    {
        QPainter painter(this);
        paintFace(painter);
    }
    QStylePainter stylePainter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &=
        ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On | QStyle::State_Raised);
    if (font_) {
        option.palette.setColor(QPalette::Active, QPalette::ButtonText, font_->resolve());
        option.palette.setColor(QPalette::Inactive, QPalette::ButtonText, font_->resolve());
    }
    stylePainter.drawControl(QStyle::CE_ToolButtonLabel, option);
}
