#include "lists/ListsPage.h"

#include "app/Ask.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "controls/ThemeIcon.h"
#include "lists/ListStore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

TListsPage::TListsPage(ProgramData &data, Ask &ask, QWidget *parent)
    : QWidget(parent), data_(data), ask_(ask)
{
    ListMain = speedButton(QStringLiteral("Create and Maintain Web Page Lists"),
                           ThemeIcon::themed("document-new", QStyle::SP_FileDialogNewFolder));
    ListAddURL = speedButton(QStringLiteral("Add Web Pages to Web Page List"),
                             ThemeIcon::themed("list-add", QStyle::SP_FileDialogContentsView));
    ListRunBtn = speedButton(QStringLiteral("Run Web Page List"),
                             ThemeIcon::themed("media-playback-start", QStyle::SP_MediaPlay));

    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Label2->setMinimumHeight(26);

    TreeView3 = new QTreeView(this);
    TreeView3->setModel(data_.lists().model());
    TreeView3->setHeaderHidden(true);
    TreeView3->setIndentation(19);
    TreeView3->setIconSize(QSize(16, 16));
    TreeView3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView3->setSelectionMode(QAbstractItemView::SingleSelection);
    // Pages are dragged onto the assign-buttons dialog, which reads the selected node.
    TreeView3->setDragEnabled(true);
    TreeView3->setDragDropMode(QAbstractItemView::DragOnly);
    TreeView3->installEventFilter(this);

    auto *top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(ListMain);
    top->addWidget(ListAddURL);
    top->addWidget(ListRunBtn);
    top->addSpacing(6);
    top->addWidget(Label2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(TreeView3, 1);

    connect(TreeView3, &QTreeView::clicked, this, &TListsPage::TreeView3Click);
    connect(TreeView3, &QTreeView::doubleClicked, this, &TListsPage::TreeView3DblClick);
    connect(ListMain, &QToolButton::clicked, this, &TListsPage::maintainListsRequested);
    connect(ListAddURL, &QToolButton::clicked, this, &TListsPage::addPagesRequested);
    connect(ListRunBtn, &QToolButton::clicked, this, &TListsPage::runListRequested);
    connect(&data_, &ProgramData::settingsChanged, this, &TListsPage::applyColors);
}

QToolButton *TListsPage::speedButton(const QString &hint, const QIcon &icon)
{
    auto *button = new QToolButton(this);
    button->setFixedSize(25, 25);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setEnabled(false);
    return button;
}

void TListsPage::LoadListsPanel()
{
    if (const auto error = data_.loadLists())
        ask_.error(*error);
}

QString TListsPage::firstNodeText() const
{
    return data_.lists().firstNodeText();
}

void TListsPage::AddToCurrentList()
{
    emit showRequested();
    if (data_.lists().AddToCurrentList())
        data_.noteListsChanged();
}

bool TListsPage::SaveListDetails()
{
    const auto error = data_.saveListDetails();
    if (error)
        ask_.error(*error);
    return !error;
}

void TListsPage::clearLabel()
{
    Label2->clear();
}

void TListsPage::applyColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applyListColors(TreeView3, g);
    ApplyScheme::setFontColor(Label2, TSchemeColor(g.MainTextColor));
}

QAbstractItemView *TListsPage::treeView() const
{
    return TreeView3;
}

QLabel *TListsPage::label() const
{
    return Label2;
}

QAbstractButton *TListsPage::listMainButton() const
{
    return ListMain;
}

QAbstractButton *TListsPage::listAddUrlButton() const
{
    return ListAddURL;
}

QAbstractButton *TListsPage::listRunButton() const
{
    return ListRunBtn;
}

QModelIndex TListsPage::selectedNode() const
{
    return TreeView3->selectionModel()->selectedIndexes().value(0);
}

void TListsPage::TreeView3Click(const QModelIndex &)
{
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    Label2->setText(node.data(Qt::DisplayRole).toString());
    data_.globals().CurrentList = data_.lists().clickedListName(node);
}

void TListsPage::TreeView3DblClick(const QModelIndex &)
{
    const QModelIndex node = selectedNode();
    if (node.isValid() && node.parent().isValid())
        OpenPage(node.data(Qt::DisplayRole).toString());
}

void TListsPage::TreeView3KeyDown(int key)
{
    const QModelIndex node = selectedNode();
    if (key != Qt::Key_Delete || !node.isValid())
        return;
    const QString question = QStringLiteral("Do You want to Delete the Web Page from List - ") +
                             node.data(Qt::DisplayRole).toString() + QStringLiteral(" ?");
    if (!ask_.question(question))
        return;
    data_.lists().removeNode(node);
    data_.noteListsChanged();
}

bool TListsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TreeView3 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        TreeView3KeyDown(Qt::Key_Delete);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
