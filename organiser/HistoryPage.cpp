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
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// Long enough to let a word be typed, short enough to feel immediate.
constexpr int TypingPauseMs = 200;
} // namespace

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

    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(TypingPauseMs);

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
    connect(filter_, &QLineEdit::textChanged, filterTimer_, qOverload<>(&QTimer::start));
    connect(filter_, &QLineEdit::returnPressed, this, &THistoryPage::applyFilter);
    connect(filterTimer_, &QTimer::timeout, this, &THistoryPage::applyFilter);
    connect(TreeView5->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &THistoryPage::rememberPick);
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
    // A day's text is no address: the tree itself opens and closes the day.
    if (!node.isValid() || node.data(THistoryItem::KindRole).toInt() == THistoryItem::DateNode)
        return;
    const QString address = THistoryStore::OpenAddress(node.data().toString());
    if (!address.isEmpty())
        OpenPage(address);
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

void THistoryPage::applyFilter()
{
    filterTimer_->stop();
    const QString words = filter_->text();
    if (words == proxy_->words())
        return;
    if (proxy_->words().isEmpty())
        openDays_ = expandedDays();
    applyingFilter_ = true;
    proxy_->setWords(words);
    // Matches sit under their days, so every day still shown opens; without words the days
    // the user had open before searching open again. The view lays the rows out once, later.
    if (words.isEmpty()) {
        for (const QPersistentModelIndex &day : std::as_const(openDays_))
            TreeView5->expand(proxy_->mapFromSource(day));
    } else {
        for (int row = 0; row < proxy_->rowCount(); ++row)
            TreeView5->expand(proxy_->index(row, 0));
    }
    restorePick();
    applyingFilter_ = false;
}

QList<QPersistentModelIndex> THistoryPage::expandedDays() const
{
    QList<QPersistentModelIndex> days;
    const QAbstractItemModel *source = data_.history().model();
    for (int row = 0; row < source->rowCount(); ++row) {
        const QModelIndex day = source->index(row, 0);
        if (TreeView5->isExpanded(proxy_->mapFromSource(day)))
            days << day;
    }
    return days;
}

void THistoryPage::rememberPick()
{
    if (!applyingFilter_)
        picked_ = selectedNode();
}

void THistoryPage::restorePick()
{
    // Only the user picks what Delete removes: a hidden pick leaves nothing selected.
    const QModelIndex shown = proxy_->mapFromSource(picked_);
    if (shown.isValid())
        TreeView5->setCurrentIndex(shown);
    else
        TreeView5->selectionModel()->clear();
}
