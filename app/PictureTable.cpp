#include "app/PictureTable.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace PictureTable {
namespace {

QImage blank()
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Drawn when the icon theme has no picture for the role, so a tree never goes bare.
QImage drawnList()
{
    QImage image = blank();
    QPainter p(&image);
    p.setPen(QColor(0x1f, 0x3f, 0x7f));
    p.setBrush(QColor(0x4a, 0x7d, 0xc9));
    p.drawRect(2, 1, 11, 13);
    p.setPen(Qt::white);
    for (int y = 4; y <= 11; y += 3)
        p.drawLine(5, y, 11, y);
    return image;
}

QImage drawnPage()
{
    QImage image = blank();
    QPainter p(&image);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawPolygon(
        QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
    p.setPen(QColor(0x2a, 0x6a, 0xc0));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
    return image;
}

QImage drawnArrow()
{
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x6a, 0xc0));
    p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
    return image;
}

struct Entry
{
    const char *themeName;
    QImage (*drawn)();
};

Entry entryFor(ImageList list, int number)
{
    if (list == MailPictures) {
        switch (number) {
        case InBoxNode:
            return {"mail-folder-inbox", drawnList};
        case UnReadNode:
            return {"mail-unread", drawnList};
        case UnreadMessage:
            return {"mail-unread", drawnArrow};
        case MessageNode:
            return {"mail-read", drawnPage};
        }
        return {nullptr, nullptr};
    }
    if (list == ListPictures) {
        switch (number) {
        case ListNode:
            return {"folder-documents", drawnList};
        case PageNode:
            return {"text-html", drawnPage};
        }
        return {nullptr, nullptr};
    }
    switch (number) {
    case OfflineTab:
        return {"folder-download", drawnList};
    case WindowNode:
        return {"text-html", drawnPage};
    case WindowNodeSelected:
        return {"go-next", drawnArrow};
    case HistoryTab:
        return {"document-open-recent", drawnPage};
    case DateNode:
        return {"x-office-calendar", drawnList};
    case ListsTab:
        return {"view-list-details", drawnList};
    }
    return {nullptr, nullptr};
}

QImage load(ImageList list, int number)
{
    const Entry entry = entryFor(list, number);
    if (!entry.drawn)
        return {};
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(entry.themeName));
    if (!themed.isNull()) {
        const QImage image = themed.pixmap(Size, Size).toImage();
        if (!image.isNull())
            return image;
    }
    return entry.drawn();
}

} // namespace

QImage image(ImageList list, int number)
{
    // Looking a picture up in the theme costs more than a tree of nodes can pay per node.
    static QHash<int, QImage> loaded;
    const int key = int(list) * 1000 + number;
    auto found = loaded.constFind(key);
    if (found == loaded.cend())
        found = loaded.insert(key, load(list, number));
    return *found;
}

QIcon icon(ImageList list, int number)
{
    const QImage picture = image(list, number);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

QIcon nodeIcon(ImageList list, int picture, int selectedPicture)
{
    const QImage plain = image(list, picture);
    if (plain.isNull())
        return {};
    QIcon icon(QPixmap::fromImage(plain));
    const QImage selected = image(list, selectedPicture);
    if (!selected.isNull())
        icon.addPixmap(QPixmap::fromImage(selected), QIcon::Selected);
    return icon;
}

} // namespace PictureTable
