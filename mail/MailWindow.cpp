#include "mail/MailWindow.h"

#include "app/Ask.h"
#include "app/Logging.h"
#include "app/Navigation.h"
#include "app/PictureTable.h"
#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "controls/ApplyScheme.h"
#include "controls/ThemeIcon.h"
#include "mail/AddressBookDialog.h"
#include "mail/EMailLog.h"
#include "mail/MailAccount.h"
#include "mail/MailAccountDialog.h"
#include "mail/MailMessages.h"
#include "mail/MailSession.h"
#include "mail/PasswordStore.h"
#include "mail/SafeFileName.h"
#include "mail/ToAddresses.h"
#include "mail/ZipExtractor.h"
#include "mail/ZipMaker.h"
#include "ui_MailWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QtConcurrent>

namespace {

const QString Cancelled = QStringLiteral("Cancelled.");
const int UidRole = Qt::UserRole + 1;

// Runs work on the thread pool and hands its result to done on the window's thread.
template <typename Result>
void runOffThread(QObject *owner, std::function<Result()> work, std::function<void(Result)> done)
{
    auto *watcher = new QFutureWatcher<Result>(owner);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, owner, [watcher, done] {
        done(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

} // namespace

TEMail1::TEMail1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowMinMaxButtonsHint |
                              Qt::WindowCloseButtonHint),
      data_(data), ask_(ask), ui_(std::make_unique<Ui::TEMail1>())
{
    ui_->setupUi(this);
    move(25, 50);
    messages_ = new MailMessages(&data_.mailSession(), this);
    accountDialog_ = new TMailAcct1(data_, ask_, this);
    ui_->ListBox2->setModel(data_.emailLog().model());
    ui_->TreeView1->setIconSize(QSize(PictureTable::Size, PictureTable::Size));
    setUpButtons();
    makePopupMenu();
    connectControls();
    connectMail();
}

TEMail1::~TEMail1() = default;

void TEMail1::setUpButtons()
{
    const struct
    {
        QAbstractButton *button;
        const char *icon;
        QStyle::StandardPixmap fallback;
    } pictures[] = {
        {ui_->RecvBtn, "mail-receive", QStyle::SP_ArrowDown},
        {ui_->SendBtn, "mail-send", QStyle::SP_ArrowUp},
        {ui_->SRModeBtn, "mail-send-receive", QStyle::SP_BrowserReload},
        {ui_->ForwardBtn, "mail-forward", QStyle::SP_ArrowForward},
        {ui_->ReplyBtn, "mail-reply-sender", QStyle::SP_ArrowBack},
        {ui_->AllToBtn, "list-add", QStyle::SP_DialogYesButton},
        {ui_->AddrBtn, "x-office-address-book", QStyle::SP_FileDialogContentsView},
        {ui_->AddrAddBtn, "contact-new", QStyle::SP_FileDialogNewFolder},
        {ui_->GoBtn, "go-jump", QStyle::SP_CommandLink},
        {ui_->HelpBtn, "help-contents", QStyle::SP_DialogHelpButton},
        {ui_->OpnMsgBtn, "document-open", QStyle::SP_DialogOpenButton},
        {ui_->OpenAttBtn, "mail-attachment", QStyle::SP_FileIcon},
        {ui_->EMLogBtn, "view-list-text", QStyle::SP_FileDialogDetailedView},
    };
    for (const auto &p : pictures)
        p.button->setIcon(ThemeIcon::themed(p.icon, p.fallback));
    for (TGlowButton *button : ui_->ToolBar1->findChildren<TGlowButton *>())
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ui_->HelpBtn->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TEMail1::connectControls()
{
    connect(ui_->RecvBtn, &QAbstractButton::clicked, this, &TEMail1::RecvBtnClick);
    connect(ui_->SendBtn, &QAbstractButton::clicked, this, &TEMail1::SendBtnClick);
    connect(ui_->SRModeBtn, &QAbstractButton::clicked, this, &TEMail1::SRModeBtnClick);
    connect(ui_->ForwardBtn, &QAbstractButton::clicked, this, &TEMail1::ForwardBtnClick);
    connect(ui_->ReplyBtn, &QAbstractButton::clicked, this, &TEMail1::ReplyBtnClick);
    connect(ui_->AllToBtn, &QAbstractButton::clicked, this, &TEMail1::AllToBtnClick);
    connect(ui_->AddrBtn, &QAbstractButton::clicked, this, &TEMail1::AddrBtnClick);
    connect(ui_->AddrAddBtn, &QAbstractButton::clicked, this, &TEMail1::AddrAddBtnClick);
    connect(ui_->GoBtn, &QAbstractButton::clicked, this, &TEMail1::GoBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TEMail1::HelpBtnClick);
    connect(ui_->OpnMsgBtn, &QAbstractButton::clicked, this, &TEMail1::OpnMsgBtnClick);
    connect(ui_->OpenAttBtn, &QAbstractButton::clicked, this, &TEMail1::OpenAttBtnClick);
    connect(ui_->EMLogBtn, &QAbstractButton::clicked, this, &TEMail1::EMLogBtnClick);
    connect(ui_->CancelBtn, &QAbstractButton::clicked, this, &TEMail1::CancelBtnClick);
    connect(ui_->AcctBtn, &QAbstractButton::clicked, this, &TEMail1::AcctBtnClick);
    connect(ui_->ListBox1, &QListWidget::itemDoubleClicked, this, &TEMail1::ListBox1DblClick);
    // The tree expands the node that gets selected, so a branch opens as it is chosen.
    connect(ui_->TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) {
                if (current)
                    current->setExpanded(true);
                if (!LoadingTree)
                    ShowSelectedMessage();
            });
    // A click on the node already selected shows its message again; a click that moves the
    // selection is shown through the change above.
    connect(ui_->TreeView1, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem *item) {
        if (item == ui_->TreeView1->currentItem() && !LoadingTree)
            ShowSelectedMessage();
    });
    connect(ui_->TreeView1, &QTreeWidget::itemDoubleClicked, this, &TEMail1::Text5DblClick);
    for (QObject *watched :
         {static_cast<QObject *>(ui_->TreeView1), static_cast<QObject *>(ui_->ListBox1),
          static_cast<QObject *>(ui_->ListBox2), static_cast<QObject *>(ui_->Text5),
          static_cast<QObject *>(ui_->Frame1)})
        watched->installEventFilter(this);
    connect(&data_, &ProgramData::settingsChanged, this, &TEMail1::InitColors);
    connect(accountDialog_, &TMailAcct1::accountChanged, this, [this] {
        if (data_.mailSession().SessionID() != 0)
            data_.mailSession().SignOff();
        OpenSessionId = -1;
    });
}

void TEMail1::connectMail()
{
    MailSession &session = data_.mailSession();
    data_.passwords().setAsk([this](const QString &accountKey) {
        return ask_.password(
            QStringLiteral("The password of the EMail account %1:").arg(accountKey));
    });
    session.setCertificateQuestion(
        [this](const QString &question) { return ask_.question(question); });
    connect(&session, &MailSession::signedOn, this, &TEMail1::signedOn);
    connect(&session, &MailSession::signOnFailed, this, &TEMail1::signOnFailed);
    connect(messages_, &MailMessages::fetched, this, &TEMail1::fetched);
    connect(messages_, &MailMessages::downloaded, this, [this](int index) {
        if (step_ == Step::Download && index == messages_->MsgIndex())
            fillMessage();
    });
    connect(messages_, &MailMessages::sent, this, &TEMail1::messageSent);
    connect(messages_, &MailMessages::deleted, this, &TEMail1::messageDeleted);
    connect(messages_, &MailMessages::failed, this, &TEMail1::mailFailed);
}

void TEMail1::makePopupMenu()
{
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    const struct
    {
        const char *name;
        const char *text;
        QKeySequence::StandardKey key;
        void (TEMail1::*slot)();
    } items[] = {{"Copy1", "Copy", QKeySequence::Copy, &TEMail1::Copy1Click},
                 {"Cut1", "Cut", QKeySequence::Cut, &TEMail1::Cut1Click},
                 {"Paste1", "Paste", QKeySequence::Paste, &TEMail1::Paste1Click}};
    for (const auto &item : items) {
        QAction *action = popupMenu_->addAction(QString::fromLatin1(item.text), this, item.slot);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.key);
        editActions_ << action;
    }
    for (QWidget *edit : {static_cast<QWidget *>(ui_->Text2), static_cast<QWidget *>(ui_->Text3),
                          static_cast<QWidget *>(ui_->Text4), static_cast<QWidget *>(ui_->Text5)}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint &at) {
            popupTarget_ = edit;
            popupMenu_->popup(edit->mapToGlobal(at));
        });
    }
}

