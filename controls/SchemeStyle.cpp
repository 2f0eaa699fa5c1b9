#include "controls/SchemeStyle.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <array>

namespace {
QStyle *runningStyleCopy()
{
    return QStyleFactory::create(QApplication::style()->name());
}

void recolourText(QPalette &palette, const QColor &text, bool clearBackground)
{
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Text, text);
    }
    // The running style fills items with the window colour; the gradient under them must show.
    if (clearBackground)
        palette.setBrush(QPalette::Window, Qt::transparent);
}

QColor mix(const QColor &a, const QColor &b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                            a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}
} // namespace

TSchemeStyle::TSchemeStyle(Kind kind) : QProxyStyle(runningStyleCopy()), kind_(kind) {}

TSchemeStyle *TSchemeStyle::shared(Kind kind)
{
    static std::array<QPointer<TSchemeStyle>, 4> styles;
    QPointer<TSchemeStyle> &style = styles[kind];
    if (!style) {
        style = new TSchemeStyle(kind);
        style->setParent(qApp);
    }
    return style;
}

void TSchemeStyle::setGradient(TSchemeColor from, TSchemeColor to)
{
    from_ = from;
    to_ = to;
    changed();
}

void TSchemeStyle::setTextColor(TSchemeColor color)
{
    text_ = color;
    changed();
}

void TSchemeStyle::setBorderColor(TSchemeColor color)
{
    border_ = color;
    changed();
}

void TSchemeStyle::changed()
{
    widgets_.removeAll(nullptr);
    for (const QPointer<QWidget> &widget : std::as_const(widgets_)) {
        applyTextPalette(widget);
        widget->update();
    }
}

void TSchemeStyle::applyTextPalette(QWidget *widget) const
{
    // Tool bars hold widgets the style does not draw; they read the text colour from the palette.
    if (kind_ != ToolBars || !qobject_cast<QToolBar *>(widget))
        return;
    QPalette palette = widget->palette();
    const QColor text = text_.resolve();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
}

void TSchemeStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (!widgets_.contains(widget))
        widgets_.append(widget);
    applyTextPalette(widget);
    if (qobject_cast<QTabBar *>(widget) || qobject_cast<QTabWidget *>(widget))
        widget->installEventFilter(this);
    // Setting a style does not reach child widgets: the tab row and the drop-down menus are
    // drawn by children of the widget the style was given to.
    QList<QWidget *> children;
    if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        children = tabs->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    else if (qobject_cast<QMenuBar *>(widget) || qobject_cast<QMenu *>(widget))
        children = widget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : std::as_const(children)) {
        if ((qobject_cast<QTabBar *>(child) || qobject_cast<QMenu *>(child)) &&
            child->style() != this)
            child->setStyle(this);
    }
}

void TSchemeStyle::unpolish(QWidget *widget)
{
    widgets_.removeAll(widget);
    widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool TSchemeStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        if (auto *widget = qobject_cast<QWidget *>(watched))
            paintTabRow(widget);
    }
    return QProxyStyle::eventFilter(watched, event);
}

void TSchemeStyle::paintTabRow(QWidget *widget) const
{
    // Tab bars leave their background to the parent; the tab background gradient goes there.
    QRect row = widget->rect();
    if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
        const auto *bar = tabs->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
        if (!bar || !bar->isVisible())
            return;
        const bool column =
            tabs->tabPosition() == QTabWidget::West || tabs->tabPosition() == QTabWidget::East;
        row = column ? QRect(bar->x(), 0, bar->width(), tabs->height())
                     : QRect(0, bar->y(), tabs->width(), bar->height());
    }
    QPainter painter(widget);
    gradient().paint(painter, row);
}

QRect TSchemeStyle::washArea(const QStyleOption *option, const QWidget *widget) const
{
    return widget ? widget->rect() : option->rect;
}

