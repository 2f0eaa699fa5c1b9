#pragma once

#include "mail/MailAccount.h"
#include "shell/DialogForm.h"

#include <memory>

class Ask;
class ProgramData;

namespace Ui {
class TMailAcct1;
}

// Where mail comes from and goes to: the sign-on settings the mail system would otherwise ask
// for itself. Keeps them in MailAccount.Ini; the password never passes through here.
class TMailAcct1 : public TDialogForm
{
    Q_OBJECT
public:
    TMailAcct1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TMailAcct1() override;

    void InitColors();
    // The account as the fields show it.
    MailAccount account() const;
    void setAccount(const MailAccount &account);
    void OKBtnClick();

signals:
    // A changed account was saved: a session signed on with the old one must sign on again.
    void accountChanged();

protected:
    void FormShow() override;

private:
    void connectControls();
    void MaildirBtnClick();
    void showKinds();
    void followSecurity(bool incoming);

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TMailAcct1> ui_;
    int inSecurityShown_ = 0;
    int outSecurityShown_ = 0;
};
