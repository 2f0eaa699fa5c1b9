#pragma once

#include "lists/ListFormat.h"

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QStandardItemModel>
#include <optional>

class TListStore;

// The record the maintenance dialog keeps per list: its own copy, never shared with the panel.
using TORRec = TLstRec;

// The maintenance dialog's working copy of the lists: one root node per list, with its own
// pictures (ImageList1). Every edit stays here until the dialog writes the list file.
class TListEdits
{
public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        DescriptionRole,
        IconFileRole,
        PictureRole,         // index into ImageList1, -1 for none
        SelectedPictureRole, // shown while the node is selected
    };
    enum BuiltInPicture { ListPicture = 0, SelectedListPicture = 1 };

    explicit TListEdits(const QString &appDir);
    TListEdits(const TListEdits &) = delete;
    TListEdits &operator=(const TListEdits &) = delete;

    QStandardItemModel *model() { return &model_; }
    const QStandardItemModel *model() const { return &model_; }
    int count() const { return model_.rowCount(); }

    // Copies of the panel's lists, in its order.
    void LoadDialogLists(const TListStore &store);
    // Row of the first list of that name, compared without regard to ASCII case; -1 for none.
    int FindListRecord(const QString &name) const;
    // Overwrites the list of that name (its picture kept) or appends a new one; its row.
    int saveRecord(const TORRec &rec);
    void removeList(int row);
    TORRec record(int row) const;
    QList<TORRec> records() const;

    // "New List n" for the first n from the number of lists plus one that no list uses.
    QString newListName() const;
    // Why the record cannot be kept in the list file, or nothing when it can.
    static std::optional<QString> recordProblem(const TORRec &rec);
    // The position bar: index / count x 100 to the nearest whole number, halves to even.
    static int positionPercent(int index, int count);

    // First row whose node text starts with the letters, A-Z folded on both sides; -1 for none.
    int findByPrefix(const QString &letters) const;

    // Picture for an icon file, loaded once per name (ASCII case ignored); -1 when it gives none.
    int DialogIconIndex(const QString &fileName);
    const QList<QImage> &ImageList1() const { return pictures_; }
    int DialogIconFileCount() const { return int(iconFiles_.size()); }

private:
    QStandardItem *newNode(const TORRec &rec, int picture, int selectedPicture) const;
    void setRecord(QStandardItem *item, const TORRec &rec) const;
    int iconPicture(const QString &iconFile);

    QString appDir_;
    QStandardItemModel model_;
    QList<QImage> pictures_;
    QHash<QString, int> iconFiles_; // upper-cased file name -> picture index
};
