#include "lists/FindListDialog.h"

#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "ui_FindListDialog.h"

TFindList1::TFindList1(ProgramData &data, Ask &, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), ui_(std::make_unique<Ui::TFindList1>())
{
    ui_->setupUi(this);
    setFixedSize(size().expandedTo(minimumSizeHint()));
    move(300, 15);
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TFindList1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TFindList1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TFindList1::HelpBtnClick);
    // Enter searches, as a click on OK does, and leaves the window open.
    connect(ui_->Text1, &QLineEdit::returnPressed, this, &TFindList1::OKBtn1Click);
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
}

TFindList1::~TFindList1() = default;

void TFindList1::FormShow()
{
    InitColors();
}

void TFindList1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::applyEntryColors(ui_->Text1, g);
}

void TFindList1::OKBtn1Click()
{
    emit findListRequested(ui_->Text1->text());
}

void TFindList1::CancelBtnClick()
{
    close();
}

void TFindList1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("creating_and_using_favorite_list.htm"));
}
