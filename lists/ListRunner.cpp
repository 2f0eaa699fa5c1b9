#include "lists/ListRunner.h"

#include "app/Ask.h"
#include "app/CaseFold.h"
#include "app/Logging.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "lists/ListStore.h"
#include "lists/RunPicture.h"
#include "ui_ListRunner.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>

namespace {

const QString kHelpPage = QStringLiteral("running_a_web_site_list.htm");
// How long after the last key a page waits: long enough to finish a word or an address.
constexpr int kTypingPauseMs = 4000;

} // namespace

TListRun1::TListRun1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), ask_(ask), ui_(std::make_unique<Ui::TListRun1>())
{
    ui_->setupUi(this);
    ui_->OKBtn1->setIcon(RunPicture::check(data_));
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(kTypingPauseMs);
    connect(Timer1, &QTimer::timeout, this, &TListRun1::Timer1Timer);
    connect(clock_, &QTimer::timeout, this, &TListRun1::showProgress);
    connect(typingPause_, &QTimer::timeout, this, &TListRun1::endTypingPause);
    connect(ui_->CMBLIST, &QComboBox::activated, this, &TListRun1::CMBLISTClick);
    connect(ui_->OKBtn1, &QAbstractButton::clicked, this, &TListRun1::OKBtn1Click);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TListRun1::CancelBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TListRun1::HelpBtnClick);
    connect(&data_, &ProgramData::settingsChanged, this, [this] {
        if (isVisible())
            InitColors();
    });
    // FormCreate
    ui_->Label2->hide();
    data_.globals().ListRunning = false;
    ui_->CMBINTV->setCurrentIndex(0);
    setFixedSize(size().expandedTo(minimumSizeHint()));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}

TListRun1::~TListRun1()
{
    if (running())
        qApp->removeEventFilter(this);
}

void TListRun1::FormShow()
{
    InitColors();
    LoadListChoices();
}

void TListRun1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    for (QComboBox *box : {ui_->CMBLIST, ui_->CMBINTV})
        ApplyScheme::applyListColors(box, g);
    for (QLabel *label : std::initializer_list<QLabel *>{ui_->Label1, ui_->Label2, ui_->Progress})
        ApplyScheme::setBold(label, g.BoldText);
}

int TListRun1::listRow(const QString &name) const
{
    const QStandardItemModel &model = *data_.lists().model();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (CaseFold::sameText(data_.lists().clickedListName(model.index(row, 0)), name))
            return row;
    }
    return -1;
}

void TListRun1::LoadListChoices()
{
    const QStandardItemModel &model = *data_.lists().model();
    ui_->CMBLIST->clear();
    for (int row = 0; row < model.rowCount(); ++row)
        ui_->CMBLIST->addItem(model.item(row)->text());
    const int row = chosenList_.isEmpty() ? -1 : listRow(chosenList_);
    ui_->CMBLIST->setCurrentIndex(row);
    if (row < 0 && !chosenList_.isEmpty()) {
        ask_.information(QStringLiteral("The list \"%1\" is no longer there.").arg(chosenList_));
        chosenList_.clear();
    }
}

void TListRun1::CMBLISTClick(int index)
{
    const QModelIndex node = data_.lists().model()->index(index, 0);
    if (!node.isValid())
        return;
    chosenList_ = data_.lists().clickedListName(node);
    ListBox1 = data_.lists().ListPages(chosenList_);
    showProgress();
}

int TListRun1::chosenInterval() const
{
    const QComboBox *box = ui_->CMBINTV;
    const int index = box->findText(box->currentText(), Qt::MatchExactly);
    return index >= 0 && index < int(IntervalSeconds.size()) ? index : -1;
}

bool TListRun1::running() const
{
    return data_.globals().ListRunning;
}

void TListRun1::OKBtn1Click()
{
    if (running())
        stopRun();
    else
        startRun();
}