void TEMail1::setAddressBook(TMailAddr1 *book)
{
    addressBook_ = book;
    if (book)
        book->attachMailWindow(ui_->CMBTOADR, editActions_);
}

// ---- showing, closing, colours

void TEMail1::FormShow()
{
    InitColors();
    const QString mode = data_.globals().MailMode;
    if (mode == QLatin1String("S"))
        ui_->SRModeBtn->setChecked(true);
    else if (mode == QLatin1String("R"))
        ui_->SRModeBtn->setChecked(false);
    SRModeBtnClick();
    ShowingAttachments = true;
    ui_->ListBox1->show();
    ui_->ListBox2->hide();
    LoadingTree = false;
    if (!data_.globals().FromAddress.trimmed().isEmpty())
        ui_->Text2->setText(data_.globals().FromAddress);
    addSavedAddresses();
    GetEMailLog();
    // Once the window is up, so that a password question or the account dialog stands over it.
    QTimer::singleShot(0, this, &TEMail1::LoadMessageTree);
}

void TEMail1::addSavedAddresses()
{
    for (const QString &address : std::as_const(data_.globals().ToAddresses)) {
        if (address.trimmed().isEmpty())
            continue;
        if (ui_->CMBTOADR->findText(address, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
            const QString typed = ui_->CMBTOADR->currentText();
            ui_->CMBTOADR->addItem(address);
            // Adding the first item would otherwise make it the To text.
            ui_->CMBTOADR->setEditText(typed);
        }
    }
}

void TEMail1::GetEMailLog()
{
    if (const auto error = data_.emailLog().GetEMailLog())
        ask_.error(QStringLiteral("The EMail Log could not be read.\n") + *error);
}

void TEMail1::done(int result)
{
    FormClose();
    TDialogForm::done(result);
}

void TEMail1::FormClose()
{
    if (const auto error = data_.emailLog().BuildEMailLog())
        ask_.error(QStringLiteral("The EMail Log could not be saved.\n") + *error);
    if (isBusy()) {
        ++generation_;
        data_.mailSession().Cancel();
        endSteps(Cancelled);
    }
    MailSession &session = data_.mailSession();
    if (session.SessionID() != 0)
        session.SignOff();
    session.setNewSession(false);
    messages_->setSessionID(-1);
    OpenSessionId = -1;
}

void TEMail1::FormResize()
{
    const int width = ui_->Frame1->width() - 342;
    for (QWidget *w : {static_cast<QWidget *>(ui_->CMBTOADR), static_cast<QWidget *>(ui_->Text2),
                       static_cast<QWidget *>(ui_->Text3), static_cast<QWidget *>(ui_->Text4),
                       static_cast<QWidget *>(ui_->Text5), static_cast<QWidget *>(ui_->ListBox1),
                       static_cast<QWidget *>(ui_->ListBox2)})
        w->resize(width, w->height());
}

void TEMail1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    for (QWidget *list :
         {static_cast<QWidget *>(ui_->TreeView1), static_cast<QWidget *>(ui_->ListBox1),
          static_cast<QWidget *>(ui_->ListBox2), static_cast<QWidget *>(ui_->CMBTOADR)})
        ApplyScheme::applyListColors(list, g);
    for (QWidget *entry : {static_cast<QWidget *>(ui_->Text2), static_cast<QWidget *>(ui_->Text3),
                           static_cast<QWidget *>(ui_->Text4), static_cast<QWidget *>(ui_->Text5)})
        ApplyScheme::applyEntryColors(entry, g);
    ApplyScheme::setFontColor(ui_->CHKOMITZIP, TSchemeColor(g.SelectTextColor));
    for (QWidget *w :
         {static_cast<QWidget *>(ui_->Label1), static_cast<QWidget *>(ui_->Label2),
          static_cast<QWidget *>(ui_->Label3), static_cast<QWidget *>(ui_->Label4),
          static_cast<QWidget *>(ui_->Label5), static_cast<QWidget *>(ui_->Label6),
          static_cast<QWidget *>(ui_->Label7), static_cast<QWidget *>(ui_->CHKOMITZIP)})
        ApplyScheme::setBold(w, g.BoldText);
}

