#include "controls/Wash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

void TWash::paint(QPainter &painter, const QRectF &area, const QPalette &desktop) const
{
    const QColor first = from.resolve(desktop);
    const QColor second = to.resolve(desktop);
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, first);
    if (mirror) {
        gradient.setColorAt(0.5, second);
        gradient.setColorAt(1, first);
    } else {
        gradient.setColorAt(1, second);
    }
    painter.fillRect(area, gradient);
}

void TWash::paint(QPainter &painter, const QRectF &area) const
{
    paint(painter, area, QGuiApplication::palette());
}
