#include "lists/ListsPage.h"

#include "app/ErrorBox.h"
#include "app/Navigation.h"
#include "controls/PictureTable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

bool askYesNo(QWidget *parent, const QString &question)
{
    return QMessageBox::question(parent, QStringLiteral("Quillmere"), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

TListsPage::TListsPage(QWidget *parent) : QWidget(parent)
{
    ListMain = speedButton(QStringLiteral("Create and Maintain Web Page Lists"),
                           PictureTable::themed("document-new", QStyle::SP_FileDialogNewFolder));
    ListAddURL = speedButton(QStringLiteral("Add Web Pages to Web Page List"),
                             PictureTable::themed("list-add", QStyle::SP_FileDialogContentsView));
    ListRunBtn = speedButton(QStringLiteral("Run Web Page List"),
                             PictureTable::themed("media-playback-start", QStyle::SP_MediaPlay));

    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Label2->setMinimumHeight(26);

    TreeView3 = new QTreeView(this);
    TreeView3->setModel(store_.model());
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

    confirm_ = [this](const QString &question) { return askYesNo(this, question); };
    connect(TreeView3, &QTreeView::clicked, this, &TListsPage::TreeView3Click);
    connect(TreeView3, &QTreeView::doubleClicked, this, &TListsPage::TreeView3DblClick);
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
    if (const auto error = store_.LoadListsPanel())
        ShowErrorBox(*error, this);
}

QString TListsPage::firstNodeText() const
{
    return store_.firstNodeText();
}

void TListsPage::AddToCurrentList()
{
    emit showRequested();
    store_.AddToCurrentList();
}

bool TListsPage::SaveListDetails()
{
    const auto error = store_.SaveListDetails();
    if (error)
        ShowErrorBox(*error, this);
    return !error;
}

void TListsPage::clearLabel()
{
    Label2->clear();
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
    Globals.CurrentList = store_.clickedListName(node);
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
    if (confirm_(question))
        store_.removeNode(node);
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
