#include "organiser/OfflinePage.h"

#include "app/Navigation.h"
#include "app/PictureTable.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "organiser/OfflineIndex.h"
#include "organiser/OfflineStore.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int TypingPauseMs = 150;

} // namespace

TOfflinePage::TOfflinePage(ProgramData &data, QWidget *parent) : QWidget(parent), data_(data)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label3"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    label_->setMinimumHeight(25);

    view_ = new QTreeView(this);
    view_->setObjectName(QStringLiteral("TreeView4"));
    view_->setModel(data_.offline().model());
    view_->setHeaderHidden(true);
    view_->setRootIsDecorated(false);
    view_->setIndentation(19);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setDragEnabled(true);
    view_->setDragDropMode(QAbstractItemView::DragOnly);
    connect(view_, &QTreeView::clicked, this, &TOfflinePage::TreeView4Click);
    connect(view_, &QTreeView::doubleClicked, this, &TOfflinePage::TreeView4DblClick);

    searchBox_ = new QLineEdit(this);
    searchBox_->setObjectName(QStringLiteral("OfflineSearchBox"));
    searchBox_->setPlaceholderText(QStringLiteral("Find words in saved pages"));
    searchBox_->setClearButtonEnabled(true);
    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("OfflineResults"));
    results_->hide();
    searchDelay_ = new QTimer(this);
    searchDelay_->setSingleShot(true);
    searchDelay_->setInterval(TypingPauseMs);
    connect(searchBox_, &QLineEdit::textChanged, searchDelay_, qOverload<>(&QTimer::start));
    connect(searchDelay_, &QTimer::timeout, this, &TOfflinePage::runSearch);
    connect(searchBox_, &QLineEdit::returnPressed, this, &TOfflinePage::runSearch);
    connect(results_, &QListWidget::itemActivated, this, &TOfflinePage::openResult);
    connect(&data_.offline().index(), &TOfflineIndex::found, this, &TOfflinePage::showResults);
    connect(&data_.offline().index(), &TOfflineIndex::refreshed, this,
            &TOfflinePage::indexRefreshed);

    layout->addWidget(label_);
    layout->addWidget(view_, 2);
    layout->addWidget(searchBox_);
    layout->addWidget(results_, 1);
    connect(&data_, &ProgramData::settingsChanged, this, &TOfflinePage::applyColors);
}

void TOfflinePage::prepare(int labelWidth)
{
    label_->setText(QStringLiteral("Save All Web Pages in ") +
                    QDir::toNativeSeparators(data_.offline().folder()));
    if (labelWidth > 0)
        label_->resize(labelWidth, label_->height());
}

void TOfflinePage::applyColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applyListColors(view_, g);
    ApplyScheme::setFontColor(label_, TSchemeColor(g.MainTextColor));
}

void TOfflinePage::TreeView4Click()
{
    const QModelIndex node = view_->currentIndex();
    if (view_->model()->rowCount() == 0 || !node.isValid())
        return;
    label_->setText(node.data().toString());
}

void TOfflinePage::TreeView4DblClick()
{
    const QModelIndex node = view_->currentIndex();
    if (view_->model()->rowCount() == 0 || !node.isValid())
        return;
    OpenPage(data_.offline().pathForNode(node.data().toString()));
}

void TOfflinePage::runSearch()
{
    searchDelay_->stop();
    const QString query = searchBox_->text();
    if (query.trimmed().isEmpty()) {
        showResults(query, {}, true);
        return;
    }
    // Pages saved since the last search are read first; unchanged ones are not read again.
    data_.offline().index().refresh();
    data_.offline().index().find(query);
}

void TOfflinePage::indexRefreshed(bool changed)
{
    if (changed && !searchBox_->text().trimmed().isEmpty())
        data_.offline().index().find(searchBox_->text());
}

void TOfflinePage::showResults(const QString &query, const QList<TOfflineSearch::Hit> &hits,
                               bool complete)
{
    // An answer to what the box held earlier is of no use any more.
    if (query != searchBox_->text())
        return;
    results_->clear();
    results_->setVisible(!query.trimmed().isEmpty());
    if (query.trimmed().isEmpty())
        return;
    for (const TOfflineSearch::Hit &hit : hits) {
        auto *item = new QListWidgetItem(
            PictureTable::icon(PictureTable::ListPictures, PictureTable::PageNode), hit.name,
            results_);
        item->setData(Qt::UserRole, hit.path);
        item->setToolTip(hit.title.isEmpty() ? hit.name : hit.title);
    }
    if (hits.isEmpty() && complete) {
        auto *none =
            new QListWidgetItem(QStringLiteral("No saved page holds these words"), results_);
        none->setFlags(Qt::NoItemFlags);
    }
}

void TOfflinePage::showEvent(QShowEvent *event)
{
    // The index is built once the page is first looked at, ahead of the first search.
    if (!data_.offline().folder().isEmpty())
        data_.offline().index().refresh();
    QWidget::showEvent(event);
}

void TOfflinePage::openResult(QListWidgetItem *item)
{
    const QString path = item ? item->data(Qt::UserRole).toString() : QString();
    if (!path.isEmpty())
        OpenPage(path);
}

QAbstractItemView *TOfflinePage::treeView() const
{
    return view_;
}

QLabel *TOfflinePage::label() const
{
    return label_;
}
