#include "controls/PictureTable.h"

#include <QApplication>
#include <QStyle>

namespace PictureTable {

QIcon themed(const char *name, int standardPixmap)
{
    const QIcon fallback =
        QApplication::style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardPixmap));
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
}

QIcon windowNodeIcon()
{
    QIcon icon;
    const QIcon plain = themed("text-html", QStyle::SP_FileIcon);
    const QIcon selected = themed("go-next", QStyle::SP_ArrowRight);
    icon.addPixmap(plain.pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(selected.pixmap(16, 16), QIcon::Selected);
    return icon;
}

} // namespace PictureTable