// ---- the mode

bool TEMail1::inSendMode() const
{
    return ui_->SRModeBtn->isChecked();
}

void TEMail1::SRModeBtnClick()
{
    if (inSendMode()) {
        ui_->SRModeBtn->setText(QStringLiteral("Send"));
        ui_->OpenAttBtn->setEnabled(true);
        PreparetoSend();
        return;
    }
    ui_->ListBox1->clear();
    ui_->SRModeBtn->setText(QStringLiteral("Recv"));
    ui_->OpenAttBtn->setEnabled(false);
}

// The sign-on waits for the first command that needs the mail server, so that entering send
// mode never stalls on a slow server.
void TEMail1::PreparetoSend()
{
    if (!data_.globals().FromAddress.trimmed().isEmpty())
        ui_->Text2->setText(data_.globals().FromAddress);
    ui_->Text3->clear();
    ui_->Text4->clear();
    ui_->Text5->clear();
    ui_->CMBTOADR->setEditText(QString());
    ui_->CMBTOADR->setFocus();
    messages_->Compose();
}

// ---- network steps

void TEMail1::beginStep(Step step, const QString &status)
{
    step_ = step;
    ui_->StatusText->setText(status);
    ui_->Progress1->show();
    ui_->CancelBtn->show();
    for (QWidget *w :
         {static_cast<QWidget *>(ui_->RecvBtn), static_cast<QWidget *>(ui_->SendBtn),
          static_cast<QWidget *>(ui_->SRModeBtn), static_cast<QWidget *>(ui_->ReplyBtn),
          static_cast<QWidget *>(ui_->ForwardBtn), static_cast<QWidget *>(ui_->AcctBtn)})
        w->setEnabled(false);
}