void TListRun1::startRun()
{
    ui_->OKBtn1->setIcon(RunPicture::stop(data_));
    ui_->OKBtn1->setText(QStringLiteral("Stop"));
    data_.globals().ListRunning = true;
    ui_->Label2->show();
    qApp->installEventFilter(this);
    Timer1->start();
    clock_->start();
    showProgress();
    qCInfo(lcLists, "Running the list \"%s\" of %d pages", qPrintable(chosenList_),
           int(ListBox1.size()));
}

void TListRun1::stopRun()
{
    ui_->OKBtn1->setIcon(RunPicture::check(data_));
    ui_->OKBtn1->setText(QStringLiteral("Run"));
    data_.globals().ListRunning = false;
    ui_->Label2->hide();
    qApp->removeEventFilter(this);
    Timer1->stop();
    clock_->stop();
    endTypingPause();
    PagePosition = 0;
    Timer1->setInterval(IntervalSeconds[0] * 1000);
    ui_->CMBINTV->setCurrentIndex(0);
    showProgress();
}

void TListRun1::Timer1Timer()
{
    // Opening a page can run the event loop (a window closing, a question); a tick that comes
    // meanwhile must not open a second page at the same position.
    if (!running() || ticking_ || typing_)
        return;
    const QScopedValueRollback guard(ticking_, true);
    if (PagePosition < ListBox1.size())
        showNextPage();
    else if (ui_->CHKCONTRUN->isChecked())
        PagePosition = 0;
    else
        endRun();
    showProgress();
}

void TListRun1::endRun()
{
    stopRun();
    qCInfo(lcLists, "The list run ended after its last page");
}

void TListRun1::showNextPage()
{
    data_.globals().ListNavigation = true;
    if (!ui_->CHKNEWIN->isChecked())
        emit closeListWindowRequested();
    ::OpenPage(ListBox1.at(PagePosition));
    ++PagePosition;
    qCInfo(lcLists, "Showing page %d of %d", PagePosition, int(ListBox1.size()));
    const int interval = chosenInterval();
    if (interval >= 0)
        Timer1->setInterval(IntervalSeconds[interval] * 1000);
    // The next page is a whole interval away from this one.
    if (running())
        Timer1->start();
}

void TListRun1::CancelBtnClick()
{
    close();
}

void TListRun1::HelpBtnClick()
{
    ::ShowHelp(kHelpPage);
}

bool TListRun1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        noteTyping(watched, static_cast<QKeyEvent *>(event));
    return TDialogForm::eventFilter(watched, event);
}

void TListRun1::noteTyping(QObject *receiver, const QKeyEvent *key)
{
    const auto *widget = qobject_cast<const QWidget *>(receiver);
    // Keys in the runner itself are the user working the show, not typing into a page.
    if (!widget || widget->window() == this)
        return;
    const bool edits = !key->text().trimmed().isEmpty() || key->key() == Qt::Key_Backspace ||
                       key->key() == Qt::Key_Delete || key->key() == Qt::Key_Space;
    if (!edits)
        return;
    typing_ = true;
    typingPause_->start();
    showProgress();
}

void TListRun1::endTypingPause()
{
    typingPause_->stop();
    typing_ = false;
    showProgress();
}

QString TListRun1::progressText() const
{
    if (!running())
        return QString();
    const qsizetype count = ListBox1.size();
    if (count == 0)
        return QStringLiteral("No pages to show");
    const QString page = QStringLiteral("Page %1 of %2").arg(PagePosition).arg(count);
    if (typing_)
        return page + QStringLiteral(", waiting while you type");
    const int seconds = (qMax(Timer1->remainingTime(), 0) + 999) / 1000;
    if (PagePosition == 0)
        return QStringLiteral("First page in %1 s").arg(seconds);
    if (PagePosition >= count && !ui_->CHKCONTRUN->isChecked())
        return page + QStringLiteral(", the end in %1 s").arg(seconds);
    return page + QStringLiteral(", next in %1 s").arg(seconds);
}

void TListRun1::showProgress()
{
    ui_->Progress->setText(progressText());
}
