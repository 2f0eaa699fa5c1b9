#include "help/About.h"

#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "ui_About.h"

#include <QDate>
#include <QEvent>

namespace {

// The calendar keeps its own grey and black whatever the scheme says.
void colourCalendar(QCalendarWidget *calendar)
{
    QPalette palette = calendar->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::AlternateBase})
        palette.setColor(role, QColor(0x80, 0x80, 0x80));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, Qt::black);
    calendar->setPalette(palette);
    calendar->setAutoFillBackground(true);
}

} // namespace

TAbout1::TAbout1(ProgramData &data, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), ui_(std::make_unique<Ui::TAbout1>())
{
    ui_->setupUi(this);
    setFixedSize(size());
    ui_->Label2->setText(QString::fromLatin1(ProductLine) + u'\n' +
                         QString::fromLatin1(NoticeLine));
    for (TWashLabel *label : {ui_->Label1, ui_->Label2})
        label->installEventFilter(this);
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TAbout1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TAbout1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TAbout1::HelpBtnClick);
    connect(&data_, &ProgramData::settingsChanged, this, &TAbout1::InitColors);
}

TAbout1::~TAbout1() = default;

void TAbout1::FormShow()
{
    ui_->MonthCalendar1->setSelectedDate(QDate::currentDate());
    ui_->MonthCalendar1->showSelectedDate();
    InitColors();
    ui_->OKBtn1->setFocus();
}

void TAbout1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::setBold(ui_->Label1, g.BoldText);
    ApplyScheme::setBold(ui_->Label2, g.BoldText);
    colourCalendar(ui_->MonthCalendar1);
}

void TAbout1::OKBtn1Click()
{
    close();
}

void TAbout1::CancelBtnClick()
{
    close();
}

void TAbout1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("about_quillmere.htm"));
}

void TAbout1::Label2DblClick()
{
    OpenPage(QString::fromLatin1(ProjectPage));
}

bool TAbout1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        Label2DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