void TEMail1::endSteps(const QString &status)
{
    step_ = Step::None;
    LoadingTree = false;
    afterSignOn_ = nullptr;
    ui_->StatusText->setText(status);
    ui_->Progress1->hide();
    ui_->CancelBtn->hide();
    for (QWidget *w :
         {static_cast<QWidget *>(ui_->RecvBtn), static_cast<QWidget *>(ui_->SendBtn),
          static_cast<QWidget *>(ui_->SRModeBtn), static_cast<QWidget *>(ui_->ReplyBtn),
          static_cast<QWidget *>(ui_->ForwardBtn), static_cast<QWidget *>(ui_->AcctBtn)})
        w->setEnabled(true);
    emit idle();
}

void TEMail1::fail(const QString &message, const QString &context)
{
    qCInfo(lcMail) << "mail step failed:" << context << message;
    if (message == Cancelled) {
        endSteps(Cancelled);
        return;
    }
    const QString text = context.isEmpty() ? message : context + u'\n' + message;
    endSteps(QStringLiteral("Not done: ") + text.section(u'\n', 0, 0));
    ask_.error(text);
}

void TEMail1::CancelBtnClick()
{
    if (!isBusy())
        return;
    // The mail thread answers a cancelled step with a failure; a zip or unzip just runs out
    // and its result is dropped.
    data_.mailSession().Cancel();
    if (step_ == Step::Zip || step_ == Step::Extract) {
        ++generation_;
        if (step_ == Step::Zip)
            finishSending();
        endSteps(Cancelled);
    }
}

void TEMail1::withSession(std::function<void()> next)
{
    MailSession &session = data_.mailSession();
    if (session.SessionID() != 0 && session.SessionID() == OpenSessionId) {
        next();
        return;
    }
    if (!MailAccount::load(data_.appDir()).isComplete() &&
        accountDialog_->openModal() != QDialog::Accepted) {
        endSteps(QStringLiteral("No EMail account is set up."));
        return;
    }
    afterSignOn_ = std::move(next);
    beginStep(Step::SignOn, QStringLiteral("Signing on to the mail server..."));
    session.SignOn();
}

void TEMail1::signedOn(qint64 sessionId)
{
    if (step_ != Step::SignOn)
        return;
    OpenSessionId = sessionId;
    data_.mailSession().setNewSession(true);
    messages_->setSessionID(sessionId);
    const auto next = std::move(afterSignOn_);
    afterSignOn_ = nullptr;
    if (next)
        next();
}

void TEMail1::signOnFailed(const QString &message)
{
    if (step_ != Step::SignOn)
        return;
    OpenSessionId = -1;
    fail(message, QStringLiteral("Could not sign on to the mail server."));
}

void TEMail1::mailFailed(MailOperation operation, const QString &message)
{
    switch (operation) {
    case MailOperation::Fetch:
        if (step_ == Step::FetchUnread || step_ == Step::FetchAll) {
            OpenSessionId = -1;
            fail(message, QStringLiteral("The messages could not be fetched."));
        }
        return;
    case MailOperation::Download:
        if (step_ == Step::Download)
            fail(message, QStringLiteral("The message could not be fetched."));
        return;
    case MailOperation::Send:
        if (step_ == Step::Send)
            finishSending();
        if (step_ == Step::Send || step_ == Step::Reply)
            fail(message);
        return;
    case MailOperation::Delete:
        if (step_ == Step::Delete)
            fail(message, QStringLiteral("The message was not deleted."));
        return;
    case MailOperation::MarkRead:
    case MailOperation::SignOn:
        qCWarning(lcMail) << "mail step failed:" << message;
        return;
    }
}

// ---- receiving

void TEMail1::RecvBtnClick()
{
    ui_->SRModeBtn->setText(QStringLiteral("Recv"));
    ui_->SRModeBtn->setChecked(false);
    ui_->OpenAttBtn->setEnabled(false);
    LoadMessageTree();
}

