#include "lists/ListsPage.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

TListsPage::TListsPage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    view_ = new QTreeView(this);
    layout->addWidget(label_);
    layout->addWidget(view_, 1);
}

void TListsPage::LoadListsPanel() {}
QString TListsPage::firstNodeText() const
{
    return {};
}
void TListsPage::AddToCurrentList() {}
void TListsPage::SaveListDetails() {}
void TListsPage::clearLabel()
{
    label_->clear();
}
QAbstractItemView *TListsPage::treeView() const
{
    return view_;
}
QLabel *TListsPage::label() const
{
    return label_;
}
