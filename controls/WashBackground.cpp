#include "controls/WashBackground.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {
const QString Name = QStringLiteral("WashBackground");
}

TWashBackground::TWashBackground(QWidget *widget) : QObject(widget), widget_(widget)
{
    setObjectName(Name);
    widget->installEventFilter(this);
}

TWashBackground *TWashBackground::attach(QWidget *widget, const TWash &wash)
{
    TWashBackground *background = of(widget);
    if (!background)
        background = new TWashBackground(widget);
    background->setWash(wash);
    return background;
}

TWashBackground *TWashBackground::of(const QWidget *widget)
{
    return widget->findChild<TWashBackground *>(Name, Qt::FindDirectChildrenOnly);
}

void TWashBackground::setWash(const TWash &wash)
{
    wash_ = wash;
    widget_->update();
}

bool TWashBackground::eventFilter(QObject *watched, QEvent *event)
{
    // Filters run inside the widget's own paint event, where painting on it is allowed.
    if (watched == widget_ && event->type() == QEvent::Paint) {
        QPainter painter(widget_);
        wash_.paint(painter, widget_->rect());
    }
    return QObject::eventFilter(watched, event);
}
