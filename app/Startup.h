#pragma once

#include "app/Globals.h"

#include <QStringList>

// The decisions of start-up that depend on the options alone.
namespace Startup {

// The remembered pages opened at start, in order: the last page, the search page, then the
// start page unless it is the last page but for letter case.
QStringList rememberedPages(const TGlobals &g);

// The list name in front of " - " in the first node of the Lists tree: the characters before
// the first "-" less the blank in front of it, when that "-" stands at position 3 or later.
QString currentListFromFirstNode(const QString &nodeText);

} // namespace Startup
