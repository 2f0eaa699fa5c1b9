#include "buttons/AssignButtonsDialog.h"

#include "app/Ask.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "buttons/ButtonStore.h"
#include "buttons/PageDrop.h"
#include "controls/ApplyScheme.h"
#include "controls/GlowButton.h"
#include "controls/WashLabel.h"
#include "ui_AssignButtonsDialog.h"

#include <QDropEvent>
#include <QLineEdit>

TSetBtns1::TSetBtns1(ProgramData &data, Ask &ask, const TPageDrop &drop, QWidget *parent)
    : TDialogForm(parent), ui_(std::make_unique<Ui::TSetBtns1>()), data_(data), ask_(ask),
      drop_(drop)
{
    ui_->setupUi(this);
    setFixedSize(580, 558);
    // The user drags pages from the main window while the dialog is open; a browser window
    // opened meanwhile raises the main window, and the fields must stay in sight all the same.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    for (int number = 1; number <= TButtonStore::ButtonCount; ++number) {
        auto *edit = findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(number));
        Q_ASSERT(edit);
        // The fields take drops from the main window's pages only, never a line edit's own
        // text drop, so the dialog judges every drag itself.
        edit->setAcceptDrops(true);
        edit->installEventFilter(this);
        fields_.append(edit);
    }
    connect(ui_->OKBtn1, &TGlowButton::clicked, this, &TSetBtns1::OKBtn1Click);
    connect(ui_->CancelBtn, &TGlowButton::clicked, this, &TSetBtns1::CancelBtnClick);
    connect(ui_->HelpBtn, &TGlowButton::clicked, this, &TSetBtns1::HelpBtnClick);
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
}

TSetBtns1::~TSetBtns1() = default;

QLineEdit *TSetBtns1::field(int number) const
{
    return fields_.value(number - 1);
}

void TSetBtns1::FormShow()
{
    InitColors();
    LoadButtonFields();
}

void TSetBtns1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    for (QLineEdit *edit : std::as_const(fields_))
        ApplyScheme::applyEntryColors(edit, g);
    for (TWashLabel *label : findChildren<TWashLabel *>())
        ApplyScheme::setBold(label, g.BoldText);
}

void TSetBtns1::LoadButtonFields()
{
    const TextFile::ReadResult file =
        TextFile::readLines(TextFile::resolveNoCase(data_.appDir(), TButtonStore::FileName));
    for (const QString &line : file.lines) {
        if (const auto parsed = TButtonStore::parseLine(line))
            SetButtonField(parsed->number, parsed->address);
    }
}

void TSetBtns1::SetButtonField(int number, const QString &address)
{
    if (QLineEdit *edit = field(number))
        edit->setText(address);
}

bool TSetBtns1::SaveButtonFields()
{
    QStringList addresses;
    for (const QLineEdit *edit : std::as_const(fields_))
        addresses << edit->text();
    const std::optional<QString> error = TButtonStore::SaveButtonFields(data_.appDir(), addresses);
    if (error)
        ask_.error(QStringLiteral("The buttons could not be saved to %1: %2")
                       .arg(TButtonStore::FileName, *error));
    return !error;
}

QString TSetBtns1::DropAddress(const QObject *source) const
{
    return drop_.DropAddress(source);
}

void TSetBtns1::OKBtn1Click()
{
    // The bar shows the file: after a failed write there is nothing new to show.
    if (SaveButtonFields())
        data_.loadButtons();
}

void TSetBtns1::CancelBtnClick()
{
    hide();
}

void TSetBtns1::HelpBtnClick()
{
    ::ShowHelp(QStringLiteral("assigning_buttons_to_web_sites.htm"));
}

bool TSetBtns1::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && fields_.contains(edit))
        return fieldDragEvent(edit, event);
    return TDialogForm::eventFilter(watched, event);
}

bool TSetBtns1::fieldDragEvent(QLineEdit *edit, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        drop_.acceptAsCopy(static_cast<QDropEvent *>(event));
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop_.acceptAsCopy(drop))
            edit->setText(DropAddress(drop->source()));
        return true;
    }
    default:
        return false;
    }
}
