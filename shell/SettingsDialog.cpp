#include "shell/SettingsDialog.h"

#include "app/Ask.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "controls/ThemeIcon.h"
#include "shell/ColorBox.h"
#include "ui_SettingsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStyle>

namespace {

// The colour field each numbered box edits: starts 1 to 8, gradient ends 9 to 13, texts 14 to 21.
constexpr std::array<qint32 TGlobals::*, 21> BoxFields{
    &TGlobals::MainBackColor,   &TGlobals::ToolbarBackColor, &TGlobals::ListBackColor,
    &TGlobals::EntryBackColor,  &TGlobals::DisplayBackColor, &TGlobals::SelectBackColor,
    &TGlobals::TipsBackColor,   &TGlobals::ButtonBackColor,  &TGlobals::MainEndColor,
    &TGlobals::ToolbarEndColor, &TGlobals::SelectEndColor,   &TGlobals::TipsEndColor,
    &TGlobals::ButtonEndColor,  &TGlobals::MainTextColor,    &TGlobals::ToolbarTextColor,
    &TGlobals::ListTextColor,   &TGlobals::EntryTextColor,   &TGlobals::DisplayTextColor,
    &TGlobals::SelectTextColor, &TGlobals::TipsTextColor,    &TGlobals::ButtonTextColor};

bool isEditKey(const QKeyEvent *key)
{
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
           key->matches(QKeySequence::Paste);
}

} // namespace

TSetConf1::TSetConf1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent), data_(data), ask_(ask), ui(std::make_unique<Ui::TSetConf1>())
{
    ui->setupUi(this);
    colorBoxes_ = {ui->BText1, ui->BText2, ui->BText3, ui->BText4, ui->BText5, ui->BText6,
                   ui->BText7, ui->BText8, ui->EText1, ui->EText2, ui->EText3, ui->EText4,
                   ui->EText5, ui->TText1, ui->TText2, ui->TText3, ui->TText4, ui->TText5,
                   ui->TText6, ui->TText7, ui->TText8};
    toFields_ = {ui->ToEMail1, ui->ToEMail2, ui->ToEMail3, ui->ToEMail4, ui->ToEMail5,
                 ui->ToEMail6, ui->ToEMail7, ui->ToEMail8, ui->ToEMail9, ui->ToEMail10};
    for (int number = 1; number <= int(colorBoxes_.size()); ++number)
        connect(colorBox(number), &TColorBox::chooseRequested, this,
                [this, number] { GetColor(number); });
    ui->PageControl1->tabBar()->setAttribute(Qt::WA_Hover);
    connect(ui->OKBtn1, &QPushButton::clicked, this, &TSetConf1::OKBtn1Click);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TSetConf1::CancelBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TSetConf1::HelpBtnClick);
    createEditMenu();
    setPictures();
    watchFields();
}

TSetConf1::~TSetConf1() = default;

void TSetConf1::setAddressSource(QComboBox *box)
{
    addressSource_ = box;
}

void TSetConf1::createEditMenu()
{
    auto *bar = new QMenuBar(this);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                    &TSetConf1::Cut1Click);
    edit->addAction(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                    &TSetConf1::Copy1Click);
    edit->addAction(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                    &TSetConf1::Paste1Click);
    layout()->setMenuBar(bar);
}

void TSetConf1::setPictures()
{
    QTabWidget *pages = ui->PageControl1;
    pages->setTabIcon(ColorsPage,
                      ThemeIcon::themed("preferences-desktop-color", QStyle::SP_DesktopIcon));
    pages->setTabIcon(OptionsPage,
                      ThemeIcon::themed("preferences-system", QStyle::SP_FileDialogDetailedView));
    pages->setTabIcon(EmailPage, ThemeIcon::themed("mail-message-new", QStyle::SP_DirHomeIcon));
    ui->OKBtn1->setIcon(ThemeIcon::themed("dialog-ok", QStyle::SP_DialogOkButton));
    ui->CancelBtn->setIcon(ThemeIcon::themed("dialog-cancel", QStyle::SP_DialogCancelButton));
    ui->HelpBtn->setIcon(ThemeIcon::themed("help-browser", QStyle::SP_DialogHelpButton));
}

