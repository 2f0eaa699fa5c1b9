#include "lists/AutoCollect.h"

#include "app/Ask.h"
#include "app/CaseFold.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "lists/ListStore.h"
#include "lists/RunPicture.h"
#include "ui_AutoCollect.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QString kHelpPage = QStringLiteral("creating_and_using_favorite_list.htm");

} // namespace

TListAuto1::TListAuto1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), data_(data), ask_(ask),
      ui_(std::make_unique<Ui::TListAuto1>())
{
    ui_->setupUi(this);
    ui_->OKBtn1->setIcon(RunPicture::check(data_));
    connect(ui_->CMBLIST, &QComboBox::activated, this, &TListAuto1::CMBLISTClick);
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TListAuto1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TListAuto1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TListAuto1::HelpBtnClick);
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
    // The frame has written the lists by then; what this adds is written here.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TListAuto1::programEnding);
    ui_->Label2->hide();
    setFixedSize(size().expandedTo(minimumSizeHint()));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}

TListAuto1::~TListAuto1() = default;

void TListAuto1::FormShow()
{
    InitColors();
    LoadListChoices();
}

void TListAuto1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    ApplyScheme::applyListColors(ui_->CMBLIST, g);
    for (TWashLabel *label : {ui_->Label1, ui_->Label2})
        ApplyScheme::setBold(label, g.BoldText);
}

int TListAuto1::listRow(const QString &name) const
{
    const QStandardItemModel &model = *data_.lists().model();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (CaseFold::sameText(data_.lists().clickedListName(model.index(row, 0)), name))
            return row;
    }
    return -1;
}

void TListAuto1::LoadListChoices()
{
    const QStandardItemModel &model = *data_.lists().model();
    ui_->CMBLIST->clear();
    for (int row = 0; row < model.rowCount(); ++row)
        ui_->CMBLIST->addItem(model.item(row)->text());
    // Until the user chooses, the list the box shows first is the one collected for.
    if (chosenList_.isEmpty() && model.rowCount() > 0)
        chosenList_ = data_.lists().clickedListName(model.index(0, 0));
    const int row = chosenList_.isEmpty() ? -1 : listRow(chosenList_);
    ui_->CMBLIST->setCurrentIndex(row);
    if (row < 0 && !chosenList_.isEmpty())
        ask_.information(QStringLiteral("The list \"%1\" chosen for collecting is no longer "
                                        "there. Choose a list before you stop collecting.")
                             .arg(chosenList_));
}

void TListAuto1::CMBLISTClick(int index)
{
    const QModelIndex node = data_.lists().model()->index(index, 0);
    if (!node.isValid())
        return;
    chosenList_ = data_.lists().clickedListName(node);
    ListBox1.clear();
}

bool TListAuto1::collecting() const
{
    return data_.globals().AutoCollect;
}

void TListAuto1::OKBtn1Click()
{
    data_.globals().AutoCollect = !collecting();
    showState();
    if (!collecting())
        StoreCollected();
}

void TListAuto1::showState()
{
    const bool on = collecting();
    ui_->OKBtn1->setIcon(on ? RunPicture::stop(data_) : RunPicture::check(data_));
    ui_->OKBtn1->setText(on ? QStringLiteral("Stop") : QStringLiteral("Run"));
    ui_->Label2->setVisible(on);
}

int TListAuto1::ChkListItem(const QString &lowerAddress) const
{
    for (qsizetype i = 0; i < ListBox1.size(); ++i) {
        if (CaseFold::lower(ListBox1.at(i)) == lowerAddress)
            return int(i);
    }
    return -1;
}

void TListAuto1::CollectPage(const QString &address)
{
    if (collecting() && !address.isEmpty() && ChkListItem(CaseFold::lower(address)) == -1)
        ListBox1 << address;
}

bool TListAuto1::StoreCollected()
{
    // An empty collection would wipe the list's pages for nothing seen.
    if (chosenList_.isEmpty() || ListBox1.isEmpty())
        return false;
    TListStore &lists = data_.lists();
    if (lists.FindListNode(CaseFold::upper(chosenList_)) < 0) {
        ask_.error(QStringLiteral("The list \"%1\" is no longer there, so the %2 pages "
                                  "collected were not stored. They are kept until you choose "
                                  "a list.")
                       .arg(chosenList_)
                       .arg(ListBox1.size()));
        return false;
    }
    lists.ReplaceListPages(chosenList_, ListBox1);
    data_.noteListsChanged();
    return true;
}

void TListAuto1::programEnding()
{
    if (!collecting() || !StoreCollected())
        return;
    if (const auto error = data_.saveListDetails())
        ask_.error(*error);
}

void TListAuto1::CancelBtnClick()
{
    close();
}

void TListAuto1::HelpBtnClick()
{
    ::ShowHelp(kHelpPage);
}