void TSchemeStyle::paintBar(QPainter *painter, const QRect &clip, const QRect &area) const
{
    painter->save();
    // Within the clip the widget has set: the menu bar's empty area must not cover its items.
    painter->setClipRect(clip, Qt::IntersectClip);
    gradient().paint(*painter, area);
    painter->restore();
}

void TSchemeStyle::paintTabShape(const QStyleOption *option, QPainter *painter) const
{
    const bool selected = option->state & State_Selected;
    // A tab that is not chosen sits back: a little away from the page, its gradient half way to
    // the end colour. The rounded shape runs on under the page side, which the clip cuts off.
    const qreal inset = selected ? 0 : 2;
    QRectF area = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QRectF outline;
    const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
    switch (tab ? tab->shape : QTabBar::RoundedNorth) {
    case QTabBar::RoundedWest:
    case QTabBar::TriangularWest:
        area.setLeft(area.left() + inset);
        outline = area.adjusted(0, 0, 4, 0);
        break;
    case QTabBar::RoundedEast:
    case QTabBar::TriangularEast:
        area.setRight(area.right() - inset);
        outline = area.adjusted(-4, 0, 0, 0);
        break;
    case QTabBar::RoundedSouth:
    case QTabBar::TriangularSouth:
        area.setBottom(area.bottom() - inset);
        outline = area.adjusted(0, -4, 0, 0);
        break;
    default:
        area.setTop(area.top() + inset);
        outline = area.adjusted(0, 0, 0, 4);
        break;
    }
    const QColor first = from_.resolve();
    const QColor second = to_.resolve();
    const TWash wash{selected ? from_ : TSchemeColor::fromColor(mix(first, second, 0.5)),
                     selected ? to_ : TSchemeColor::fromColor(second), false};
    QPainterPath shape;
    shape.addRoundedRect(outline, 3, 3);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(option->rect, Qt::IntersectClip);
    painter->save();
    painter->setClipPath(shape, Qt::IntersectClip);
    wash.paint(*painter, area);
    painter->restore();
    painter->setPen(QPen(border_.resolve(), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(shape);
    painter->restore();
}

void TSchemeStyle::drawWithText(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget,
                                bool clearBackground) const
{
    const QColor text = text_.resolve();
    if (auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
        QStyleOptionMenuItem copy(*item);
        recolourText(copy.palette, text, clearBackground);
        QProxyStyle::drawControl(element, &copy, painter, widget);
    } else if (auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option)) {
        QStyleOptionTab copy(*tab);
        recolourText(copy.palette, text, clearBackground);
        QProxyStyle::drawControl(element, &copy, painter, widget);
    } else {
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

void TSchemeStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const
{
    if (kind_ == Menus && element == PE_PanelMenuBar) {
        paintBar(painter, option->rect, washArea(option, widget));
        return;
    }
    if (kind_ == Menus && element == PE_PanelMenu) {
        painter->fillRect(option->rect, from_.resolve());
        return;
    }
    if ((kind_ == SidePanel || kind_ == WindowTabs) && element == PE_FrameTabWidget) {
        TWash{from_, to_, true}.paint(*painter, option->rect);
        painter->save();
        painter->setPen(border_.resolve());
        painter->drawRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TSchemeStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    switch (kind_) {
    case ToolBars:
        if (element == CE_ToolBar) {
            paintBar(painter, option->rect, washArea(option, widget));
            return;
        }
        break;
    case Menus:
        if (element == CE_MenuBarEmptyArea) {
            paintBar(painter, option->rect, washArea(option, widget));
            return;
        }
        if (element == CE_MenuBarItem) {
            paintBar(painter, option->rect, washArea(option, widget));
            drawWithText(element, option, painter, widget, true);
            return;
        }
        if (element == CE_MenuItem) {
            drawWithText(element, option, painter, widget, false);
            return;
        }
        break;
    case WindowTabs:
    case SidePanel:
        if (element == CE_TabBarTabShape) {
            paintTabShape(option, painter);
            return;
        }
        if (element == CE_TabBarTabLabel) {
            drawWithText(element, option, painter, widget, false);
            return;
        }
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
