#pragma once

#include "app/Globals.h"
#include "app/TextFile.h"
#include "lists/ListFormat.h"

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QStandardItemModel>
#include <QStringList>
#include <optional>

// All web page lists: the two-level tree that is the working copy of WebPageList.INI and
// WebPageListDtl.INI, the pictures the lists show, and the operations every list dialog uses.
class TListStore
{
public:
    enum Role {
        NameRole = Qt::UserRole + 1, // list nodes: the fields of their TLstRec
        DescriptionRole,
        IconFileRole,
        PictureRole,         // index into ImageList2, -1 for none
        SelectedPictureRole, // shown while the node is selected
    };
    // The two pictures every image list starts with.
    enum BuiltInPicture { ListPicture = 0, PagePicture = 1 };

    struct IconEntry
    {
        QString fileName;
        int picture = -1;
    };

    explicit TListStore(TGlobals &globals = Globals);
    TListStore(const TListStore &) = delete;
    TListStore &operator=(const TListStore &) = delete;

    QStandardItemModel *model() { return &model_; }
    const QStandardItemModel *model() const { return &model_; }

    // Rebuilds the tree from the two files in AppDir. Returns what could not be read.
    std::optional<QString> LoadListsPanel();
    // LoadListsPanel in two steps: any thread may read the two files (TextFile::readLines of
    // these paths); the tree is then rebuilt from what was read on the model's thread.
    struct Files
    {
        TextFile::ReadResult lists;
        TextFile::ReadResult details;
    };
    QString listFilePath() const { return filePath("WebPageList.Ini"); }
    QString detailFilePath() const { return filePath("WebPageListDtl.Ini"); }
    static Files readFiles(const QString &listPath, const QString &detailPath);
    std::optional<QString> applyFiles(const Files &files);
    // Picture for a list's icon file, loaded once per name; -1 when it gives none.
    int ListIconIndex(const QString &fileName);
    // Positions are among all nodes in display order (TreeOrder); -1 when nothing matches.
    int FindListNode(const QString &upperName) const;
    int FindListPage(const QString &lowerAddress, const QString &upperName) const;
    QStringList ListPages(const QString &name) const;
    void ReplaceListPages(const QString &name, const QStringList &addresses);
    // Writes the detail file whole, atomically. Returns the error, nothing on success.
    std::optional<QString> SaveListDetails() const;
    // Writes the list file whole, atomically, one line per list. The tree is not reloaded.
    std::optional<QString> WriteListFile(const QList<TLstRec> &lists) const;

    // "Add to Current List": CurrentUrl into CurrentList. True when a page was added.
    bool AddToCurrentList();
    // The Delete key: a list node goes with its pages.
    void removeNode(const QModelIndex &index);
    // What a click on the node makes the current list.
    QString clickedListName(const QModelIndex &index) const;

    TLstRec record(int listRow) const;
    QList<TLstRec> records() const;
    QModelIndex indexAt(int position) const;
    QString firstNodeText() const;

    // ImageList2: the built-in pictures, then every icon file loaded.
    const QList<QImage> &ImageList2() const { return pictures_; }
    QIcon picture(int index) const;
    // Grows as needed: a program folder with hundreds of list icons keeps all their pictures.
    const QList<IconEntry> &ListIconFiles() const { return iconFiles_; }
    // Detail lines that named no list when the file was read; written back by the next save.
    const QStringList &orphanLines() const { return orphans_; }

    // A list icon file read the way the Lists page shows it (a relative path means the program
    // folder); a null image when the file is missing, unreadable or not a .bmp or .ico.
    static QImage loadIconPicture(const QString &fileName, const QString &appDir);

private:
    int listRow(const QString &upperName) const;
    QString saveName(int listRow) const;
    QStandardItem *newPage(const QString &address, int picture, int selectedPicture) const;
    void setPictures(QStandardItem *item, int picture, int selectedPicture) const;
    QIcon icon(int picture, int selectedPicture) const;
    QHash<QString, int> rowsByName() const;
    QHash<QString, int> rowsByKey() const;
    void readListFile(const QStringList &lines);
    void readDetailFile(const QStringList &lines);
    QString filePath(const char *name) const;

    TGlobals &globals_;
    QStandardItemModel model_;
    QList<QImage> pictures_;
    QList<IconEntry> iconFiles_;
    // Position in iconFiles_ by file name: a list file naming thousands of icons loads in
    // linear time.
    QHash<QString, int> iconIndex_;
    mutable QHash<std::pair<int, int>, QIcon> icons_;
    QStringList orphans_;
    // Set when the detail file exists but could not be read: saving then would wipe it.
    std::optional<QString> detailReadError_;
};
