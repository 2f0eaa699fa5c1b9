#pragma once

#include "mail/MailTypes.h"

#include <QList>
#include <QObject>
#include <QString>

class MailSession;

// The messages control of the mail system: the message set of the last fetch, the current
// message, and the compose buffer. Reading a property never touches the network; Fetch,
// Download, MarkRead, Send and Delete are queued on the mail thread and answer by signal.
//
// The Msg*, Recip* and Attachment* properties read the current message: a fetched one when
// MsgIndex is 0 or more, the compose buffer when it is -1 (after Compose). Writing them always
// fills the compose buffer, so a fetched message is never changed by accident.
class MailMessages : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 SessionID READ SessionID WRITE setSessionID)
    Q_PROPERTY(bool FetchUnreadOnly READ FetchUnreadOnly WRITE setFetchUnreadOnly)
    Q_PROPERTY(int MsgCount READ MsgCount)
    Q_PROPERTY(int MsgIndex READ MsgIndex WRITE setMsgIndex)
    Q_PROPERTY(QString MsgOrigDisplayName READ MsgOrigDisplayName)
    Q_PROPERTY(QString MsgOrigAddress READ MsgOrigAddress)
    Q_PROPERTY(QString MsgSubject READ MsgSubject WRITE setMsgSubject)
    Q_PROPERTY(QString MsgNoteText READ MsgNoteText WRITE setMsgNoteText)
    Q_PROPERTY(QString MsgDateReceived READ MsgDateReceived)
    Q_PROPERTY(QString RecipAddress READ RecipAddress WRITE setRecipAddress)
    Q_PROPERTY(QString RecipDisplayName READ RecipDisplayName WRITE setRecipDisplayName)
    Q_PROPERTY(int AttachmentCount READ AttachmentCount)
    Q_PROPERTY(int AttachmentIndex READ AttachmentIndex WRITE setAttachmentIndex)
    Q_PROPERTY(QString AttachmentPathName READ AttachmentPathName WRITE setAttachmentPathName)
    Q_PROPERTY(int AttachmentType READ AttachmentType WRITE setAttachmentType)
public:
    explicit MailMessages(MailSession *session, QObject *parent = nullptr);

    qint64 SessionID() const { return sessionId_; }
    void setSessionID(qint64 id) { sessionId_ = id; }
    bool FetchUnreadOnly() const { return fetchUnreadOnly_; }
    void setFetchUnreadOnly(bool on) { fetchUnreadOnly_ = on; }
    int MsgCount() const { return int(messages_.size()); }
    int MsgIndex() const { return msgIndex_; }
    // -1 or 0 .. MsgCount - 1; anything else is ignored. The attachment index goes back to 0.
    void setMsgIndex(int index);

    QString MsgOrigDisplayName() const { return current().origDisplayName; }
    QString MsgOrigAddress() const { return current().origAddress; }
    QString MsgSubject() const { return current().subject; }
    void setMsgSubject(const QString &text) { compose_.subject = text; }
    // Empty until the current message has been downloaded.
    QString MsgNoteText() const { return current().noteText; }
    void setMsgNoteText(const QString &text) { compose_.noteText = text; }
    // The received date in the user's short date and long time format.
    QString MsgDateReceived() const;
    QDateTime msgDateReceivedTime() const { return current().dateReceived; }
    bool msgUnread() const { return current().unread; }
    // The server's name for the current message, which stays the same while others come and go.
    QString msgUid() const { return current().uid; }
    bool msgDownloaded() const { return msgIndex_ < 0 || current().downloaded; }
    QString RecipAddress() const { return current().recipAddress; }
    void setRecipAddress(const QString &address) { compose_.recipAddress = address; }
    QString RecipDisplayName() const { return current().recipDisplayName; }
    void setRecipDisplayName(const QString &name) { compose_.recipDisplayName = name; }

    int AttachmentCount() const;
    int AttachmentIndex() const { return attachmentIndex_; }
    void setAttachmentIndex(int index) { attachmentIndex_ = qMax(0, index); }
    // A received message: the file its attachment was stored in (after Download).
    QString AttachmentPathName() const;
    // Puts a file at AttachmentIndex of the compose buffer.
    void setAttachmentPathName(const QString &path);
    int AttachmentType() const { return attachmentType_; }
    void setAttachmentType(int type) { attachmentType_ = type; }

    // The sender of what Send sends (the From address); the account's user name when blank.
    void setSenderAddress(const QString &address) { senderAddress_ = address; }

    // Empties the compose buffer and makes it the current message.
    void Compose();
    // Replaces the message set with the mailbox's messages (only the unread ones with
    // FetchUnreadOnly); headers only, nothing is marked read. fetched or failed follows.
    void Fetch();
    // Fetches the text and attachments of a message without marking it read.
    void Download(int index);
    // Marks a message read on the server, as when it is shown.
    void MarkRead(int index);
    // Sends the compose buffer to its recipient: sent or failed follows.
    void Send();
    // Deletes the current fetched message on the server: deleted or failed follows.
    void Delete();

signals:
    void fetched(int count);
    void downloaded(int index);
    void markedRead(int index);
    void sent(const QString &recipient);
    void deleted(int index);
    void failed(MailOperation operation, const QString &message);

private:
    const MailMessageInfo &current() const;
    bool signedOn(MailOperation operation);
    int indexOf(const QString &uid) const;
    void onFetched(const QList<MailMessageInfo> &messages);
    void onDownloaded(const MailMessageInfo &message);
    void onMarkedRead(const QString &uid);
    void onRemoved(const QString &uid);
    template <typename Step> void queue(Step step);

    MailSession *session_;
    qint64 sessionId_ = 0;
    bool fetchUnreadOnly_ = false;
    QList<MailMessageInfo> messages_;
    int msgIndex_ = -1;
    MailMessageInfo compose_;
    int attachmentIndex_ = 0;
    int attachmentType_ = 0;
    QString senderAddress_;
};
