#include "organiser/FavoritesPage.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

TFavoritesPage::TFavoritesPage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    view_ = new QTreeView(this);
    layout->addWidget(label_);
    layout->addWidget(view_, 1);
}

void TFavoritesPage::setFavoritesFolder(const QString &) {}
void TFavoritesPage::setGridLines(bool) {}
void TFavoritesPage::clearLabel()
{
    label_->clear();
}
void TFavoritesPage::AddToFavorites() {}
QAbstractItemView *TFavoritesPage::listView() const
{
    return view_;
}
QLabel *TFavoritesPage::label() const
{
    return label_;
}
