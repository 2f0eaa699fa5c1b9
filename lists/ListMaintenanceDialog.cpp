#include "lists/ListMaintenanceDialog.h"

#include "app/Ask.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "controls/ThemeIcon.h"
#include "lists/ListStore.h"
#include "ui_ListMaintenanceDialog.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

namespace {

const QString kHelpPage = QStringLiteral("creating_and_using_favorite_list.htm");

} // namespace

TListMain1::TListMain1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), data_(data), ask_(ask),
      ui_(std::make_unique<Ui::TListMain1>()), edits_(data.appDir())
{
    ui_->setupUi(this);
    createEditMenu();
    ui_->TreeView1->setModel(edits_.model());
    ui_->TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui_->TreeView1->setIconSize(QSize(16, 16));
    ui_->Text3->installEventFilter(this);
    connectButtons();
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
    // The outer size the dialog was designed for, or what the desktop's fonts need beyond it.
    setFixedSize(size().expandedTo(minimumSizeHint()));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}

TListMain1::~TListMain1() = default;

void TListMain1::createEditMenu()
{
    auto *bar = new QMenuBar(this);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(ThemeIcon::themed("edit-cut", QStyle::SP_DialogDiscardButton),
                    QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                    &TListMain1::Cut1Click);
    edit->addAction(ThemeIcon::themed("edit-copy", QStyle::SP_FileDialogDetailedView),
                    QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                    &TListMain1::Copy1Click);
    edit->addAction(ThemeIcon::themed("edit-paste", QStyle::SP_DialogApplyButton),
                    QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                    &TListMain1::Paste1Click);
    layout()->setMenuBar(bar);
}

void TListMain1::connectButtons()
{
    const struct
    {
        QAbstractButton *button;
        const char *icon;
        QStyle::StandardPixmap fallback;
        void (TListMain1::*handler)();
    } buttons[] = {
        {ui_->TFirstBtn, "go-first", QStyle::SP_MediaSkipBackward, &TListMain1::TFirstBtnClick},
        {ui_->TPreviousBtn, "go-previous", QStyle::SP_ArrowLeft, &TListMain1::TPeviousBtnClick},
        {ui_->TNextBtn, "go-next", QStyle::SP_ArrowRight, &TListMain1::TNextBtnClick},
        {ui_->TLastBtn, "go-last", QStyle::SP_MediaSkipForward, &TListMain1::TLastBtnClick},
        {ui_->TAddBtn, "list-add", QStyle::SP_FileDialogNewFolder, &TListMain1::TAddBtnClick},
        {ui_->TDeleteBtn, "list-remove", QStyle::SP_TrashIcon, &TListMain1::TDeleteBtnClick},
        {ui_->TSaveBtn, "document-save", QStyle::SP_DialogSaveButton, &TListMain1::TSaveBtnClick},
        {ui_->TCancelBtn, "edit-undo", QStyle::SP_DialogCancelButton, &TListMain1::TCancelBtnClick},
        {ui_->TFindBtn, "edit-find", QStyle::SP_FileDialogContentsView, &TListMain1::TFindBtnClick},
        {ui_->THelpBtn, "help-contents", QStyle::SP_MessageBoxQuestion, &TListMain1::THelpBtnClick},
    };
    for (const auto &entry : buttons) {
        entry.button->setIcon(ThemeIcon::themed(entry.icon, entry.fallback));
        connect(entry.button, &QAbstractButton::clicked, this, entry.handler);
    }
    connect(ui_->TreeView1, &QAbstractItemView::clicked, this, &TListMain1::TreeView1Click);
}

QTreeView *TListMain1::treeView() const
{
    return ui_->TreeView1;
}

void TListMain1::FormShow()
{
    // A write that failed at the last close left the edits here: they stay, and the next close
    // tries again, rather than being replaced by the lists on disk.
    if (listsEdited_) {
        InitColors();
        return;
    }
    SavedName.clear();
    SavedDescription.clear();
    SavedIconFile.clear();
    InitColors();
    LoadDialogLists();
    if (edits_.count() > 0)
        selectRow(0);
    ui_->TProgressFill1->setValue(0);
    ShowSelectedList();
}

void TListMain1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::applyListColors(ui_->TProgressFill1, g);
    ApplyScheme::applyListColors(ui_->TreeView1, g);
    for (QLineEdit *field : {ui_->Text1, ui_->Text2, ui_->Text3})
        ApplyScheme::applyEntryColors(field, g);
    for (QWidget *label : {ui_->Label1, ui_->Label2, ui_->Label3})
        ApplyScheme::setBold(label, g.BoldText);
    // The shown list stays marked while the user types in the fields.
    QPalette palette = ui_->TreeView1->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ui_->TreeView1->setPalette(palette);
}

void TListMain1::LoadDialogLists()
{
    edits_.LoadDialogLists(data_.lists());
}

void TListMain1::ShowSelectedList()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const TORRec rec = edits_.record(row);
    ui_->Text1->setText(rec.Name);
    ui_->Text2->setText(rec.Description);
    ui_->Text3->setText(rec.IconFile);
    SavedName = rec.Name;
    SavedDescription = rec.Description;
    SavedIconFile = rec.IconFile;
}

