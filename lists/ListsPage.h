#pragma once

#include <QWidget>

class QAbstractItemView;
class QLabel;

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
    void SaveListDetails();
    void clearLabel();

    QAbstractItemView *treeView() const;
    QLabel *label() const;

private:
    QAbstractItemView *view_ = nullptr;
    QLabel *label_ = nullptr;
};
