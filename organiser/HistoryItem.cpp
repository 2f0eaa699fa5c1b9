#include "organiser/HistoryItem.h"

QIcon THistoryItem::icon(Kind kind)
{
    static const QIcon date = PictureTable::nodeIcon(PictureTable::MainList, DatePicture);
    static const QIcon entry =
        PictureTable::nodeIcon(PictureTable::MainList, EntryPicture, EntrySelectedPicture);
    return kind == DateNode ? date : entry;
}
