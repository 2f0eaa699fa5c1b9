#include "organiser/HistoryItem.h"

namespace {

// QStandardItem keeps its flags as data under this role.
constexpr int FlagsRole = Qt::UserRole - 1;

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
    default:
        return QStandardItem::data(role);
    }
}
