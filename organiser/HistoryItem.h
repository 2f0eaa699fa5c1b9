#pragma once

#include "app/PictureTable.h"

#include <QStandardItem>

// A node of the history tree. Its kind decides its pictures and that it is read-only, so a
// node stores its text alone: a long history holds a hundred thousand of them.
class THistoryItem : public QStandardItem
{
public:
    enum Kind { DateNode, PageEntry };
    enum Role {
        PictureRole = Qt::UserRole + 1, // picture number in the main window's image list
        SelectedPictureRole,
        KindRole,
    };
    static constexpr int DatePicture = PictureTable::DateNode;
    static constexpr int EntryPicture = PictureTable::WindowNode;
    static constexpr int EntrySelectedPicture = PictureTable::WindowNodeSelected;

    THistoryItem(const QString &text, Kind kind);

    Kind kind() const { return kind_; }
    QVariant data(int role = Qt::UserRole + 1) const override;

private:
    Kind kind_;
};
