#pragma once

#include <QIcon>

// The program's small pictures, named by role, from the desktop's icon theme with Qt's standard
// pixmaps where the theme has none.
namespace PictureTable {

QIcon themed(const char *name, int standardPixmap);
// Pictures 13 and 14 of the main picture list: a window-list node, plain and selected.
QIcon windowNodeIcon();

} // namespace PictureTable
