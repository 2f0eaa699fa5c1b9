#pragma once

#include "lists/ListStore.h"

#include <QWidget>
#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QLabel;
class QToolButton;
class QTreeView;

// The "Lists" page of the side panel: the named web page lists and their pages.
class TListsPage : public QWidget
{
    Q_OBJECT
public:
    explicit TListsPage(QWidget *parent = nullptr);

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

    // The store behind the tree, for the list dialogs.
    TListStore &store() { return store_; }

    // ListMain, ListAddURL, ListRunBtn: disabled until the window that owns their dialog
    // connects and enables them.
    QAbstractButton *listMainButton() const;
    QAbstractButton *listAddUrlButton() const;
    QAbstractButton *listRunButton() const;

    // The Yes/No question before a deletion; tests answer it without a modal box.
    using Confirm = std::function<bool(const QString &question)>;
    void setConfirm(Confirm confirm) { confirm_ = std::move(confirm); }

    void TreeView3Click(const QModelIndex &index);
    void TreeView3DblClick(const QModelIndex &index);
    void TreeView3KeyDown(int key);

signals:
    // Add to Current List wants the side panel to show this page first.
    void showRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *speedButton(const QString &hint, const QIcon &icon);
    QModelIndex selectedNode() const;

    TListStore store_;
    QToolButton *ListMain = nullptr;
    QToolButton *ListAddURL = nullptr;
    QToolButton *ListRunBtn = nullptr;
    QLabel *Label2 = nullptr;
    QTreeView *TreeView3 = nullptr;
    Confirm confirm_;
};