void TSetConf1::watchFields()
{
    // Cut, copy and paste keys belong to the dialog's Edit menu in every field, as its short-cuts
    // say; the fields' own handling would take only the selection.
    for (QLineEdit *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
}

void TSetConf1::openFromMenu()
{
    const QString page = data_.globals().SettingsPage;
    if (isVisible()) {
        if (page == u"C")
            ui->PageControl1->setCurrentIndex(ColorsPage);
        openModeless();
        return;
    }
    if (page == u"C")
        openModal();
    else
        openModeless();
}

void TSetConf1::FormShow()
{
    GetTextColors();
    GetOptions();
    const QString page = data_.globals().SettingsPage;
    if (page == u"C")
        ui->PageControl1->setCurrentIndex(ColorsPage);
    else if (page == u"O")
        ui->PageControl1->setCurrentIndex(OptionsPage);
    const TSchemeColor buttonText(data_.globals().ButtonTextColor);
    for (QPushButton *button : {ui->OKBtn1, ui->CancelBtn, ui->HelpBtn})
        ApplyScheme::setFontColor(button, buttonText);
}

void TSetConf1::GetColor(int number)
{
    TColorBox *box = colorBox(number);
    const std::optional<QColor> chosen = ask_.color(box->value().resolve());
    if (chosen)
        box->setValue(TSchemeColor::fromColor(*chosen));
}

void TSetConf1::GetTextColors()
{
    const TGlobals &g = data_.globals();
    for (int i = 0; i < int(BoxFields.size()); ++i)
        colorBoxes_[i]->setValue(TSchemeColor(g.*BoxFields[i]));
}

void TSetConf1::SetTextColors()
{
    TGlobals &g = data_.globals();
    for (int i = 0; i < int(BoxFields.size()); ++i)
        g.*BoxFields[i] = colorBoxes_[i]->value().value();
}

void TSetConf1::GetOptions()
{
    const TGlobals &g = data_.globals();
    ui->Text1->setText(g.StartPage);
    ui->Text2->setText(g.SearchPage);
    ui->Text3->setText(g.MainPicture);
    ui->FREMail1->setText(g.FromAddress);
    for (int i = 0; i < int(toFields_.size()); ++i)
        toFields_[i]->setText(g.ToAddresses[i]);
    ui->CHKBOLD->setChecked(g.BoldText);
    ui->CHKGRID->setChecked(g.GridLines);
    ui->CHKWINMAX->setChecked(g.MaximizeWindows);
    ui->CHKSTARTTIPS->setChecked(g.StartTips);
}

void TSetConf1::SetOptions()
{
    TGlobals &g = data_.globals();
    g.StartPage = ui->Text1->text();
    g.SearchPage = ui->Text2->text();
    g.MainPicture = ui->Text3->text();
    g.FromAddress = ui->FREMail1->text();
    for (int i = 0; i < int(toFields_.size()); ++i)
        g.ToAddresses[i] = toFields_[i]->text();
    g.BoldText = ui->CHKBOLD->isChecked();
    g.GridLines = ui->CHKGRID->isChecked();
    g.MaximizeWindows = ui->CHKWINMAX->isChecked();
    g.StartTips = ui->CHKSTARTTIPS->isChecked();
}

void TSetConf1::OKBtn1Click()
{
    SetTextColors();
    SetOptions();
    // The Favorites grid lines follow the options; every window re-colours itself.
    data_.noteOptionsChanged();
    data_.noteColorsChanged();
    if (const auto error = data_.saveColors())
        ask_.error(
            QStringLiteral("The colours are in use but could not be saved.\n%1").arg(*error));
    accept();
}

void TSetConf1::CancelBtnClick()
{
    reject();
}

void TSetConf1::done(int result)
{
    TDialogForm::done(result);
    FormClose();
}

void TSetConf1::FormClose()
{
    const QString picture = data_.globals().MainPicture;
    if (!picture.trimmed().isEmpty())
        emit mainPictureRequested(picture);
}

void TSetConf1::HelpBtnClick()
{
    if (ui->PageControl1->currentIndex() == ColorsPage)
        ::ShowHelp(QStringLiteral("set_quillmere_colors.htm"));
    else
        ::ShowHelp(QStringLiteral("set_quillmere_option.htm"));
}

void TSetConf1::Text1DblClick()
{
    ::OpenPage(data_.globals().StartPage);
}

void TSetConf1::Text2DblClick()
{
    ::OpenPage(ui->Text2->text());
}

void TSetConf1::Text3DblClick()
{
    const QString current = ui->Text3->text().trimmed();
    const QString folder =
        QFileInfo(current).isAbsolute() ? QFileInfo(current).path() : data_.appDir();
    const QString chosen = ask_.picture(QStringLiteral("Select Photo for Main Window"), folder);
    if (chosen.isEmpty())
        return;
    // Taken at once: the picture stands even when the dialog is cancelled.
    data_.globals().MainPicture = chosen;
    ui->Text3->setText(chosen);
}

QLineEdit *TSetConf1::focusedPageField() const
{
    QWidget *focus = QApplication::focusWidget();
    for (QLineEdit *field : {ui->Text1, ui->Text2, ui->Text3}) {
        if (focus == field)
            return field;
    }
    return nullptr;
}

void TSetConf1::Cut1Click()
{
    QLineEdit *field = focusedPageField();
    if (!field)
        return;
    QApplication::clipboard()->setText(field->text());
    field->clear();
}

void TSetConf1::Copy1Click()
{
    if (QLineEdit *field = focusedPageField()) {
        field->selectAll();
        QApplication::clipboard()->setText(field->text());
    }
}

void TSetConf1::Paste1Click()
{
    if (QLineEdit *field = focusedPageField())
        field->paste();
}

bool TSetConf1::acceptsDragFrom(const QObject *source) const
{
    const auto *widget = qobject_cast<const QWidget *>(source);
    return addressSource_ && widget &&
           (widget == addressSource_ || addressSource_->isAncestorOf(widget));
}

bool TSetConf1::textDragOver(QDropEvent *event) const
{
    const bool accepted = acceptsDragFrom(event->source());
    if (accepted)
        event->acceptProposedAction();
    else
        event->ignore();
    return accepted;
}

void TSetConf1::textDragDrop(QDropEvent *event)
{
    if (!textDragOver(event))
        return;
    ui->Text1->setText(addressSource_->currentText());
    ui->Text1->setFocus();
}

bool TSetConf1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (isEditKey(static_cast<QKeyEvent *>(event))) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == ui->Text1)
            Text1DblClick();
        else if (watched == ui->Text2)
            Text2DblClick();
        else if (watched == ui->Text3)
            Text3DblClick();
        else
            break;
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (watched == ui->Text1) {
            textDragOver(static_cast<QDropEvent *>(event));
            return true;
        }
        break;
    case QEvent::Drop:
        if (watched == ui->Text1) {
            textDragDrop(static_cast<QDropEvent *>(event));
            return true;
        }
        break;
    default:
        break;
    }
    return TDialogForm::eventFilter(watched, event);
}
