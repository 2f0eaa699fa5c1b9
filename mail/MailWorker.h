#pragma once

#include "mail/MailAccount.h"
#include "mail/MailCertificateVerifier.h"
#include "mail/MailTimeoutFactory.h"
#include "mail/MailTypes.h"

#include <QObject>
#include <functional>
#include <memory>

namespace vmime::net {
class session;
class store;
class transport;
class folder;
class messageSet;
} // namespace vmime::net

// Does the talking to the mail servers on the mail thread, one step at a time, each step under
// the time-outs and the cancel of MailTimeoutFactory. Every step ends in exactly one result or
// failure signal, then stepFinished.
class MailWorker : public QObject
{
    Q_OBJECT
public:
    MailWorker(std::shared_ptr<MailTimeoutFactory::Control> control,
               MailCertificateVerifier::Ask askCertificate);
    ~MailWorker() override;

    // Each step is queued with the cancel epoch of the moment it was asked for.
    void signOn(const MailAccount &account, const QString &password, quint64 epoch);
    void signOff();
    void fetch(quint64 epoch);
    void download(const QString &uid, const QString &folder, quint64 epoch);
    void markRead(const QString &uid, quint64 epoch);
    void send(const MailOutgoing &outgoing, quint64 epoch);
    void remove(const QString &uid, quint64 epoch);

signals:
    void signedOn();
    // passwordRefused: the server said the user name or password is wrong.
    void signOnFailed(const QString &message, bool passwordRefused);
    // The connection broke (or was given up after a time-out or cancel): sign on again.
    void connectionLost();
    void fetched(const QList<MailMessageInfo> &messages);
    void downloaded(const MailMessageInfo &message);
    void markedRead(const QString &uid);
    void sent(const QString &recipient);
    void removed(const QString &uid);
    void failed(MailOperation operation, const QString &message);
    void stepFinished();

private:
    template <typename Work>
    void run(MailOperation operation, quint64 epoch, Work work, const QString &context = {});
    void fail(MailOperation operation, const std::exception &e, const QString &context);
    QString describeFailure(const std::exception &e) const;
    void dropConnections();
    void dropTransport();
    std::shared_ptr<vmime::net::folder> inbox();
    vmime::net::messageSet messageByUid(const QString &uid);
    void connectTransport();

    std::shared_ptr<MailTimeoutFactory::Control> control_;
    std::shared_ptr<MailTimeoutFactory> timeouts_;
    std::shared_ptr<MailCertificateVerifier> verifier_;
    MailAccount account_;
    QString password_;
    std::shared_ptr<vmime::net::session> session_;
    std::shared_ptr<vmime::net::store> store_;
    std::shared_ptr<vmime::net::folder> folder_;
    std::shared_ptr<vmime::net::transport> transport_;
};
