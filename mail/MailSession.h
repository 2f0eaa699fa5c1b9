#pragma once

#include "mail/MailAccount.h"
#include "mail/MailTimeoutFactory.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

class MailWorker;
class PasswordStore;

// The session control of the mail system: signs on to the account of MailAccount.Ini with the
// password from the PasswordStore and keeps the connection on the mail thread. Nothing here
// waits on the network: results come as signals, and every step can be cancelled.
class MailSession : public QObject
{
    Q_OBJECT
    // Non-zero while signed on; a new number for each sign-on.
    Q_PROPERTY(qint64 SessionID READ SessionID NOTIFY sessionIDChanged)
    Q_PROPERTY(bool NewSession READ NewSession WRITE setNewSession)
public:
    // Answers a yes/no question about a server certificate; called on the user interface thread.
    using CertificateQuestion = std::function<bool(const QString &question)>;

    MailSession(const QString &appDir, PasswordStore *passwords, QObject *parent = nullptr);
    ~MailSession() override;

    void setCertificateQuestion(CertificateQuestion ask) { certificateQuestion_ = std::move(ask); }
    // How long a server may stay silent before a step is given up (30 s unless set).
    void setTimeout(int milliseconds);
    int timeout() const;

    QString appDir() const { return appDir_; }
    // The folder where the attachments of the message with this id are stored.
    QString attachmentFolder(const QString &uid) const;

    qint64 SessionID() const { return sessionId_; }
    bool NewSession() const { return newSession_; }
    void setNewSession(bool on) { newSession_ = on; }

    // Reads the account and signs on: signedOn or signOnFailed follows.
    void SignOn();
    void SignOff();
    // Gives up the step under way and those queued; each ends with a "Cancelled." failure.
    void Cancel();
    // True while a step is under way or queued (the window shows progress and a Cancel).
    bool isBusy() const { return pendingSteps_ > 0; }

    // For MailMessages: the worker on the mail thread and the cancel epoch to queue steps with.
    MailWorker *worker() const { return worker_; }
    quint64 epoch() const { return control_->cancelEpoch.load(); }
    void stepQueued();

signals:
    void sessionIDChanged(qint64 sessionId);
    void signedOn(qint64 sessionId);
    void signOnFailed(const QString &message);
    void signedOff();
    void busyChanged(bool busy);

private:
    void passwordReady(const QString &accountKey, const QString &password);
    void passwordUnavailable(const QString &accountKey, const QString &reason);
    void workerSignedOn();
    void workerSignOnFailed(const QString &message, bool passwordRefused);
    void connectionLost();
    void stepFinished();
    void setSessionId(qint64 id);
    bool askOnUiThread(const QString &question);

    QString appDir_;
    PasswordStore *passwords_;
    std::shared_ptr<MailTimeoutFactory::Control> control_;
    QThread thread_;
    MailWorker *worker_ = nullptr;
    CertificateQuestion certificateQuestion_;
    MailAccount account_;
    QString awaitedPasswordKey_;
    bool signingOn_ = false;
    quint64 signOnEpoch_ = 0;
    qint64 sessionId_ = 0;
    qint64 lastSessionId_ = 0;
    bool newSession_ = false;
    int pendingSteps_ = 0;
};
