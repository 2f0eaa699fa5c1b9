#include "mail/MailMessages.h"

#include "app/LocaleFormat.h"
#include "mail/MailAccount.h"
#include "mail/MailSession.h"
#include "mail/MailWorker.h"

MailMessages::MailMessages(MailSession *session, QObject *parent)
    : QObject(parent), session_(session)
{
    MailWorker *worker = session_->worker();
    connect(worker, &MailWorker::fetched, this, &MailMessages::onFetched);
    connect(worker, &MailWorker::downloaded, this, &MailMessages::onDownloaded);
    connect(worker, &MailWorker::markedRead, this, &MailMessages::onMarkedRead);
    connect(worker, &MailWorker::removed, this, &MailMessages::onRemoved);
    connect(worker, &MailWorker::sent, this, &MailMessages::sent);
    connect(worker, &MailWorker::failed, this, &MailMessages::failed);
}

void MailMessages::setMsgIndex(int index)
{
    if (index < -1 || index >= MsgCount())
        return;
    msgIndex_ = index;
    attachmentIndex_ = 0;
}

const MailMessageInfo &MailMessages::current() const
{
    return msgIndex_ >= 0 && msgIndex_ < messages_.size() ? messages_.at(msgIndex_) : compose_;
}

QString MailMessages::MsgDateReceived() const
{
    const QDateTime when = current().dateReceived;
    return when.isValid() ? LocaleFormat::dateTime(when) : QString();
}

int MailMessages::AttachmentCount() const
{
    const QStringList &paths = current().attachmentPaths;
    return int(
        std::count_if(paths.begin(), paths.end(), [](const QString &p) { return !p.isEmpty(); }));
}

QString MailMessages::AttachmentPathName() const
{
    return current().attachmentPaths.value(attachmentIndex_);
}

void MailMessages::setAttachmentPathName(const QString &path)
{
    while (compose_.attachmentPaths.size() <= attachmentIndex_)
        compose_.attachmentPaths.append(QString());
    compose_.attachmentPaths[attachmentIndex_] = path;
}

void MailMessages::Compose()
{
    compose_ = {};
    msgIndex_ = -1;
    attachmentIndex_ = 0;
    attachmentType_ = 0;
}

bool MailMessages::signedOn(MailOperation operation)
{
    if (sessionId_ != 0 && sessionId_ == session_->SessionID())
        return true;
    emit failed(operation, tr("Not signed on to the mail system."));
    return false;
}

template <typename Step> void MailMessages::queue(Step step)
{
    session_->stepQueued();
    QMetaObject::invokeMethod(session_->worker(), std::move(step));
}

void MailMessages::Fetch()
{
    if (!signedOn(MailOperation::Fetch))
        return;
    queue([w = session_->worker(), epoch = session_->epoch()] { w->fetch(epoch); });
}

void MailMessages::onFetched(const QList<MailMessageInfo> &messages)
{
    messages_.clear();
    for (const MailMessageInfo &m : messages) {
        if (!fetchUnreadOnly_ || m.unread)
            messages_.append(m);
    }
    msgIndex_ = messages_.isEmpty() ? -1 : 0;
    attachmentIndex_ = 0;
    emit fetched(MsgCount());
}

void MailMessages::Download(int index)
{
    if (!signedOn(MailOperation::Download))
        return;
    if (index < 0 || index >= MsgCount()) {
        emit failed(MailOperation::Download, tr("There is no message %1.").arg(index));
        return;
    }
    const QString uid = messages_.at(index).uid;
    queue([w = session_->worker(), uid, folder = session_->attachmentFolder(uid),
           epoch = session_->epoch()] { w->download(uid, folder, epoch); });
}

void MailMessages::onDownloaded(const MailMessageInfo &message)
{
    const int index = indexOf(message.uid);
    if (index < 0)
        return;
    MailMessageInfo &kept = messages_[index];
    kept.noteText = message.noteText;
    kept.attachmentPaths = message.attachmentPaths;
    kept.downloaded = true;
    emit downloaded(index);
}

void MailMessages::MarkRead(int index)
{
    if (!signedOn(MailOperation::MarkRead) || index < 0 || index >= MsgCount())
        return;
    queue([w = session_->worker(), uid = messages_.at(index).uid, epoch = session_->epoch()] {
        w->markRead(uid, epoch);
    });
}

void MailMessages::onMarkedRead(const QString &uid)
{
    const int index = indexOf(uid);
    if (index < 0)
        return;
    messages_[index].unread = false;
    emit markedRead(index);
}

void MailMessages::Send()
{
    if (!signedOn(MailOperation::Send))
        return;
    MailOutgoing outgoing;
    outgoing.senderAddress = senderAddress_.trimmed().isEmpty()
                                 ? MailAccount::load(session_->appDir()).userName
                                 : senderAddress_;
    outgoing.recipAddress = compose_.recipAddress;
    outgoing.recipDisplayName = compose_.recipDisplayName;
    outgoing.subject = compose_.subject;
    outgoing.noteText = compose_.noteText;
    for (const QString &path : compose_.attachmentPaths) {
        if (!path.isEmpty())
            outgoing.attachmentPaths.append(path);
    }
    queue([w = session_->worker(), outgoing, epoch = session_->epoch()] {
        w->send(outgoing, epoch);
    });
}

void MailMessages::Delete()
{
    if (!signedOn(MailOperation::Delete))
        return;
    if (msgIndex_ < 0 || msgIndex_ >= MsgCount()) {
        emit failed(MailOperation::Delete, tr("No message is selected."));
        return;
    }
    queue([w = session_->worker(), uid = messages_.at(msgIndex_).uid, epoch = session_->epoch()] {
        w->remove(uid, epoch);
    });
}

void MailMessages::onRemoved(const QString &uid)
{
    const int index = indexOf(uid);
    if (index < 0)
        return;
    messages_.removeAt(index);
    if (msgIndex_ >= MsgCount())
        msgIndex_ = MsgCount() - 1;
    attachmentIndex_ = 0;
    emit deleted(index);
}

int MailMessages::indexOf(const QString &uid) const
{
    for (int i = 0; i < messages_.size(); ++i) {
        if (messages_.at(i).uid == uid)
            return i;
    }
    return -1;
}
