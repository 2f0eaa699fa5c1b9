#pragma once

#include <QModelIndex>
#include <QWidget>

class Ask;
class ProgramData;
class QAbstractButton;
class QAbstractItemView;
class QLabel;
class QToolButton;
class QTreeView;

// The "Lists" page of the side panel: the named web page lists and their pages, a view of the
// list store of the program's data.
class TListsPage : public QWidget
{
    Q_OBJECT
public:
    TListsPage(ProgramData &data, Ask &ask, QWidget *parent = nullptr);

    void LoadListsPanel();
    // Text of the first node of the tree, empty when there is none (start-up picks the
    // current list from it).
    QString firstNodeText() const;
    // The main tool bar's Add to Current List.
    void AddToCurrentList();
    // False when the file could not be written (the user has been told).
    bool SaveListDetails();
    void clearLabel();

    QAbstractItemView *treeView() const;
    QLabel *label() const;

    void applyColors();

    // ListMain, ListAddURL, ListRunBtn: they ask for their dialogs, disabled until the window
    // that owns the dialogs enables them.
    QAbstractButton *listMainButton() const;
    QAbstractButton *listAddUrlButton() const;
    QAbstractButton *listRunButton() const;

    void TreeView3Click(const QModelIndex &index);
    void TreeView3DblClick(const QModelIndex &index);
    void TreeView3KeyDown(int key);

signals:
    // Add to Current List wants the side panel to show this page first.
    void showRequested();
    void maintainListsRequested();
    void addPagesRequested();
    void runListRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *speedButton(const QString &hint, const QIcon &icon);
    QModelIndex selectedNode() const;

    ProgramData &data_;
    Ask &ask_;
    QToolButton *ListMain = nullptr;
    QToolButton *ListAddURL = nullptr;
    QToolButton *ListRunBtn = nullptr;
    QLabel *Label2 = nullptr;
    QTreeView *TreeView3 = nullptr;
};
