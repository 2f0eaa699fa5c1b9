#include "organiser/HistoryPage.h"

#include "app/Ask.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "organiser/HistoryFilter.h"
#include "organiser/HistoryStore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

THistoryPage::THistoryPage(ProgramData &data, Ask &ask, QWidget *parent)
    : QWidget(parent), data_(data), ask_(ask)
{
    THistClrBtn = new QToolButton(this);
    THistClrBtn->setFixedSize(25, 25);
    THistClrBtn->setAutoRaise(true);
    THistClrBtn->setToolTip(QStringLiteral("Clear History List"));
    THistClrBtn->setIcon(QIcon::fromTheme(QStringLiteral("edit-clear-history"),
                                          style()->standardIcon(QStyle::SP_DialogResetButton)));

    Label4 = new QLabel(this);
    Label4->setWordWrap(true);
    Label4->setFixedHeight(25);

    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(QStringLiteral("Find in History"));
    filter_->setClearButtonEnabled(true);

    proxy_ = new THistoryFilter(this);
    proxy_->setSourceModel(data_.history().model());

    TreeView5 = new QTreeView(this);
    TreeView5->setModel(proxy_);
    TreeView5->setHeaderHidden(true);
    TreeView5->setIndentation(19);
    TreeView5->setUniformRowHeights(true);
    TreeView5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView5->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView5->setDragEnabled(true);
    TreeView5->setDragDropMode(QAbstractItemView::DragOnly);
    TreeView5->installEventFilter(this);

    auto *top = new QHBoxLayout;
    top->setSpacing(1);
    top->addWidget(THistClrBtn);
    top->addWidget(Label4, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(filter_);
    layout->addWidget(TreeView5, 1);

    connect(THistClrBtn, &QToolButton::clicked, this, &THistoryPage::THistClrBtnClick);
    connect(TreeView5, &QTreeView::clicked, this, &THistoryPage::TreeView5Click);
    connect(TreeView5, &QTreeView::doubleClicked, this, &THistoryPage::TreeView5DblClick);
    connect(filter_, &QLineEdit::textChanged, this, &THistoryPage::filterChanged);
    connect(&data_, &ProgramData::settingsChanged, this, &THistoryPage::applyColors);
}

void THistoryPage::LoadHistory()
{
    if (const auto error = data_.loadHistory())
        ask_.error(*error);
}

void THistoryPage::SaveHistory()
{
    if (const auto error = data_.saveHistory())
        ask_.error(*error);
}

void THistoryPage::applyColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applyListColors(TreeView5, g);
    ApplyScheme::setFontColor(Label4, TSchemeColor(g.MainTextColor));
}

void THistoryPage::clearLabel()
{
    Label4->clear();
    Label4->setToolTip({});
}

QAbstractItemView *THistoryPage::treeView() const
{
    return TreeView5;
}

QLabel *THistoryPage::label() const
{
    return Label4;
}

QModelIndex THistoryPage::selectedNode() const
{
    const QModelIndexList selected = TreeView5->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    return proxy_->mapToSource(selected.first());
}

void THistoryPage::THistClrBtnClick()
{
    const QString question = QStringLiteral("Do You want to Clear All Browsing History - ") +
                             selectedNode().data().toString() + QStringLiteral(" ?");
    if (!ask_.question(question))
        return;
    data_.history().Clear();
    data_.globals().HistoryChanged = true;
    data_.noteHistoryChanged();
}

void THistoryPage::TreeView5Click()
{
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    Label4->setText(node.data().toString());
    // The label holds two lines at most; the whole text stays one hover away.
    Label4->setToolTip(Label4->text());
}

void THistoryPage::TreeView5DblClick()
{
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    OpenPage(THistoryStore::OpenAddress(node.data().toString()));
}

void THistoryPage::TreeView5KeyDown(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete)
        return;
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    const QString question = QStringLiteral("Do You want to Delete the Web Page from History - ") +
                             node.data().toString() + QStringLiteral(" ?");
    if (!ask_.question(question) || !data_.history().Delete(node))
        return;
    data_.globals().HistoryChanged = true;
    data_.noteHistoryChanged();
}

bool THistoryPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TreeView5 && event->type() == QEvent::KeyPress)
        TreeView5KeyDown(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

void THistoryPage::filterChanged(const QString &words)
{
    proxy_->setWords(words);
    // Matches sit under their days; a search that hid them in closed days would find nothing.
    if (words.isEmpty())
        TreeView5->collapseAll();
    else
        TreeView5->expandAll();
}
