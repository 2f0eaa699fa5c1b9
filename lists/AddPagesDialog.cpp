#include "lists/AddPagesDialog.h"

#include "app/Ask.h"
#include "app/CaseFold.h"
#include "app/Logging.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "controls/ShellList.h"
#include "lists/ListStore.h"
#include "lists/ListsPage.h"
#include "organiser/Shortcut.h"
#include "ui_AddPagesDialog.h"

#include <QAbstractItemView>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>

namespace {

const QString kHelpPage = QStringLiteral("creating_and_using_favorite_list.htm");

} // namespace

TListAddURL1::TListAddURL1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), ask_(ask), ui_(std::make_unique<Ui::TListAddURL1>())
{
    ui_->setupUi(this);
    ui_->ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui_->ListBox1->installEventFilter(this);
    ui_->ListBox1->viewport()->installEventFilter(this);
    connect(ui_->ListView1, &QListWidget::itemClicked, this, &TListAddURL1::ListView1Click);
    connect(ui_->ListView1, &QListWidget::itemActivated, this, &TListAddURL1::ListView1Click);
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TListAddURL1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TListAddURL1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TListAddURL1::HelpBtnClick);
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
    setFixedSize(size().expandedTo(minimumSizeHint()));
    move(250, 150);
}

TListAddURL1::~TListAddURL1() = default;

void TListAddURL1::setSidePanel(TPTShellList *favorites, TListsPage *listsPage)
{
    favorites_ = favorites;
    listsPage_ = listsPage;
}

void TListAddURL1::FormShow()
{
    InitColors();
    LoadListChoices();
}

void TListAddURL1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::applyListColors(ui_->ListView1, g);
    ApplyScheme::applyListColors(ui_->ListBox1, g);
}

void TListAddURL1::LoadListChoices()
{
    const TListStore &lists = data_.lists();
    const QStandardItemModel &model = *lists.model();
    ui_->ListView1->clear();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex node = model.index(row, 0);
        auto *item = new QListWidgetItem(lists.picture(node.data(TListStore::PictureRole).toInt()),
                                         lists.clickedListName(node), ui_->ListView1);
        item->setToolTip(node.data(Qt::DisplayRole).toString());
    }
    if (chosenList_.isEmpty())
        return;
    if (listExists(chosenList_)) {
        selectChosenItem();
        return;
    }
    ask_.information(QStringLiteral("The list \"%1\" is no longer there; its pages were "
                                    "taken out of the box.")
                         .arg(chosenList_));
    chosenList_.clear();
    ui_->ListBox1->clear();
    boxChanged_ = false;
}

void TListAddURL1::selectChosenItem()
{
    for (int row = 0; row < ui_->ListView1->count(); ++row) {
        QListWidgetItem *item = ui_->ListView1->item(row);
        if (CaseFold::sameText(item->text(), chosenList_)) {
            ui_->ListView1->setCurrentItem(item);
            return;
        }
    }
}

bool TListAddURL1::listExists(const QString &name) const
{
    return !name.isEmpty() && data_.lists().FindListNode(CaseFold::upper(name)) >= 0;
}

void TListAddURL1::ListView1Click()
{
    const QList<QListWidgetItem *> selected = ui_->ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text();
    if (boxChanged_ && !chosenList_.isEmpty() &&
        ask_.question(QStringLiteral("Do You want to Save the changes to the Web Page List - ") +
                      chosenList_ + QStringLiteral(" ?")))
        saveBox();
    chooseList(name);
}

void TListAddURL1::chooseList(const QString &name)
{
    chosenList_ = name;
    showInPanel(name);
    ui_->ListBox1->clear();
    ui_->ListBox1->addItems(data_.lists().ListPages(name));
    boxChanged_ = false;
    qCInfo(lcLists, "Adding pages to the list \"%s\" of %d pages", qPrintable(name),
           ui_->ListBox1->count());
}

void TListAddURL1::showInPanel(const QString &name)
{
    if (!listsPage_)
        return;
    const QModelIndex node =
        data_.lists().indexAt(data_.lists().FindListNode(CaseFold::upper(name)));
    if (!node.isValid())
        return;
    // Selecting is not a click on the panel: the current list stays what it was.
    listsPage_->treeView()->setCurrentIndex(node);
    listsPage_->label()->setText(node.data(Qt::DisplayRole).toString());
}

bool TListAddURL1::ListBox1DragOver(const QObject *source) const
{
    return source && source == favorites_.data();
}

void TListAddURL1::ListBox1DragDrop(const QObject *source)
{
    if (!ListBox1DragOver(source))
        return;
    QStringList unreadable;
    for (const QString &path : favorites_->selectedPaths()) {
        std::optional<QString> error;
        const QString address = ReadShortcutUrl(path, &error);
        if (error) {
            unreadable << *error;
            continue;
        }
        if (address.trimmed().isEmpty() || inBox(address))
            continue;
        ui_->ListBox1->addItem(address);
        boxChanged_ = true;
    }
    if (!unreadable.isEmpty())
        ask_.error(QStringLiteral("These favorites could not be read and were not added:\n") +
                   unreadable.join(u'\n'));
}

void TListAddURL1::ListBox1KeyDown(int key)
{
    QListWidgetItem *item = ui_->ListBox1->currentItem();
    if (key != Qt::Key_Delete || !item || !item->isSelected())
        return;
    if (!ask_.question(QStringLiteral("Do You want to Delete the Web Page from List - ") +
                       item->text() + QStringLiteral(" ?")))
        return;
    delete item;
    boxChanged_ = true;
}

bool TListAddURL1::inBox(const QString &address) const
{
    const QString lower = CaseFold::lower(address);
    for (int row = 0; row < ui_->ListBox1->count(); ++row) {
        if (CaseFold::lower(ui_->ListBox1->item(row)->text()) == lower)
            return true;
    }
    return false;
}

QStringList TListAddURL1::entries() const
{
    QStringList pages;
    for (int row = 0; row < ui_->ListBox1->count(); ++row)
        pages << ui_->ListBox1->item(row)->text();
    return pages;
}

void TListAddURL1::OKBtn1Click()
{
    if (chosenList_.isEmpty()) {
        ask_.information(QStringLiteral("Choose the list above first; Save makes the pages "
                                        "below its pages."));
        return;
    }
    saveBox();
}

bool TListAddURL1::saveBox()
{
    if (!listExists(chosenList_)) {
        ask_.error(QStringLiteral("The list \"%1\" is no longer there, so its pages were not "
                                  "saved.")
                       .arg(chosenList_));
        return false;
    }
    data_.lists().ReplaceListPages(chosenList_, entries());
    data_.noteListsChanged();
    boxChanged_ = false;
    return true;
}

void TListAddURL1::CancelBtnClick()
{
    close();
}

void TListAddURL1::HelpBtnClick()
{
    ::ShowHelp(kHelpPage);
}

void TListAddURL1::done(int result)
{
    FormClose();
    TDialogForm::done(result);
}

void TListAddURL1::FormClose()
{
    if (const auto error = data_.saveListDetails()) {
        ask_.error(*error);
        return;
    }
    data_.globals().ListsChanged = false;
}

bool TListAddURL1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui_->ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        ListBox1KeyDown(Qt::Key_Delete);
        return true;
    }
    if (watched != ui_->ListBox1->viewport())
        return TDialogForm::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (ListBox1DragOver(drag->source())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        ListBox1DragDrop(drop->source());
        return true;
    }
    default:
        return TDialogForm::eventFilter(watched, event);
    }
}
