#pragma once

#include "shell/DialogForm.h"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class Ask;
class MailMessages;
class ProgramData;
class QAction;
class QMenu;
class QTreeWidgetItem;
class TMailAcct1;
class TMailAddr1;
enum class MailOperation;

namespace Ui {
class TEMail1;
}

// The mail window: sends the files on its attachment list, zipped into one archive, to each
// address of the To text, keeps a log of the files sent, and receives and shows messages,
// unpacking a received archive. Every network step runs on the mail thread; the window shows
// its progress and offers a Cancel instead of waiting.
class TEMail1 : public TDialogForm
{
    Q_OBJECT
public:
    TEMail1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TEMail1() override;

    // The address book that the Contacts and Add buttons open; it fills the To box.
    void setAddressBook(TMailAddr1 *book);
    TMailAcct1 *accountDialog() const { return accountDialog_; }
    MailMessages &messages() const { return *messages_; }
    // True while a network step, a zip or an unzip is under way.
    bool isBusy() const { return step_ != Step::None; }
    // The folder the attachment list's bare names are in, after an archive was unpacked.
    QString extractionFolder() const { return extractionFolder_; }

    qint64 OpenSessionId = -1;
    QString ZipFileName;
    bool ShowingAttachments = true;
    bool LoadingTree = false;

    void InitColors();
    void SRModeBtnClick();
    void PreparetoSend();
    void SendBtnClick();
    void RecvBtnClick();
    void LoadMessageTree();
    void ShowSelectedMessage();
    void GetMessage();
    int ToAddressIndex(const QString &address) const;
    void AllToBtnClick();
    void OpenAttBtnClick();
    void OpnMsgBtnClick();
    void Text5DblClick();
    void EMLogBtnClick();
    void ReplyBtnClick();
    void ForwardBtnClick();
    void GoBtnClick();
    void ListBox1DblClick();
    void HelpBtnClick();
    void AddrBtnClick();
    void AddrAddBtnClick();
    void AcctBtnClick();
    void CancelBtnClick();
    void Copy1Click();
    void Cut1Click();
    void Paste1Click();

signals:
    // An attachment or an address to open in a browser window (the main window's OpenPage).
    void openPageRequested(const QString &address);
    // The last step of a command ended, well or not; the status line says how.
    void idle();

protected:
    void FormShow() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Step {
        None,
        SignOn,
        FetchUnread,
        FetchAll,
        Download,
        Extract,
        Zip,
        Send,
        Reply,
        Delete
    };

    void setUpButtons();
    void connectControls();
    void connectMail();
    void makePopupMenu();
    void FormClose();
    void FormResize();
    void addSavedAddresses();
    void GetEMailLog();

    void beginStep(Step step, const QString &status);
    void endSteps(const QString &status);
    void fail(const QString &message, const QString &context = {});
    void withSession(std::function<void()> next);
    void signedOn(qint64 sessionId);
    void signOnFailed(const QString &message);
    void mailFailed(MailOperation operation, const QString &message);

    void fetched(int count);
    void addMessageNodes(QTreeWidgetItem *root, int picture);
    void fillMessage();
    void listAttachments();
    void unpack(const QString &zipPath, const QString &folder);

    void startSending(const QStringList &recipients, const QStringList &files);
    QString zipNameFor(const QStringList &files);
    void sendNext();
    void messageSent();
    void finishSending();
    void sendReply(const QString &address);

    void treeKeyDelete();
    void messageDeleted();
    int absolutePosition(QTreeWidgetItem *item) const;
    bool inSendMode() const;
    QStringList attachments() const;
    void listKeyDelete(bool logList);

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TEMail1> ui_;
    MailMessages *messages_ = nullptr;
    TMailAcct1 *accountDialog_ = nullptr;
    QPointer<TMailAddr1> addressBook_;
    QMenu *popupMenu_ = nullptr;
    QList<QAction *> editActions_;
    QPointer<QWidget> popupTarget_;

    Step step_ = Step::None;
    quint64 generation_ = 0;
    std::function<void()> afterSignOn_;
    QStringList sendQueue_;
    QStringList sendFiles_;
    QStringList sentTo_;
    QString recipient_;
    QString deleteUid_;
    QString extractionFolder_;
};
