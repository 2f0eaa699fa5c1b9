#include "organiser/OfflinePage.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

TOfflinePage::TOfflinePage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    view_ = new QTreeView(this);
    layout->addWidget(label_);
    layout->addWidget(view_, 1);
}

void TOfflinePage::prepare(const QString &, int) {}
void TOfflinePage::LoadOfflinePanel() {}
void TOfflinePage::AppendSavedNode(const QString &) {}
QAbstractItemView *TOfflinePage::treeView() const
{
    return view_;
}
QLabel *TOfflinePage::label() const
{
    return label_;
}