void TEMail1::LoadMessageTree()
{
    if (isBusy())
        return;
    LoadingTree = true;
    ui_->ListBox1->clear();
    extractionFolder_.clear();
    QTreeWidget *tree = ui_->TreeView1;
    tree->clear();
    const struct
    {
        const char *text;
        int picture;
    } roots[] = {{"InBox", PictureTable::InBoxNode},
                 {"UnRead", PictureTable::UnReadNode},
                 {"Sent Messages", PictureTable::MessageNode}};
    for (const auto &root : roots) {
        auto *item = new QTreeWidgetItem(tree, {QString::fromLatin1(root.text)});
        item->setIcon(0, PictureTable::icon(PictureTable::MailPictures, root.picture));
    }
    withSession([this] {
        beginStep(Step::FetchUnread, QStringLiteral("Looking for unread messages..."));
        messages_->setFetchUnreadOnly(true);
        messages_->Fetch();
    });
}

void TEMail1::fetched(int)
{
    QTreeWidget *tree = ui_->TreeView1;
    if (step_ == Step::FetchUnread) {
        addMessageNodes(tree->topLevelItem(1), PictureTable::UnreadMessage);
        beginStep(Step::FetchAll, QStringLiteral("Fetching the list of messages..."));
        messages_->setFetchUnreadOnly(false);
        messages_->Fetch();
        return;
    }
    if (step_ != Step::FetchAll)
        return;
    addMessageNodes(tree->topLevelItem(0), PictureTable::MessageNode);
    tree->topLevelItem(0)->setExpanded(true);
    tree->setCurrentItem(tree->topLevelItem(2));
    LoadingTree = false;
    const QString status = QStringLiteral("%1 messages.").arg(messages_->MsgCount());
    // In send mode the fields hold the message being written, not the last one received.
    if (inSendMode() || messages_->MsgCount() == 0) {
        endSteps(status);
        return;
    }
    messages_->setMsgIndex(messages_->MsgCount() - 1);
    GetMessage();
}

void TEMail1::addMessageNodes(QTreeWidgetItem *root, int picture)
{
    for (int i = 0; i < messages_->MsgCount(); ++i) {
        messages_->setMsgIndex(i);
        auto *item = new QTreeWidgetItem(root, {messages_->MsgOrigDisplayName() +
                                                QStringLiteral(" | ") + messages_->MsgSubject()});
        item->setIcon(0, PictureTable::icon(PictureTable::MailPictures, picture));
        item->setData(0, UidRole, messages_->msgUid());
    }
}

int TEMail1::absolutePosition(QTreeWidgetItem *item) const
{
    const QTreeWidget *tree = ui_->TreeView1;
    QTreeWidgetItem *root = item->parent() ? item->parent() : item;
    int position = 0;
    for (int i = 0; i < tree->indexOfTopLevelItem(root); ++i)
        position += 1 + tree->topLevelItem(i)->childCount();
    return item->parent() ? position + 1 + root->indexOfChild(item) : position;
}

void TEMail1::ShowSelectedMessage()
{
    QTreeWidgetItem *item = ui_->TreeView1->currentItem();
    if (!item || (isBusy() && step_ != Step::Download && step_ != Step::Extract))
        return;
    const int k = absolutePosition(item);
    if (k < 1)
        return;
    if (k <= messages_->MsgCount())
        messages_->setMsgIndex(k - 1);
    ++generation_;
    GetMessage();
}

void TEMail1::GetMessage()
{
    ui_->Label7->setVisible(true);
    const int index = messages_->MsgIndex();
    if (index < 0) {
        endSteps(QString());
        return;
    }
    if (messages_->msgDownloaded()) {
        fillMessage();
        return;
    }
    beginStep(Step::Download, QStringLiteral("Fetching the message..."));
    messages_->Download(index);
}

void TEMail1::fillMessage()
{
    MailMessages &m = *messages_;
    ui_->CMBTOADR->setEditText(m.RecipAddress());
    ui_->Text2->setText(m.MsgOrigAddress());
    ui_->Text3->setText(m.MsgSubject());
    ui_->Text4->setPlainText(m.MsgNoteText());
    ui_->Label7->setText(m.MsgDateReceived());
    ui_->Text5->clear();
    ui_->ListBox1->clear();
    extractionFolder_.clear();
    if (m.msgUnread())
        m.MarkRead(m.MsgIndex());
    if (m.AttachmentCount() > 0) {
        listAttachments();
        return;
    }
    endSteps(QString());
}

