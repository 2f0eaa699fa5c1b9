#include "organiser/OfflinePage.h"

#include "app/Navigation.h"
#include "organiser/OfflineFolder.h"

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

// Picture 1 of the page pictures: a saved web page.
QIcon pageIcon(const QWidget *widget)
{
    return QIcon::fromTheme(QStringLiteral("text-html"),
                            widget->style()->standardIcon(QStyle::SP_FileIcon));
}

} // namespace

TOfflinePage::TOfflinePage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label3"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    label_->setMinimumHeight(25);

    model_ = new QStandardItemModel(this);
    view_ = new QTreeView(this);
    view_->setObjectName(QStringLiteral("TreeView4"));
    view_->setModel(model_);
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
    connect(&index_, &TOfflineIndex::found, this, &TOfflinePage::showResults);
    connect(&index_, &TOfflineIndex::refreshed, this, &TOfflinePage::indexRefreshed);

    layout->addWidget(label_);
    layout->addWidget(view_, 2);
    layout->addWidget(searchBox_);
    layout->addWidget(results_, 1);
}

void TOfflinePage::prepare(const QString &webPagesDir, int labelWidth)
{
    folder_ = webPagesDir;
    index_.setFolder(webPagesDir);
    label_->setText(QStringLiteral("Save All Web Pages in ") +
                    QDir::toNativeSeparators(webPagesDir));
    if (labelWidth > 0)
        label_->resize(labelWidth, label_->height());
}

void TOfflinePage::LoadOfflinePanel()
{
    model_->clear();
    for (const QString &name : OfflineFolder::list(folder_))
        appendNode(name);
}

void TOfflinePage::AppendSavedNode(const QString &title)
{
    appendNode(title);
}

void TOfflinePage::appendNode(const QString &text)
{
    auto *node = new QStandardItem(pageIcon(this), text);
    node->setEditable(false);
    node->setToolTip(text);
    model_->appendRow(node);
}

void TOfflinePage::TreeView4Click()
{
    const QModelIndex node = view_->currentIndex();
    if (model_->rowCount() == 0 || !node.isValid())
        return;
    label_->setText(node.data().toString());
}

void TOfflinePage::TreeView4DblClick()
{
    const QModelIndex node = view_->currentIndex();
    if (model_->rowCount() == 0 || !node.isValid())
        return;
    OpenPage(OfflineFolder::pathForNode(folder_, node.data().toString()));
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
    index_.refresh();
    index_.find(query);
}

void TOfflinePage::indexRefreshed(bool changed)
{
    if (changed && !searchBox_->text().trimmed().isEmpty())
        index_.find(searchBox_->text());
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
        auto *item = new QListWidgetItem(pageIcon(this), hit.name, results_);
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
    if (!folder_.isEmpty())
        index_.refresh();
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
