#include "help/HelpBounds.h"

#include <QtGlobal>

namespace HelpBounds {

namespace {

// How much of the window's top edge must show on a screen for the user to drag it.
constexpr int GripWidth = 100;
constexpr int GripHeight = 20;

bool canBeGrabbed(const QRect &rect, const QList<QRect> &screens)
{
    const QRect topEdge(rect.left(), rect.top(), rect.width(), GripHeight);
    const int needed = qMin(GripWidth, rect.width());
    for (const QRect &screen : screens) {
        const QRect shown = screen.intersected(topEdge);
        if (shown.width() >= needed && shown.height() >= GripHeight)
            return true;
    }
    return false;
}

} // namespace

QRect limited(const TGlobals &g)
{
    const int left = g.HelpLeft > 1000 ? 100 : g.HelpLeft;
    const int top = g.HelpTop > 1000 ? 100 : g.HelpTop;
    const int height = g.HelpHeight > 2000 ? 250 : g.HelpHeight;
    const int width = g.HelpWidth > 2000 ? 250 : g.HelpWidth;
    return QRect(left, top, width, height);
}

QRect onScreen(QRect rect, const QList<QRect> &screens)
{
    rect.setSize(rect.size().expandedTo(QSize(MinimumWidth, MinimumHeight)));
    if (screens.isEmpty() || canBeGrabbed(rect, screens))
        return rect;
    const QRect screen = screens.first();
    rect.setSize(rect.size().boundedTo(screen.size()));
    rect.moveLeft(qBound(screen.left(), rect.left(), screen.right() - rect.width() + 1));
    rect.moveTop(qBound(screen.top(), rect.top(), screen.bottom() - rect.height() + 1));
    return rect;
}

} // namespace HelpBounds