void TListMain1::ShowPosition()
{
    ui_->TProgressFill1->setValue(TListEdits::positionPercent(selectedRow(), edits_.count()));
    ui_->TProgressFill1->repaint();
}

int TListMain1::FindListRecord(const QString &name) const
{
    return edits_.FindListRecord(name);
}

int TListMain1::DialogIconIndex(const QString &fileName)
{
    return edits_.DialogIconIndex(fileName);
}

bool TListMain1::WriteListFile()
{
    TGlobals &g = data_.globals();
    // The panel is rebuilt from the two files: pages added since the detail file was last
    // written would vanish from it unless they are written first.
    if (g.ListsChanged) {
        if (const auto error = data_.saveListDetails()) {
            ask_.error(*error);
            return false;
        }
        g.ListsChanged = false;
    }
    if (const auto error = data_.lists().WriteListFile(edits_.records())) {
        ask_.error(*error);
        return false;
    }
    listsEdited_ = false;
    if (const auto error = data_.loadLists())
        ask_.error(*error);
    return true;
}

void TListMain1::TreeView1Click()
{
    ShowSelectedList();
}

void TListMain1::TFirstBtnClick()
{
    if (edits_.count() == 0)
        return;
    selectRow(0);
    ShowSelectedList();
    ui_->TProgressFill1->setValue(0);
}

void TListMain1::TPeviousBtnClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row > 0)
        selectRow(row - 1);
    ShowSelectedList();
    ShowPosition();
}

void TListMain1::TNextBtnClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row < edits_.count() - 1)
        selectRow(row + 1);
    ShowSelectedList();
    ShowPosition();
}

void TListMain1::TLastBtnClick()
{
    if (edits_.count() == 0)
        return;
    selectRow(edits_.count() - 1);
    ShowSelectedList();
    ui_->TProgressFill1->setValue(100);
}

void TListMain1::TAddBtnClick()
{
    ui_->Text1->setText(edits_.newListName());
    ui_->Text2->setFocus();
}

void TListMain1::TDeleteBtnClick()
{
    // The question names the list that goes, whatever the name field has been edited to.
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString question = QStringLiteral("Do You want to Delete the Web Page List - ") +
                             edits_.record(row).Name + QStringLiteral(" ?");
    if (!ask_.question(question))
        return;
    edits_.removeList(row);
    listsEdited_ = true;
}

void TListMain1::TSaveBtnClick()
{
    const TORRec rec{ui_->Text1->text(), ui_->Text2->text(), ui_->Text3->text()};
    if (const auto problem = TListEdits::recordProblem(rec)) {
        ask_.information(*problem);
        return;
    }
    edits_.saveRecord(rec);
    listsEdited_ = true;
}

void TListMain1::TCancelBtnClick()
{
    ui_->Text1->setText(SavedName);
    ui_->Text2->setText(SavedDescription);
    ui_->Text3->setText(SavedIconFile);
}

void TListMain1::TFindBtnClick()
{
    emit findRequested();
}

void TListMain1::THelpBtnClick()
{
    ShowHelp(kHelpPage);
}

void TListMain1::Text3DblClick()
{
    const QString current = ui_->Text3->text().trimmed();
    const QString folder = current.isEmpty() ? data_.appDir() : QFileInfo(current).path();
    const QString chosen =
        ask_.openFile(QStringLiteral("Select 16x16 Bitmap for Icon"), folder,
                      {QStringLiteral("All (*.bmp *.ico)"), QStringLiteral("Bitmaps (*.bmp)"),
                       QStringLiteral("Icons (*.ico)")});
    if (!chosen.isEmpty())
        ui_->Text3->setText(chosen);
}

QLineEdit *TListMain1::focusedField() const
{
    QWidget *focused = focusWidget();
    for (QLineEdit *field : {ui_->Text1, ui_->Text2, ui_->Text3}) {
        if (field == focused)
            return field;
    }
    return nullptr;
}

void TListMain1::Cut1Click()
{
    if (QLineEdit *field = focusedField()) {
        field->selectAll();
        field->cut();
    }
}

void TListMain1::Copy1Click()
{
    if (QLineEdit *field = focusedField()) {
        field->selectAll();
        field->copy();
    }
}

void TListMain1::Paste1Click()
{
    if (QLineEdit *field = focusedField())
        field->paste();
}

void TListMain1::FindList(const QString &letters)
{
    const int row = edits_.findByPrefix(letters);
    if (row >= 0)
        selectRow(row);
}

void TListMain1::FormClose()
{
    if (listsEdited_)
        WriteListFile();
}

void TListMain1::done(int result)
{
    // Closing by the close box, Escape or the program all come through here.
    FormClose();
    TDialogForm::done(result);
}

bool TListMain1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui_->Text3 && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Text3DblClick();
        return true;
    }
    return TDialogForm::eventFilter(watched, event);
}

int TListMain1::selectedRow() const
{
    const QModelIndexList selected = ui_->TreeView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TListMain1::selectRow(int row)
{
    const QModelIndex index = edits_.model()->index(row, 0);
    ui_->TreeView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ui_->TreeView1->scrollTo(index);
}
