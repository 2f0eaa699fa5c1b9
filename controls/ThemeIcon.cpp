#include "controls/ThemeIcon.h"

#include <QApplication>
#include <QStyle>

namespace ThemeIcon {

QIcon themed(const char *name, int standardPixmap)
{
    const QIcon fallback =
        QApplication::style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardPixmap));
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
}

} // namespace ThemeIcon
