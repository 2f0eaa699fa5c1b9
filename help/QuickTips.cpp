#include "help/QuickTips.h"

#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "ui_QuickTips.h"

TQuikTips1::TQuikTips1(ProgramData &data, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), ui_(std::make_unique<Ui::TQuikTips1>())
{
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TQuikTips1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TQuikTips1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TQuikTips1::HelpBtnClick);
    connect(ui_->CHKSTART, &QAbstractButton::clicked, this, &TQuikTips1::CHKSTARTClick);
    connect(&data_, &ProgramData::settingsChanged, this, &TQuikTips1::InitColors);
}

TQuikTips1::~TQuikTips1() = default;

void TQuikTips1::FormShow()
{
    InitColors();
    // The box says what is in force now, which the settings dialog may have changed since.
    ui_->CHKSTART->setChecked(!data_.globals().StartTips);
    GetQuickTips();
    SetQuickTips();
}

void TQuikTips1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applyTipsColors(this, g);
    ApplyScheme::applyListColors(ui_->Memo1, g);
    ApplyScheme::setBold(ui_->Label1, g.BoldText);
}

void TQuikTips1::GetQuickTips()
{
    tips_.load(data_.filePath(QStringLiteral("TipHelp.Txt")));
    QFont font = ui_->Memo1->font();
    font.setPointSize(12);
    ui_->Memo1->setFont(font);
}

void TQuikTips1::SetQuickTips()
{
    tipPos_ = tips_.randomSlot();
    if (tipPos_ == 0) {
        ui_->Memo1->clear();
        return;
    }
    SetTips();
}

void TQuikTips1::SetTips()
{
    ui_->Memo1->setPlainText(TTipTable::memoLines(tips_.tip(tipPos_)).join(u'\n'));
    ++tipPos_;
}

void TQuikTips1::OKBtn1Click()
{
    // With no tips there is nothing to move on to, and the memo stays as it is.
    if (tips_.count() == 0)
        return;
    SetQuickTips();
}

void TQuikTips1::CancelBtnClick()
{
    close();
}

void TQuikTips1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("Index.htm"));
}

void TQuikTips1::CHKSTARTClick()
{
    data_.globals().StartTips = !ui_->CHKSTART->isChecked();
}

QStringList TQuikTips1::memoLines() const
{
    const QString text = ui_->Memo1->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}
