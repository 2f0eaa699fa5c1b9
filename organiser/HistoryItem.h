#pragma once

#include "app/PictureTable.h"

#include <QIcon>

// What a node of the history tree is: a day or a page, with the roles that tell it and the
// pictures it shows.
struct THistoryItem
{
    enum Kind { DateNode, PageEntry };
    enum Role {
        PictureRole = Qt::UserRole + 1, // picture number in the main window's image list
        SelectedPictureRole,
        KindRole,
    };
    static constexpr int DatePicture = PictureTable::DateNode;
    static constexpr int EntryPicture = PictureTable::WindowNode;
    static constexpr int EntrySelectedPicture = PictureTable::WindowNodeSelected;

    // Every node of a kind shows the same picture: made once, shared by all.
    static QIcon icon(Kind kind);
};
