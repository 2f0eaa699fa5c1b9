#pragma once

#include <QIcon>

// Tool-button and tab pictures named by role: the desktop's icon theme, with Qt's standard
// pixmaps where the theme has none. Numbered pictures of the image lists are in PictureTable.
namespace ThemeIcon {

QIcon themed(const char *name, int standardPixmap);

} // namespace ThemeIcon
