#include "mail/MailAccountDialog.h"

#include "app/Ask.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "ui_MailAccountDialog.h"

#include <QPushButton>

namespace {

using Security = MailAccount::Security;

int defaultPort(MailAccount::Incoming kind, Security security)
{
    const bool tls = security == Security::Tls;
    if (kind == MailAccount::Incoming::Pop3)
        return tls ? 995 : 110;
    return tls ? 993 : 143;
}

int defaultSmtpPort(Security security)
{
    return security == Security::Tls ? 465 : 587;
}

} // namespace

TMailAcct1::TMailAcct1(ProgramData &data, Ask &ask, QWidget *parent)
    : TDialogForm(parent, Qt::Dialog), data_(data), ask_(ask),
      ui_(std::make_unique<Ui::TMailAcct1>())
{
    ui_->setupUi(this);
    connectControls();
}

TMailAcct1::~TMailAcct1() = default;

void TMailAcct1::connectControls()
{
    connect(ui_->ButtonBox, &QDialogButtonBox::accepted, this, &TMailAcct1::OKBtnClick);
    connect(ui_->ButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui_->MaildirBtn, &QToolButton::clicked, this, &TMailAcct1::MaildirBtnClick);
    connect(ui_->InKind, &QComboBox::activated, this, [this] {
        followSecurity(true);
        showKinds();
    });
    connect(ui_->OutKind, &QComboBox::activated, this, &TMailAcct1::showKinds);
    connect(ui_->InSecurity, &QComboBox::activated, this, [this] { followSecurity(true); });
    connect(ui_->OutSecurity, &QComboBox::activated, this, [this] { followSecurity(false); });
    connect(&data_, &ProgramData::settingsChanged, this, &TMailAcct1::InitColors);
}

void TMailAcct1::FormShow()
{
    InitColors();
    setAccount(MailAccount::load(data_.appDir()));
}

void TMailAcct1::InitColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applySelectColors(this, g);
    for (QWidget *entry :
         {static_cast<QWidget *>(ui_->InHost), static_cast<QWidget *>(ui_->InPort),
          static_cast<QWidget *>(ui_->UserName), static_cast<QWidget *>(ui_->MaildirPath),
          static_cast<QWidget *>(ui_->OutHost), static_cast<QWidget *>(ui_->OutPort),
          static_cast<QWidget *>(ui_->SendmailPath)})
        ApplyScheme::applyEntryColors(entry, g);
}

void TMailAcct1::setAccount(const MailAccount &a)
{
    ui_->InKind->setCurrentIndex(int(a.incoming));
    ui_->InHost->setText(a.incomingHost);
    ui_->InPort->setValue(a.incomingPort);
    ui_->InSecurity->setCurrentIndex(int(a.incomingSecurity));
    ui_->UserName->setText(a.userName);
    ui_->MaildirPath->setText(a.maildirPath);
    ui_->OutKind->setCurrentIndex(int(a.outgoing));
    ui_->OutHost->setText(a.smtpHost);
    ui_->OutPort->setValue(a.smtpPort);
    ui_->OutSecurity->setCurrentIndex(int(a.smtpSecurity));
    ui_->OutLogin->setChecked(a.smtpNeedsLogin);
    ui_->SendmailPath->setText(a.sendmailPath);
    inSecurityShown_ = ui_->InSecurity->currentIndex();
    outSecurityShown_ = ui_->OutSecurity->currentIndex();
    showKinds();
}

MailAccount TMailAcct1::account() const
{
    MailAccount a;
    a.incoming = MailAccount::Incoming(ui_->InKind->currentIndex());
    a.incomingHost = ui_->InHost->text().trimmed();
    a.incomingPort = ui_->InPort->value();
    a.incomingSecurity = Security(ui_->InSecurity->currentIndex());
    a.userName = ui_->UserName->text().trimmed();
    a.maildirPath = ui_->MaildirPath->text().trimmed();
    a.outgoing = MailAccount::Outgoing(ui_->OutKind->currentIndex());
    a.smtpHost = ui_->OutHost->text().trimmed();
    a.smtpPort = ui_->OutPort->value();
    a.smtpSecurity = Security(ui_->OutSecurity->currentIndex());
    a.smtpNeedsLogin = ui_->OutLogin->isChecked();
    a.sendmailPath = ui_->SendmailPath->text().trimmed();
    return a;
}

void TMailAcct1::showKinds()
{
    const bool maildir = ui_->InKind->currentIndex() == int(MailAccount::Incoming::Maildir);
    for (QWidget *w : {static_cast<QWidget *>(ui_->InHost), static_cast<QWidget *>(ui_->InPort),
                       static_cast<QWidget *>(ui_->InSecurity)})
        w->setEnabled(!maildir);
    ui_->MaildirPath->setEnabled(maildir);
    ui_->MaildirBtn->setEnabled(maildir);
    ui_->MaildirNote->setEnabled(maildir);
    const bool smtp = ui_->OutKind->currentIndex() == int(MailAccount::Outgoing::Smtp);
    for (QWidget *w :
         {static_cast<QWidget *>(ui_->OutHost), static_cast<QWidget *>(ui_->OutPort),
          static_cast<QWidget *>(ui_->OutSecurity), static_cast<QWidget *>(ui_->OutLogin)})
        w->setEnabled(smtp);
    ui_->SendmailPath->setEnabled(!smtp);
}

// A port left at the usual number for the old security follows the new one; a port the user
// typed stays.
void TMailAcct1::followSecurity(bool incoming)
{
    if (incoming) {
        const auto kind = MailAccount::Incoming(ui_->InKind->currentIndex());
        const int shown = ui_->InSecurity->currentIndex();
        for (auto k : {MailAccount::Incoming::Imap, MailAccount::Incoming::Pop3}) {
            if (ui_->InPort->value() == defaultPort(k, Security(inSecurityShown_)))
                ui_->InPort->setValue(defaultPort(kind, Security(shown)));
        }
        inSecurityShown_ = shown;
        return;
    }
    const int shown = ui_->OutSecurity->currentIndex();
    if (ui_->OutPort->value() == defaultSmtpPort(Security(outSecurityShown_)))
        ui_->OutPort->setValue(defaultSmtpPort(Security(shown)));
    outSecurityShown_ = shown;
}

void TMailAcct1::MaildirBtnClick()
{
    const QString folder =
        ask_.folder(QStringLiteral("Find the Mail Folder"), ui_->MaildirPath->text());
    if (!folder.isEmpty())
        ui_->MaildirPath->setText(folder);
}

void TMailAcct1::OKBtnClick()
{
    const MailAccount a = account();
    if (!a.isComplete()) {
        ask_.error(a.incoming == MailAccount::Incoming::Maildir
                       ? QStringLiteral("Please fill in the Mail Folder and how mail is sent.")
                       : QStringLiteral("Please fill in the Server and the User Name of the "
                                        "incoming mail, and how mail is sent."));
        return;
    }
    const bool changed = !(a == MailAccount::load(data_.appDir()));
    if (const auto error = a.save(data_.appDir())) {
        ask_.error(QStringLiteral("The EMail account could not be saved.\n") + *error);
        return;
    }
    accept();
    if (changed)
        emit accountChanged();
}
