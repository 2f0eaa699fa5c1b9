#pragma once

#include "app/Globals.h"

#include <QList>
#include <QRect>

// Where the help window opens: the place and size kept in the options, within their upper
// limits, and then made usable on the screens there are now.
namespace HelpBounds {

inline constexpr int MinimumWidth = 250;
inline constexpr int MinimumHeight = 200;

// HelpLeft, HelpTop, HelpWidth, HelpHeight with the upper limits applied: a left or top above
// 1000 becomes 100, a width or height above 2000 becomes 250.
QRect limited(const TGlobals &g);

// rect at a usable size, moved onto the first screen when no screen shows enough of its top
// edge to grab it by. screens are the screens' available areas, the primary one first.
QRect onScreen(QRect rect, const QList<QRect> &screens);

} // namespace HelpBounds
