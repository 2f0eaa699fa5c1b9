#pragma once

#include <QStringList>
#include <QTreeView>
#include <functional>
#include <optional>

class Ask;
class QAction;
class QFileSystemModel;
class QMenu;

// A folder of the file system as a details list (name, size, type, date), the way the
// desktop's own file lists behave: folders open in place, several items can be selected and
// dragged, and the list follows changes on disk.
class TPTShellList : public QTreeView
{
    Q_OBJECT
public:
    // An item as the shell describes it; folders have the type name "File Folder".
    struct Item
    {
        QString path;
        QString fileName;
        QString typeName;
    };

    explicit TPTShellList(Ask &ask, QWidget *parent = nullptr);

    // Shows the folder at path; anything that is not a folder is ignored.
    void setPath(const QString &path);
    QString path() const;
    // Up stops at the top folder (when one is set) and at the root of the file system.
    void goUp();
    void setTopPath(const QString &path);
    bool canGoUp() const;

    int selectedCount() const;
    // The first selected item in list order.
    std::optional<Item> selectedItem() const;
    QStringList selectedPaths() const;

    void setGridLines(bool on);
    bool gridLines() const { return gridLines_; }

    QFileSystemModel *fileModel() const { return model_; }
    bool isRenaming() const { return state() == QAbstractItemView::EditingState; }

    // Actions of the owner, shown below the list's own in its context menu (not owned).
    void addContextActions(const QList<QAction *> &actions);
    // Open, Rename, Delete, New Folder, then the owner's actions, enabled for the selection.
    QList<QAction *> contextActions();

public slots:
    // Acts as a double click on index: folders open in the list, other items are offered to
    // doubleClickOpen first and opened by the desktop only when nobody handled them.
    void activateItem(const QModelIndex &index);
    void renameCurrent();
    void deleteSelected();
    // Creates "New Folder" (numbered when taken) in the folder shown and starts renaming it.
    void newFolder();

signals:
    void doubleClickOpen(const QString &path, bool *handled);
    void pathChanged(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;

private:
    void openItem(const QModelIndex &index);
    QString deleteQuestion(const QStringList &paths) const;
    QAction *createAction(const QString &text, std::function<void()> run);

    Ask &ask_;
    QFileSystemModel *model_ = nullptr;
    QString path_;
    QString top_;
    bool gridLines_ = false;
    QAction *openAction_ = nullptr;
    QAction *renameAction_ = nullptr;
    QAction *deleteAction_ = nullptr;
    QAction *newFolderAction_ = nullptr;
    QList<QAction *> ownerActions_;
};