void TEMail1::listAttachments()
{
    MailMessages &m = *messages_;
    ui_->Label7->setText(m.MsgDateReceived() + QStringLiteral(" - Attachments - "));
    ui_->Text5->setText(m.AttachmentPathName());
    const QString path = m.AttachmentPathName().trimmed();
    const int slash = path.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : path.left(slash);
    const QString name = path.mid(slash + 1);
    const int dot = name.indexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : QString();
    const QString extractTo = base.isEmpty() ? folder : folder + u'/' + base;
    if (!QFileInfo(extractTo).isDir() && !QDir().mkdir(extractTo)) {
        endSteps(QStringLiteral("The folder %1 could not be made.").arg(extractTo));
        return;
    }
    const int extDot = name.lastIndexOf(u'.');
    if (extDot >= 0 && name.mid(extDot).toUpper() == QLatin1String(".ZIP")) {
        unpack(path, extractTo);
        return;
    }
    for (int i = 0; i < m.AttachmentCount(); ++i) {
        m.setAttachmentIndex(i);
        ui_->ListBox1->addItem(m.AttachmentPathName());
    }
    m.setAttachmentIndex(0);
    endSteps(QString());
}

void TEMail1::unpack(const QString &zipPath, const QString &folder)
{
    beginStep(Step::Extract, QStringLiteral("Unpacking %1...").arg(QFileInfo(zipPath).fileName()));
    const quint64 generation = ++generation_;
    runOffThread<ZipExtractor::Result>(
        this, [zipPath, folder] { return ZipExtractor().extract(zipPath, folder); },
        [this, generation, folder](const ZipExtractor::Result &result) {
            if (generation != generation_)
                return;
            extractionFolder_ = folder;
            ui_->ListBox1->addItems(QDir(folder).entryList(QDir::Files, QDir::Name));
            if (result.error) {
                fail(*result.error, QStringLiteral("The Zip File was not fully unpacked."));
                return;
            }
            endSteps(result.refused.isEmpty() ? QString()
                                              : QStringLiteral("Left out of the Zip File: ") +
                                                    result.refused.join(QStringLiteral(", ")));
        });
}

// ---- sending

QStringList TEMail1::attachments() const
{
    QStringList files;
    for (int i = 0; i < ui_->ListBox1->count(); ++i)
        files << ui_->ListBox1->item(i)->text();
    return files;
}

void TEMail1::SendBtnClick()
{
    ui_->OpenAttBtn->setEnabled(true);
    if (isBusy())
        return;
    const QStringList recipients = ToAddresses::sendList(ui_->CMBTOADR->currentText());
    if (recipients.isEmpty()) {
        ui_->StatusText->setText(QStringLiteral("There is no To Address to send to."));
        return;
    }
    const QStringList files = attachments();
    withSession([this, recipients, files] { startSending(recipients, files); });
}

void TEMail1::startSending(const QStringList &recipients, const QStringList &files)
{
    sendQueue_ = recipients;
    sendFiles_ = files;
    sentTo_.clear();
    MailMessages &m = *messages_;
    m.Compose();
    m.setSenderAddress(ui_->Text2->text());
    m.setMsgSubject(ui_->Text3->text());
    m.setMsgNoteText(ui_->Text4->toPlainText());
    if (files.isEmpty()) {
        sendNext();
        return;
    }
    if (ui_->CHKOMITZIP->isChecked()) {
        for (int i = 0; i < files.size(); ++i) {
            m.setAttachmentIndex(i);
            m.setAttachmentPathName(files.at(i));
        }
        sendNext();
        return;
    }
    const QString zipPath = zipNameFor(files);
    beginStep(Step::Zip, QStringLiteral("Making the Zip File %1...").arg(zipPath));
    const quint64 generation = ++generation_;
    runOffThread<std::optional<QString>>(
        this, [files, zipPath] { return ZipMaker::MakeZipFile(files, zipPath); },
        [this, generation, zipPath](const std::optional<QString> &error) {
            if (generation != generation_)
                return;
            if (error) {
                fail(*error, QStringLiteral("The Zip File %1 could not be made.").arg(zipPath));
                return;
            }
            messages_->setAttachmentIndex(0);
            messages_->setAttachmentType(1);
            messages_->setAttachmentPathName(zipPath);
            sendNext();
        });
}

// A derived name never lands on a file that is being sent: the archive would replace it.
QString TEMail1::zipNameFor(const QStringList &files)
{
    if (ZipFileName.trimmed().isEmpty()) {
        const QString derived = ZipMaker::deriveZipName(files.first());
        const QFileInfo info(derived);
        const QString folder = info.path();
        const QString name = SafeFileName::numbered(info.fileName(), [&](const QString &candidate) {
            return files.contains(folder + u'/' + candidate);
        });
        ZipFileName = folder + u'/' + name;
    }
    return ZipFileName;
}

