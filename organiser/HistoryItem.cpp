#include "organiser/HistoryItem.h"

namespace {

// QStandardItem keeps its flags as data under this role.
constexpr int FlagsRole = Qt::UserRole - 1;

// Every node of a kind shows the same picture: made once, shared by all.
QIcon dateIcon()
{
    static const QIcon icon =
        PictureTable::nodeIcon(PictureTable::MainList, THistoryItem::DatePicture);
    return icon;
}

QIcon entryIcon()
{
    static const QIcon icon = PictureTable::nodeIcon(
        PictureTable::MainList, THistoryItem::EntryPicture, THistoryItem::EntrySelectedPicture);
    return icon;
}

} // namespace

THistoryItem::THistoryItem(const QString &text, Kind kind) : QStandardItem(text), kind_(kind)
{
    // A day's column exists before its first page, so adding pages only ever inserts rows.
    if (kind == DateNode)
        setColumnCount(1);
}

QVariant THistoryItem::data(int role) const
{
    switch (role) {
    case FlagsRole:
        return (Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled).toInt();
    case KindRole:
        return kind_;
    case PictureRole:
        return kind_ == DateNode ? DatePicture : EntryPicture;
    case SelectedPictureRole:
        return kind_ == DateNode ? DatePicture : EntrySelectedPicture;
    case Qt::DecorationRole:
        return kind_ == DateNode ? dateIcon() : entryIcon();
    default:
        return QStandardItem::data(role);
    }
}
