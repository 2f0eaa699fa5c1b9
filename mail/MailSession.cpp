#include "mail/MailSession.h"

#include "mail/MailWorker.h"
#include "mail/PasswordStore.h"
#include "mail/SafeFileName.h"

#include <QDir>
#include <future>

MailSession::MailSession(const QString &appDir, PasswordStore *passwords, QObject *parent)
    : QObject(parent), appDir_(appDir), passwords_(passwords),
      control_(std::make_shared<MailTimeoutFactory::Control>())
{
    qRegisterMetaType<MailMessageInfo>();
    qRegisterMetaType<QList<MailMessageInfo>>();
    qRegisterMetaType<MailOutgoing>();
    qRegisterMetaType<MailOperation>();
    worker_ = new MailWorker(control_, [this](const QString &q) { return askOnUiThread(q); });
    worker_->moveToThread(&thread_);
    // Deleted on its own thread, where its connections were made, as the thread ends.
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("mail"));
    thread_.start();
    connect(passwords_, &PasswordStore::passwordReady, this, &MailSession::passwordReady);
    connect(passwords_, &PasswordStore::passwordUnavailable, this,
            &MailSession::passwordUnavailable);
    connect(worker_, &MailWorker::signedOn, this, &MailSession::workerSignedOn);
    connect(worker_, &MailWorker::signOnFailed, this, &MailSession::workerSignOnFailed);
    connect(worker_, &MailWorker::connectionLost, this, &MailSession::connectionLost);
    connect(worker_, &MailWorker::stepFinished, this, &MailSession::stepFinished);
}

MailSession::~MailSession()
{
    // Whatever the worker waits on gives up at once, so the thread ends without delay.
    ++control_->cancelEpoch;
    thread_.quit();
    thread_.wait();
}

void MailSession::setTimeout(int milliseconds)
{
    control_->limitMs = milliseconds;
}

int MailSession::timeout() const
{
    return int(control_->limitMs.load());
}

QString MailSession::attachmentFolder(const QString &uid) const
{
    return appDir_ + QStringLiteral("/Mail/") + SafeFileName::make(account_.key()) + u'/' +
           SafeFileName::make(uid);
}

void MailSession::SignOn()
{
    if (signingOn_)
        return;
    account_ = MailAccount::load(appDir_);
    if (!account_.isComplete()) {
        emit signOnFailed(tr("The mail account is not set up."));
        return;
    }
    signingOn_ = true;
    signOnEpoch_ = epoch(); // a Cancel while the password is asked for ends the sign-on too
    stepQueued();           // the sign-on counts as busy from the password question on
    if (!account_.needsPassword()) {
        passwordReady(account_.key(), QString());
        return;
    }
    awaitedPasswordKey_ = account_.key();
    passwords_->request(awaitedPasswordKey_);
}

void MailSession::passwordReady(const QString &accountKey, const QString &password)
{
    if (!signingOn_ || accountKey != account_.key())
        return;
    awaitedPasswordKey_.clear();
    const MailAccount account = account_;
    const quint64 epoch = signOnEpoch_;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, account, password, epoch] { w->signOn(account, password, epoch); });
}

void MailSession::passwordUnavailable(const QString &accountKey, const QString &reason)
{
    if (!signingOn_ || accountKey != awaitedPasswordKey_)
        return;
    awaitedPasswordKey_.clear();
    signingOn_ = false;
    stepFinished();
    emit signOnFailed(reason);
}

void MailSession::workerSignedOn()
{
    signingOn_ = false;
    passwords_->accept(account_.key());
    setSessionId(++lastSessionId_);
    emit signedOn(sessionId_);
}

void MailSession::workerSignOnFailed(const QString &message, bool passwordRefused)
{
    signingOn_ = false;
    if (passwordRefused)
        passwords_->reject(account_.key());
    setSessionId(0);
    emit signOnFailed(message);
}

void MailSession::SignOff()
{
    stepQueued();
    QMetaObject::invokeMethod(worker_, [w = worker_] { w->signOff(); });
    setSessionId(0);
    emit signedOff();
}

void MailSession::Cancel()
{
    ++control_->cancelEpoch;
}

void MailSession::connectionLost()
{
    if (sessionId_ == 0)
        return;
    setSessionId(0);
    emit signedOff();
}

void MailSession::stepQueued()
{
    if (++pendingSteps_ == 1)
        emit busyChanged(true);
}

void MailSession::stepFinished()
{
    if (pendingSteps_ > 0 && --pendingSteps_ == 0)
        emit busyChanged(false);
}

void MailSession::setSessionId(qint64 id)
{
    if (sessionId_ == id)
        return;
    sessionId_ = id;
    emit sessionIDChanged(id);
}

bool MailSession::askOnUiThread(const QString &question)
{
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> future = answer->get_future();
    QMetaObject::invokeMethod(this, [this, question, answer] {
        answer->set_value(certificateQuestion_ && certificateQuestion_(question));
    });
    // Waits in short steps so that a Cancel, or the session going away, ends the wait.
    while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (control_->cancelled())
            return false;
    }
    try {
        return future.get();
    } catch (const std::future_error &) {
        return false;
    }
}
