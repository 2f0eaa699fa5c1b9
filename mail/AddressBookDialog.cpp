#include "mail/AddressBookDialog.h"

#include "app/Ask.h"
#include "app/Logging.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "mail/AddressBook.h"
#include "mail/ToAddresses.h"
#include "ui_AddressBookDialog.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>

TMailAddr1::TMailAddr1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog), data_(data), ask_(ask),
      ui_(std::make_unique<Ui::TMailAddr1>())
{
    ui_->setupUi(this);
    // Placed once; from then on the window stays where the user leaves it.
    move(630, 50);
    ui_->ListBox1->setModel(data_.addressBook().model());
    makePopupMenu();
    connectControls();
}

TMailAddr1::~TMailAddr1() = default;

void TMailAddr1::connectControls()
{
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TMailAddr1::OKBtn1Click);
    connect(ui_->SelectBtn, &QAbstractButton::clicked, this, &TMailAddr1::SelectBtnClick);
    connect(ui_->ImportBtn, &QAbstractButton::clicked, this, &TMailAddr1::ImportBtnClick);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TMailAddr1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TMailAddr1::HelpBtnClick);
    connect(ui_->ListBox1, &QAbstractItemView::clicked, this, &TMailAddr1::ListBox1Click);
    connect(ui_->ListBox1, &QAbstractItemView::doubleClicked, this, &TMailAddr1::ListBox1DblClick);
    ui_->ListBox1->installEventFilter(this);
    connect(&data_, &ProgramData::settingsChanged, this, &TMailAddr1::InitColors);
}

void TMailAddr1::makePopupMenu()
{
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const QString &name, const QString &text, QKeySequence::StandardKey key,
                      void (TMailAddr1::*slot)()) {
        QAction *action = popupMenu_->addAction(text, this, slot);
        action->setObjectName(name);
        action->setShortcut(key);
    };
    add(QStringLiteral("Copy1"), QStringLiteral("Copy"), QKeySequence::Copy,
        &TMailAddr1::Copy1Click);
    add(QStringLiteral("Cut1"), QStringLiteral("Cut"), QKeySequence::Cut, &TMailAddr1::Cut1Click);
    add(QStringLiteral("Paste1"), QStringLiteral("Paste"), QKeySequence::Paste,
        &TMailAddr1::Paste1Click);
    for (QLineEdit *edit : {ui_->Text1, ui_->Text2}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint &at) { showPopupMenu(edit, at); });
    }
}

void TMailAddr1::showPopupMenu(QLineEdit *edit, const QPoint &at)
{
    popupEdit_ = edit;
    popupMenu_->popup(edit->mapToGlobal(at));
}

void TMailAddr1::attachMailWindow(QComboBox *toBox, const QList<QAction *> &editActions)
{
    toBox_ = toBox;
    editActions_.clear();
    for (QAction *action : editActions)
        editActions_ << action;
}

void TMailAddr1::FormShow()
{
    InitColors();
    LoadEMailList();
}

void TMailAddr1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::applyListColors(ui_->ListBox1, g);
    ApplyScheme::applyEntryColors(ui_->Text1, g);
    ApplyScheme::applyEntryColors(ui_->Text2, g);
    ApplyScheme::setBold(ui_->Label1, g.BoldText);
    ApplyScheme::setBold(ui_->Label2, g.BoldText);
}

bool TMailAddr1::LoadEMailList()
{
    return data_.addressBook().LoadEMailList();
}

bool TMailAddr1::SaveEMailList()
{
    const std::optional<QString> error = data_.addressBook().SaveEMailList();
    if (!error)
        return true;
    qCWarning(lcMail) << "address book not saved:" << *error;
    ask_.error(QStringLiteral("The EMail Address Book could not be saved.\n") + *error);
    return false;
}

bool TMailAddr1::ChkDuplicates(const QString &upperEntry) const
{
    return data_.addressBook().ChkDuplicates(upperEntry);
}

void TMailAddr1::OKBtn1Click()
{
    data_.addressBook().add(ui_->Text1->text(), ui_->Text2->text());
    SaveEMailList();
}

void TMailAddr1::SelectBtnClick()
{
    if (!toBox_)
        return;
    const QString address = ui_->Text2->text();
    const QString toText = toBox_->currentText();
    if (ToAddresses::ToAddressIndex(toText, address) != -1)
        return;
    const QString newText = ToAddresses::appended(toText, address);
    if (toBox_->findText(address, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        toBox_->addItem(address);
    // Adding the first item to the drop-down list would make it the box's text.
    toBox_->setEditText(newText);
}

void TMailAddr1::CancelBtnClick()
{
    close();
}

void TMailAddr1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("E-Mail Address List.htm"));
}

void TMailAddr1::ImportBtnClick()
{
    const QString path = ask_.openFile(
        QStringLiteral("Import EMail Addresses"), data_.appDir(),
        {QStringLiteral("vCard files (*.vcf *.vcard)"), QStringLiteral("All files (*)")});
    if (path.isEmpty())
        return;
    int added = 0;
    if (const auto error = data_.addressBook().importVCard(path, &added)) {
        ask_.error(QStringLiteral("The vCard file could not be read.\n") + *error);
        return;
    }
    if (added > 0)
        SaveEMailList();
}

int TMailAddr1::selectedRow() const
{
    const QModelIndex current = ui_->ListBox1->currentIndex();
    if (!current.isValid() || !ui_->ListBox1->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void TMailAddr1::ListBox1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const AddressBook::Entry entry = AddressBook::split(data_.addressBook().entries().at(row));
    ui_->Text1->setText(entry.name);
    ui_->Text2->setText(entry.address);
}

void TMailAddr1::ListBox1DblClick()
{
    const int row = selectedRow();
    if (row < 0 || !toBox_)
        return;
    const AddressBook::Entry entry = AddressBook::split(data_.addressBook().entries().at(row));
    toBox_->setEditText(ToAddresses::appended(toBox_->currentText(), entry.address.trimmed()));
}

void TMailAddr1::deleteSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString entry = data_.addressBook().entries().at(row);
    if (ask_.question(QStringLiteral("Do You want to Delete the EMail Address - ") + entry +
                      QStringLiteral("?")))
        data_.addressBook().remove(row);
}

bool TMailAddr1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui_->ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    return TDialogForm::eventFilter(watched, event);
}

void TMailAddr1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        setMailEditActionsEnabled(!isActiveWindow());
    TDialogForm::changeEvent(event);
}

void TMailAddr1::setMailEditActionsEnabled(bool enabled)
{
    for (const QPointer<QAction> &action : std::as_const(editActions_)) {
        if (action)
            action->setEnabled(enabled);
    }
}

void TMailAddr1::Copy1Click()
{
    if (popupEdit_)
        popupEdit_->copy();
}

void TMailAddr1::Cut1Click()
{
    if (popupEdit_)
        popupEdit_->cut();
}

void TMailAddr1::Paste1Click()
{
    if (popupEdit_)
        popupEdit_->paste();
}

void TMailAddr1::AddrBtnClick()
{
    openModeless();
}

void TMailAddr1::AddrAddBtnClick(int msgCount, const QString &displayName, const QString &fromText)
{
    if (msgCount <= 0 || fromText.trimmed().isEmpty())
        return;
    openModeless();
    ui_->Text1->setText(displayName);
    ui_->Text2->setText(fromText);
}