void TEMail1::sendNext()
{
    if (sendQueue_.isEmpty()) {
        finishSending();
        endSteps(QStringLiteral("Sent to %1.").arg(sentTo_.join(QStringLiteral(", "))));
        return;
    }
    recipient_ = sendQueue_.takeFirst();
    messages_->setRecipAddress(recipient_);
    messages_->setRecipDisplayName(recipient_);
    beginStep(Step::Send, QStringLiteral("Sending to %1...").arg(recipient_));
    messages_->Send();
}

void TEMail1::messageSent()
{
    if (step_ == Step::Reply) {
        endSteps(QStringLiteral("Sent to %1.").arg(recipient_));
        return;
    }
    if (step_ != Step::Send)
        return;
    sentTo_ << recipient_;
    sendNext();
}

// The log names the recipients whose message went, and only those.
void TEMail1::finishSending()
{
    if (!sendFiles_.isEmpty() && !sentTo_.isEmpty())
        data_.emailLog().addSent(sendFiles_, sentTo_);
    sendFiles_.clear();
    sendQueue_.clear();
    sentTo_.clear();
}

void TEMail1::ReplyBtnClick()
{
    sendReply(ui_->Text2->text());
}

void TEMail1::ForwardBtnClick()
{
    sendReply(ui_->CMBTOADR->currentText());
}

void TEMail1::sendReply(const QString &address)
{
    if (isBusy() || data_.mailSession().SessionID() == 0 || messages_->MsgCount() == 0)
        return;
    MailMessages &m = *messages_;
    m.Compose();
    m.setSenderAddress(data_.globals().FromAddress);
    m.setRecipAddress(address);
    m.setRecipDisplayName(address);
    m.setMsgSubject(ui_->Text3->text());
    m.setMsgNoteText(ui_->Text4->toPlainText());
    recipient_ = address;
    beginStep(Step::Reply, QStringLiteral("Sending to %1...").arg(address));
    m.Send();
}

int TEMail1::ToAddressIndex(const QString &address) const
{
    return ToAddresses::ToAddressIndex(ui_->CMBTOADR->currentText(), address);
}

void TEMail1::AllToBtnClick()
{
    for (int i = 0; i < ui_->CMBTOADR->count(); ++i) {
        const QString entry = ui_->CMBTOADR->itemText(i);
        if (ToAddressIndex(entry) == -1)
            ui_->CMBTOADR->setEditText(ToAddresses::appended(ui_->CMBTOADR->currentText(), entry));
    }
}

// ---- files and lists

void TEMail1::OpenAttBtnClick()
{
    const QStringList files = attachments();
    const QString folder = files.isEmpty() ? QDir::homePath() : QFileInfo(files.last()).path();
    const QString path =
        ask_.openFile(QStringLiteral("Find Files and Add to Attachment List"), folder, {});
    if (!path.isEmpty())
        ui_->ListBox1->addItem(QFileInfo(path).absoluteFilePath());
}

void TEMail1::OpnMsgBtnClick()
{
    const QString path = ask_.openFile(
        QStringLiteral("Find Text File to Send as Message"), QDir::homePath(),
        {QStringLiteral("Text Files (*.txt *.Txt *.TXT)"), QStringLiteral("All Files (*)")});
    if (path.isEmpty())
        return;
    const TextFile::BytesResult read = TextFile::readBytes(path);
    if (read.error || !read.exists) {
        ask_.error(QStringLiteral("The file %1 could not be read.\n%2")
                       .arg(path, read.error.value_or(QStringLiteral("It is missing."))));
        return;
    }
    ui_->Text4->setPlainText(TextFile::decode(read.bytes));
}

void TEMail1::Text5DblClick()
{
    const QStringList files = attachments();
    const QString proposed = !ZipFileName.isEmpty() ? ZipFileName
                             : files.isEmpty()      ? QDir::homePath()
                                                    : QFileInfo(files.first()).path();
    const QString chosen =
        ask_.saveFile(QStringLiteral("Zip File to Send"), proposed,
                      {QStringLiteral("Zip Files (*.Zip *.zip)"), QStringLiteral("All Files (*)")});
    if (chosen.isEmpty())
        return;
    const QString name = chosen.section(u'/', -1);
    const int dot = name.lastIndexOf(u'.');
    const bool zip = dot >= 0 && name.mid(dot).toUpper() == QLatin1String(".ZIP");
    ui_->Text5->setText(zip ? chosen : chosen + QStringLiteral(".Zip"));
    ZipFileName = ui_->Text5->text();
}

void TEMail1::EMLogBtnClick()
{
    ui_->ListBox1->setVisible(!ShowingAttachments);
    ui_->ListBox2->setVisible(ShowingAttachments);
    ShowingAttachments = !ShowingAttachments;
}

