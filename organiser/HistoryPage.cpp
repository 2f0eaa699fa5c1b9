#include "organiser/HistoryPage.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

THistoryPage::THistoryPage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    view_ = new QTreeView(this);
    layout->addWidget(label_);
    layout->addWidget(view_, 1);
}

void THistoryPage::LoadHistory() {}
void THistoryPage::AddTodayNode() {}
void THistoryPage::RecordVisit(const QString &) {}
void THistoryPage::SaveHistory() {}
void THistoryPage::clearLabel()
{
    label_->clear();
}
QAbstractItemView *THistoryPage::treeView() const
{
    return view_;
}
QLabel *THistoryPage::label() const
{
    return label_;
}