void TEMail1::listKeyDelete(bool logList)
{
    if (logList) {
        const QModelIndex current = ui_->ListBox2->currentIndex();
        if (!current.isValid() || !ui_->ListBox2->selectionModel()->isSelected(current))
            return;
        if (ask_.question(QStringLiteral("Do You want to Delete the EMail Log - ") +
                          current.data().toString() + u'?'))
            data_.emailLog().remove(current.row());
        return;
    }
    QListWidgetItem *item = ui_->ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    if (ask_.question(QStringLiteral("Do You want to Delete the Attachment - ") + item->text() +
                      u'?'))
        delete item;
}

// Bare names of unpacked files are found in the folder they were unpacked into.
void TEMail1::ListBox1DblClick()
{
    QListWidgetItem *item = ui_->ListBox1->currentItem();
    if (ui_->ListBox1->count() == 0 || !item || !item->isSelected())
        return;
    const QString entry = item->text();
    ui_->ListBox1->setToolTip(entry);
    const bool bare = QFileInfo(entry).isRelative() && !extractionFolder_.isEmpty();
    emit openPageRequested(bare ? QDir(extractionFolder_).filePath(entry) : entry);
}

void TEMail1::GoBtnClick()
{
    emit openPageRequested(ui_->Text4->textCursor().selectedText().trimmed());
}

void TEMail1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("sending files over the internet.htm"));
}

void TEMail1::AddrBtnClick()
{
    if (addressBook_)
        addressBook_->AddrBtnClick();
}

void TEMail1::AddrAddBtnClick()
{
    if (addressBook_)
        addressBook_->AddrAddBtnClick(messages_->MsgCount(), messages_->MsgOrigDisplayName(),
                                      ui_->Text2->text());
}

void TEMail1::AcctBtnClick()
{
    accountDialog_->openModal();
}

// ---- deleting a message

// A node under UnRead stands for its message by the server's name for it, so Delete removes
// that message and never the one whose InBox position happens to match.
void TEMail1::treeKeyDelete()
{
    QTreeWidgetItem *item = ui_->TreeView1->currentItem();
    if (!item || !item->parent() || isBusy())
        return;
    MailMessages &m = *messages_;
    const QString uid = item->data(0, UidRole).toString();
    int index = -1;
    for (int i = 0; i < m.MsgCount() && index < 0; ++i) {
        m.setMsgIndex(i);
        if (m.msgUid() == uid)
            index = i;
    }
    if (index < 0) {
        ask_.information(QStringLiteral("This message is no longer in the InBox. Press Receive "
                                        "to see the messages as they are now."));
        return;
    }
    m.setMsgIndex(index);
    if (!ask_.question(QStringLiteral("Do You want to Delete the Message - ") + m.MsgOrigAddress() +
                       m.MsgSubject() + u'?'))
        return;
    deleteUid_ = uid;
    beginStep(Step::Delete, QStringLiteral("Deleting the message..."));
    m.Delete();
}

void TEMail1::messageDeleted()
{
    if (step_ != Step::Delete)
        return;
    QTreeWidget *tree = ui_->TreeView1;
    LoadingTree = true;
    for (int r = 0; r < 2; ++r) {
        QTreeWidgetItem *root = tree->topLevelItem(r);
        for (int i = root->childCount() - 1; i >= 0; --i) {
            if (root->child(i)->data(0, UidRole).toString() == deleteUid_)
                delete root->takeChild(i);
        }
    }
    LoadingTree = false;
    endSteps(QStringLiteral("The message was deleted."));
}

// ---- clipboard and events

void TEMail1::Copy1Click()
{
    if (auto *line = qobject_cast<QLineEdit *>(popupTarget_.data()))
        line->copy();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(popupTarget_.data()))
        text->copy();
}

void TEMail1::Cut1Click()
{
    if (auto *line = qobject_cast<QLineEdit *>(popupTarget_.data()))
        line->cut();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(popupTarget_.data()))
        text->cut();
}

void TEMail1::Paste1Click()
{
    if (auto *line = qobject_cast<QLineEdit *>(popupTarget_.data()))
        line->paste();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(popupTarget_.data()))
        text->paste();
}

bool TEMail1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui_->Frame1 && event->type() == QEvent::Resize)
        FormResize();
    if (watched == ui_->Text5 && event->type() == QEvent::MouseButtonDblClick) {
        Text5DblClick();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        if (watched == ui_->TreeView1) {
            treeKeyDelete();
            return true;
        }
        if (watched == ui_->ListBox1 || watched == ui_->ListBox2) {
            listKeyDelete(watched == ui_->ListBox2);
            return true;
        }
    }
    return TDialogForm::eventFilter(watched, event);
}
